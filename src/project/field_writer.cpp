// "Write #" formatting.
#include "project/field_writer.h"

#include <cstdio>

namespace taviro::project {

std::string FormatEditorNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    if (text.starts_with("0.")) text.erase(0, 1);
    if (text.starts_with("-0.")) text.erase(1, 1);
    return text;
}

void FieldWriter::BeginField() {
    if (lineHasFields_) text_ += ',';
    lineHasFields_ = true;
}

FieldWriter& FieldWriter::WriteString(std::string_view text) {
    BeginField();
    text_ += '"';
    text_ += text;
    text_ += '"';
    return *this;
}

FieldWriter& FieldWriter::WriteNumber(double value) {
    BeginField();
    text_ += FormatEditorNumber(value);
    return *this;
}

FieldWriter& FieldWriter::WriteBoolean(bool value) {
    BeginField();
    text_ += value ? "#TRUE#" : "#FALSE#";
    return *this;
}

FieldWriter& FieldWriter::WriteNull() {
    BeginField();
    text_ += "#NULL#";
    return *this;
}

FieldWriter& FieldWriter::WriteEmpty() {
    BeginField();
    return *this;
}

FieldWriter& FieldWriter::WriteRaw(std::string_view text) {
    BeginField();
    text_ += text;
    return *this;
}

FieldWriter& FieldWriter::WriteVariant(const FieldValue& value) {
    struct Visitor {
        FieldWriter& writer;
        void operator()(std::monostate) { writer.WriteEmpty(); }
        void operator()(NullField) { writer.WriteNull(); }
        void operator()(bool b) { writer.WriteBoolean(b); }
        void operator()(double d) { writer.WriteNumber(d); }
        void operator()(const std::string& s) { writer.WriteString(s); }
    };
    std::visit(Visitor{*this}, value);
    return *this;
}

FieldWriter& FieldWriter::EndLine() {
    text_ += "\r\n";
    lineHasFields_ = false;
    return *this;
}

}  // namespace taviro::project
