// Writes fields with the rules of the original's "Write #": strings in double quotes, numbers in
// plain decimal, #TRUE#/#FALSE#/#NULL#, commas between fields and CR LF at the end of each line.
// The result is UTF-8; the caller encodes it to the project's code page when it writes the file.
#pragma once

#include <string>
#include <string_view>

#include "project/field_reader.h"

namespace taviro::project {

class FieldWriter {
public:
    FieldWriter& WriteString(std::string_view text);
    FieldWriter& WriteNumber(double value);
    FieldWriter& WriteBoolean(bool value);
    FieldWriter& WriteNull();
    FieldWriter& WriteEmpty();
    // A field written as given, without quotes ("#2024-07-04#").
    FieldWriter& WriteRaw(std::string_view text);
    FieldWriter& WriteVariant(const FieldValue& value);
    FieldWriter& EndLine();  // ends the current line ("Write #" ends every statement so)

    const std::string& text() const { return text_; }

private:
    void BeginField();

    std::string text_;
    bool lineHasFields_ = false;
};

// A number as "Write #" writes it: at most 15 significant digits, no leading zero before the
// decimal point (".5"), exponents as "1E+20" and "1E-05".
std::string FormatEditorNumber(double value);

}  // namespace taviro::project
