// Tables generated from the opcode list.
#include "vbscript/opcodes.h"

#include <cstring>

namespace taviro::vbscript {

namespace {
constexpr int OperandBytes(const char* layout) {
    int bytes = 0;
    for (; *layout; ++layout) bytes += *layout == 'w' ? 4 : *layout == 'h' ? 2 : 1;
    return bytes;
}

constexpr const char* kNames[] = {
#define VBS_OPCODE_NAME(name, operands) #name,
    VBS_OPCODES(VBS_OPCODE_NAME)
#undef VBS_OPCODE_NAME
};

constexpr int kSizes[] = {
#define VBS_OPCODE_SIZE(name, operands) 1 + OperandBytes(operands),
    VBS_OPCODES(VBS_OPCODE_SIZE)
#undef VBS_OPCODE_SIZE
};
}  // namespace

const char* OpName(Op op) { return kNames[static_cast<int>(op)]; }

int InstructionSize(Op op) { return kSizes[static_cast<int>(op)]; }

}  // namespace taviro::vbscript
