// The instruction set of the virtual machine, written once. Each entry is
// X(name, operands) where operands spells the operand layout: h = 16-bit, w = 32-bit, b = 8-bit.
// Comments give the stack effect: what an instruction pops -> what it pushes.
#pragma once

#include <cstdint>

#define VBS_OPCODES(X)                                                                              \
    X(PushEmpty, "")    /* -> Empty */                                                              \
    X(PushNull, "")     /* -> Null */                                                               \
    X(PushNothing, "")  /* -> Nothing */                                                            \
    X(PushTrue, "")     /* -> True */                                                               \
    X(PushFalse, "")    /* -> False */                                                              \
    X(PushMissing, "")  /* -> an omitted argument */                                                \
    X(PushInteger, "h") /* -> Integer operand */                                                    \
    X(PushConst, "h")   /* -> constants[operand] */                                                 \
    X(Pop, "")          /* value -> */                                                              \
    X(LoadLocal, "h")   /* -> local */                                                              \
    X(StoreLocal, "h")  /* value -> ; Let assignment */                                             \
    X(SetLocal, "h")    /* object -> ; Set assignment */                                            \
    X(RefLocal, "h")    /* -> reference to the local */                                             \
    X(StoreHidden, "h") /* value -> ; raw store into a compiler temporary */                        \
    X(LoadGlobal, "h")  /* -> global (a procedure name calls it) */                                 \
    X(StoreGlobal, "h")                                                                             \
    X(SetGlobal, "h")                                                                               \
    X(RefGlobal, "h")                                                                               \
    X(LoadDynamic, "hh") /* a name unknown when compiled: a global if one exists, else the local */ \
    X(StoreDynamic, "hh")                                                                           \
    X(SetDynamic, "hh")                                                                             \
    X(RefDynamic, "hh")                                                                             \
    X(LoadOuter, "h") /* Execute/Eval text run in a procedure: a local of that procedure */         \
    X(StoreOuter, "h")                                                                              \
    X(SetOuter, "h")                                                                                \
    X(RefOuter, "h")                                                                                \
    X(CallOuter, "hhb")                                                                             \
    X(LoadField, "h") /* -> field of Me */                                                          \
    X(StoreField, "h")                                                                              \
    X(SetField, "h")                                                                                \
    X(RefField, "h")                                                                                \
    X(LoadMe, "")        /* -> Me */                                                                \
    X(CallLocal, "hhb")  /* args -> element or default member; b: push a reference to an element */ \
    X(CallGlobal, "hhb") /* args -> result of a procedure, element or default member */             \
    X(CallDynamic, "hhhb")                                                                          \
    X(CallField, "hhb")                                                                             \
    X(CallMe, "hh")     /* args -> result of Me's member by name */                                 \
    X(CallValue, "hb")  /* callee args -> element or default member of a computed value; b: ref */  \
    X(GetMember, "hhh") /* object args -> object.name(args); name, argc, cache */                   \
    X(LetMember, "hhh") /* object args value -> */                                                  \
    X(SetMember, "hhh") /* object args value -> */                                                  \
    X(LetIndexed, "h")  /* reference args value -> ; element or default member assignment */        \
    X(SetIndexed, "h")                                                                              \
    X(NewObject, "h")   /* -> new instance of the class a global names */                           \
    X(NewArray, "hb")   /* upper bounds -> array; b: fixed */                                       \
    X(ReDim, "hb")      /* reference bounds -> ; b: preserve */                                     \
    X(Erase, "")        /* reference -> */                                                          \
    X(AppendLocal, "h") /* text -> ; "x = x & text" for a local, appending in place */              \
    X(AppendGlobal, "h")                                                                            \
    X(Add, "")                                                                                      \
    X(Subtract, "")                                                                                 \
    X(Multiply, "")                                                                                 \
    X(Divide, "")                                                                                   \
    X(IntDivide, "")                                                                                \
    X(Modulo, "")                                                                                   \
    X(Power, "")                                                                                    \
    X(Concat, "")                                                                                   \
    X(Negate, "")                                                                                   \
    X(Not, "")                                                                                      \
    X(And, "")                                                                                      \
    X(Or, "")                                                                                       \
    X(Xor, "")                                                                                      \
    X(Eqv, "")                                                                                      \
    X(Imp, "")                                                                                      \
    X(Is, "")                                                                                       \
    X(Compare, "bb") /* left right -> Boolean; comparison, literal side */                          \
    X(ToValue, "")   /* value -> plain value (objects keep their identity) */                       \
    X(Jump, "w")                                                                                    \
    X(JumpIfFalse, "w")   /* condition -> */                                                        \
    X(JumpIfTrue, "w")    /* condition -> */                                                        \
    X(JumpIfCase, "hhbw") /* -> ; a local against a constant: slot, constant, comparison, jump */   \
    X(ForInit, "hhhw")    /* start limit step -> ; variable reference, limit, step, exit */         \
    X(ForNext, "hhhw")    /* -> ; steps the variable, jumps back to the body while in range */      \
    X(ForEachInit, "hw")  /* collection -> ; enumerator slot, exit */                               \
    X(ForEachNext, "hhw") /* -> ; enumerator slot, variable reference slot, exit */                 \
    X(OnErrorResumeNext, "")                                                                        \
    X(OnErrorGoTo0, "")                                                                             \
    X(Execute, "b") /* text -> ; b: 1 for ExecuteGlobal */                                          \
    X(Eval, "")     /* text -> value */                                                             \
    X(Return, "")

namespace taviro::vbscript {

// Flags of JumpIfCase's comparison byte: the constant is a number written in the code; jump when the
// comparison is not True (False or Null) rather than when it is.
constexpr uint8_t kCaseLiteral = 0x80;
constexpr uint8_t kCaseJumpUnlessTrue = 0x40;

enum class Op : uint8_t {
#define VBS_OPCODE_ENUM(name, operands) name,
    VBS_OPCODES(VBS_OPCODE_ENUM)
#undef VBS_OPCODE_ENUM
};

// The name of an opcode, for disassembly.
const char* OpName(Op op);
// The total size of an instruction with this opcode, in bytes.
int InstructionSize(Op op);

}  // namespace taviro::vbscript
