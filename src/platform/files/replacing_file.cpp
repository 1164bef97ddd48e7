// POSIX file calls for the temporary-file-then-rename write.
#include "platform/files/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace taviro::platform {

ReplacingFile::ReplacingFile(std::filesystem::path temporary) : temporary_(std::move(temporary)) {
    descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

ReplacingFile::~ReplacingFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!replaced_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

bool ReplacingFile::Write(std::string_view bytes) {
    if (descriptor_ < 0) return false;
    while (!bytes.empty()) {
        ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool ReplacingFile::Flush() { return descriptor_ >= 0 && ::fsync(descriptor_) == 0; }

bool ReplacingFile::ReplaceInto(const std::filesystem::path& target) {
    if (descriptor_ < 0) return false;
    bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    if (!closed || std::rename(temporary_.c_str(), target.c_str()) != 0) return false;
    replaced_ = true;
    // The rename itself reaches the disk with the folder's entry.
    std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

}  // namespace taviro::platform
