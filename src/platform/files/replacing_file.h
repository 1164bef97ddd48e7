// Writing a file so that a crash, a full disk or a kill never leaves it half-written: the bytes go
// to a temporary file in the same folder, reach the disk, and only then is the temporary file
// renamed over the target, which holds either its old bytes or the new ones at every moment.
#pragma once

#include <filesystem>
#include <string_view>

namespace taviro::platform {

class ReplacingFile {
public:
    // Creates (or truncates) the temporary file; ok() tells whether that worked.
    explicit ReplacingFile(std::filesystem::path temporary);
    // Closes the temporary file and removes it unless it replaced the target.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool ok() const { return descriptor_ >= 0; }
    // Appends bytes; false when they could not all be written (a full disk, for one).
    bool Write(std::string_view bytes);
    // Makes the written bytes durable on the disk.
    bool Flush();
    // Renames the temporary file over the target and makes the rename durable; false when it failed,
    // in which case the target is unchanged.
    bool ReplaceInto(const std::filesystem::path& target);

private:
    std::filesystem::path temporary_;
    int descriptor_ = -1;
    bool replaced_ = false;
};

}  // namespace taviro::platform
