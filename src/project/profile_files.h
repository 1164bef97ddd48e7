// Profile (INI) files with the behaviour of the Windows profile-file functions: section and key
// names compared without regard to case, blanks around names and values trimmed, a value in
// matching quotes unquoted, and on writing the file, section and key created when missing while
// every other line stays as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/files/file_system.h"

namespace taviro::project {

// The longest value ReadINIString returns, in characters.
inline constexpr size_t kProfileValueLimit = 4095;

class ProfileFiles {
public:
    ProfileFiles(platform::FileSystem& files, const platform::CodePage& codePage);

    // The value, or "" when the file, section or key is absent.
    std::string ReadINIString(std::string_view file, std::string_view section, std::string_view key);
    // The value, or nullopt when the file, section or key is absent.
    std::optional<std::string> FindINIString(std::string_view file, std::string_view section,
                                             std::string_view key);

    // Writes the value; false when the file cannot be written.
    bool WriteINIString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

private:
    platform::FileSystem& files_;
    const platform::CodePage& codePage_;
};

// The pure text forms of the operations, on UTF-8 file content.
std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key);
std::string ReadProfileValue(std::string_view content, std::string_view section, std::string_view key);
std::string WriteProfileValue(std::string_view content, std::string_view section, std::string_view key,
                              std::string_view value);

}  // namespace taviro::project
