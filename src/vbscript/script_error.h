// The error a failing script statement or compilation raises, with VBScript's numbers and messages.
#pragma once

#include <cstdint>
#include <string>

namespace taviro::vbscript {

// Run-time and compilation error numbers scripts see in Err.Number.
namespace err {
constexpr int32_t kInvalidProcedureCall = 5;
constexpr int32_t kOverflow = 6;
constexpr int32_t kOutOfMemory = 7;
constexpr int32_t kSubscriptOutOfRange = 9;
constexpr int32_t kArrayFixedOrLocked = 10;
constexpr int32_t kDivisionByZero = 11;
constexpr int32_t kTypeMismatch = 13;
constexpr int32_t kOutOfStringSpace = 14;
constexpr int32_t kOutOfStackSpace = 28;
constexpr int32_t kSubNotDefined = 35;
constexpr int32_t kPermissionDenied = 70;
constexpr int32_t kObjectNotSet = 91;
constexpr int32_t kInvalidUseOfNull = 94;
constexpr int32_t kCannotCreateObject = 429;
constexpr int32_t kObjectRequired = 424;
constexpr int32_t kNoSuchMember = 438;
constexpr int32_t kWrongArgumentCount = 450;
constexpr int32_t kNotACollection = 451;
constexpr int32_t kInvalidPropertyUse = 451;
constexpr int32_t kKeyAlreadyExists = 457;
constexpr int32_t kVariableUndefined = 500;
constexpr int32_t kIllegalAssignment = 501;
constexpr int32_t kClassNotDefined = 506;
constexpr int32_t kRegExpSyntax = 5017;
constexpr int32_t kElementNotFound = 32811;
// A script stopped because it ran longer than the engine's time-out; On Error cannot catch it.
constexpr int32_t kTimeout = static_cast<int32_t>(0x80004004u);

constexpr int32_t kSyntaxError = 1002;
constexpr int32_t kExpectedLeftParen = 1005;
constexpr int32_t kExpectedRightParen = 1006;
constexpr int32_t kExpectedIdentifier = 1010;
constexpr int32_t kExpectedEquals = 1011;
constexpr int32_t kExpectedIf = 1012;
constexpr int32_t kExpectedTo = 1013;
constexpr int32_t kExpectedEnd = 1014;
constexpr int32_t kExpectedFunction = 1015;
constexpr int32_t kExpectedSub = 1016;
constexpr int32_t kExpectedThen = 1017;
constexpr int32_t kExpectedWend = 1018;
constexpr int32_t kExpectedLoop = 1019;
constexpr int32_t kExpectedNext = 1020;
constexpr int32_t kExpectedCase = 1021;
constexpr int32_t kExpectedSelect = 1022;
constexpr int32_t kExpectedExpression = 1023;
constexpr int32_t kExpectedStatement = 1024;
constexpr int32_t kExpectedEndOfStatement = 1025;
constexpr int32_t kExpectedInteger = 1026;
constexpr int32_t kExpectedWhileOrUntil = 1027;
constexpr int32_t kExpectedWith = 1029;
constexpr int32_t kInvalidNumber = 1031;
constexpr int32_t kInvalidCharacter = 1032;
constexpr int32_t kUnterminatedString = 1033;
constexpr int32_t kInvalidUseOfMe = 1037;
constexpr int32_t kLoopWithoutDo = 1038;
constexpr int32_t kInvalidExit = 1039;
constexpr int32_t kInvalidForControl = 1040;
constexpr int32_t kNameRedefinedCompile = 1041;
constexpr int32_t kMustBeFirstStatement = 1042;
constexpr int32_t kCannotUseParensCallingSub = 1044;
constexpr int32_t kExpectedLiteral = 1045;
constexpr int32_t kExpectedIn = 1046;
constexpr int32_t kExpectedClass = 1047;
constexpr int32_t kExpectedLetSetGet = 1049;
constexpr int32_t kExpectedProperty = 1050;
constexpr int32_t kMultipleDefault = 1052;
constexpr int32_t kInitializeHasArguments = 1053;
constexpr int32_t kPropertyNeedsArgument = 1054;
constexpr int32_t kDefaultNeedsPublic = 1057;
}  // namespace err

// The standard message for an error number, or "Unknown runtime error" when there is none.
std::u16string ErrorMessage(int32_t number);

// True for the numbers of compilation errors (1001..1099).
inline bool IsCompileError(int32_t number) { return number > 1000 && number < 1100; }

// Thrown by the lexer, parser, compiler and virtual machine; the engine turns it into its last error.
struct ScriptError {
    int32_t number = 0;
    std::u16string description;
    std::u16string source;
    int32_t line = 0;         // 1-based; 0 until the virtual machine knows the statement
    int32_t column = 0;       // 1-based
    std::u16string helpFile;  // as Err.Raise gave them
    int32_t helpContext = 0;

    ScriptError() = default;
    explicit ScriptError(int32_t n) : number(n), description(ErrorMessage(n)) {}
    ScriptError(int32_t n, std::u16string text) : number(n), description(std::move(text)) {}
};

[[noreturn]] inline void Throw(int32_t number) { throw ScriptError(number); }

}  // namespace taviro::vbscript
