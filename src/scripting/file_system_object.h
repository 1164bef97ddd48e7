// "Scripting.FileSystemObject" for games that allow CreateObject: text files and folders, but only
// inside the project folder and the folder of saved games, so that a game cannot reach the rest of
// the player's disk. Relative paths are taken in the project folder.
#pragma once

#include <string>
#include <vector>

#include "project/project.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// FileExists, FolderExists, CreateFolder, DeleteFile, CreateTextFile, OpenTextFile, BuildPath,
// GetFileName, GetBaseName, GetExtensionName, GetParentFolderName. A path outside the allowed
// folders raises 70 "Permission denied".
class FileSystemObject final : public vbscript::Object {
public:
    // folders: where scripts may read and write (the project folder first).
    FileSystemObject(project::Project& project, std::vector<std::string> folders);

    std::u16string TypeName() const override { return u"FileSystemObject"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    vbscript::Variant Call(vbscript::DispatchId id, vbscript::InvokeKind kind,
                           std::span<vbscript::Variant> arguments);
    // The real path of a script's path, checked to lie inside an allowed folder.
    std::string Allowed(const std::string& path) const;

    project::Project& project_;
    std::vector<std::string> folders_;
};

}  // namespace taviro::scripting
