// A welcome-window scheme: "Scheme.txt" in a folder of the Schemes folder, with the button
// pictures, background picture, colours and logo of the welcome window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/field_reader.h"

namespace taviro::app {

struct Scheme {
    std::vector<std::string> buttonPictures;  // one per button; "[none]" and "[default]" leave it plain
    int16_t format = 0;
    std::string background;
    std::optional<int32_t> titleColour;
    std::optional<int32_t> labelColour;
    std::optional<int32_t> buttonColour;  // format 4 and later
    project::FieldValue titleValue;       // the value the scheme gives the title label
    int16_t logoStyle = 0;
    bool logoPlacement = false;
};

// Reads a scheme. A field that cannot be read is skipped and keeps its default; a scheme without
// button pictures or with format 0 is invalid (nullopt), and the window keeps its plain look.
std::optional<Scheme> ReadScheme(project::FieldReader& reader);

}  // namespace taviro::app
