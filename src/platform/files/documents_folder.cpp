// The documents folder of the XDG user directories.
#include "platform/files/documents_folder.h"

namespace taviro::platform {

std::string DocumentsFolder(const EnvironmentLookup& environment) {
    return UserDirectory("XDG_DOCUMENTS_DIR", "Documents", environment);
}

std::string DocumentsFolder() { return DocumentsFolder(ProcessEnvironment); }

}  // namespace taviro::platform
