// The interface text table: the words of the welcome window, menus, dialogs and error reports.
#pragma once

#include <array>
#include <string>

#include "project/field_reader.h"

namespace taviro::project {

class InterfaceTexts {
public:
    static constexpr int kCount = 61;

    // Index 0 to 60; any other index gives an empty text.
    const std::string& operator[](int index) const;

    // Fills indices 1 to 52 with the "game" wording or the "program" wording.
    void SetDefaultTexts(bool gameWording);

    // Reads the content of the "Texts" file: 0 = program wording, 1 = game wording, 2 = program
    // wording overridden by a list of texts, anything else leaves the table as it is. Throws
    // GameError on a read error or a list longer than the table; texts read until then stay.
    void ReadInterfaceTexts(FieldReader& reader);

    const std::array<std::string, kCount>& all() const { return texts_; }

private:
    std::array<std::string, kCount> texts_;
};

}  // namespace taviro::project
