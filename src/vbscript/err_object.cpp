// The Err object's members.
#include "vbscript/err_object.h"

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"

namespace taviro::vbscript {

namespace {
enum Member : DispatchId { kNumber = 0, kDescription, kSource, kHelpFile, kHelpContext, kClear, kRaise };
constexpr std::u16string_view kNames[] = {u"number",      u"description", u"source", u"helpfile",
                                          u"helpcontext", u"clear",       u"raise"};
}  // namespace

DispatchId ErrObject::MemberId(std::u16string_view name) {
    std::u16string folded = FoldCase(name);
    for (DispatchId id = 0; id < static_cast<DispatchId>(std::size(kNames)); ++id) {
        if (kNames[id] == folded) return id;
    }
    return kUnknownMember;
}

const void* ErrObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

void ErrObject::Set(const ScriptError& error) {
    number_ = error.number;
    description_ = error.description;
    source_ = error.source.empty() ? u"Taviro VBScript runtime error" : error.source;
    helpFile_ = error.helpFile;
    helpContext_ = error.helpContext;
}

void ErrObject::Clear() {
    number_ = 0;
    description_.clear();
    source_.clear();
    helpFile_.clear();
    helpContext_ = 0;
}

Variant ErrObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    bool assign = kind != InvokeKind::Get;
    switch (id) {
        case kNumber:
            if (assign) {
                number_ = ToLong(Arg(arguments, arguments.size() - 1));
                return {};
            }
            return Variant(number_);
        case kDescription:
            if (assign) {
                description_ = ToString(Arg(arguments, arguments.size() - 1));
                return {};
            }
            return Variant(description_);
        case kSource:
            if (assign) {
                source_ = ToString(Arg(arguments, arguments.size() - 1));
                return {};
            }
            return Variant(source_);
        case kHelpFile:
            if (assign) {
                helpFile_ = ToString(Arg(arguments, arguments.size() - 1));
                return {};
            }
            return Variant(helpFile_);
        case kHelpContext:
            if (assign) {
                helpContext_ = ToLong(Arg(arguments, arguments.size() - 1));
                return {};
            }
            return Variant(helpContext_);
        case kClear: Clear(); return {};
        case kRaise: {
            // Err.Raise number[, source[, description[, helpfile, helpcontext]]]. What is left out comes
            // from what Err still holds; a description still missing is the number's own message.
            if (assign) Throw(err::kNoSuchMember);
            if (arguments.empty() || arguments.size() > 5) Throw(err::kWrongArgumentCount);
            int32_t number = ToLong(Arg(arguments, 0));
            if (number == 0) Throw(err::kInvalidProcedureCall);
            ScriptError error(number);
            error.source = HasArg(arguments, 1) ? ToString(Arg(arguments, 1)) : source_;
            if (HasArg(arguments, 2)) {
                error.description = ToString(Arg(arguments, 2));
            } else if (!description_.empty()) {
                error.description = description_;
            }
            error.helpFile = HasArg(arguments, 3) ? ToString(Arg(arguments, 3)) : helpFile_;
            error.helpContext = HasArg(arguments, 4) ? ToLong(Arg(arguments, 4)) : helpContext_;
            throw error;
        }
        default: Throw(err::kNoSuchMember);
    }
}

}  // namespace taviro::vbscript
