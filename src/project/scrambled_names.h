// Scrambled project files: media files stored under a numbered extension, and text lines stored
// with a shifting substitution over the printable characters. The player only ever unscrambles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::project {

// The scrambled form of a path, or the path unchanged when its extension has no code. withoutName
// leaves the first letters of the file name out of the code; media allows the codes of sounds and
// videos. The path is UTF-8; the first letters count by their character numbers.
std::string ScrambledFileName(std::string_view path, bool withoutName, bool media);

// The paths under which a project file may be stored, in the order the player tries them: the path as
// given, then its scrambled forms.
std::vector<std::string> StoredFileNames(std::string_view path);

// Unscrambles a line as stored in the file (bytes of the project's code page); the result is in
// the same code page. parameter: NameSum of the project name for the procedures file.
std::string UnscrambleText(std::string_view line, int32_t parameter);

// The variant used by the code sections of plugin definitions (parameter 100 or 200).
std::string UnscrambleTextQuoted(std::string_view line, int32_t parameter);

// The sum of the character numbers of the text's bytes; additions that would overflow a 32-bit
// integer are skipped.
int32_t NameSum(std::string_view text);

}  // namespace taviro::project
