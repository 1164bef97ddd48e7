// Fixture projects for tests: a fresh folder with the files a test writes, and the player's
// project objects set up over it with recorded dialogs.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "project/field_reader.h"
#include "project/project.h"
#include "support/recording_dialogs.h"

namespace taviro::testing {

// A temporary folder, removed when the object goes.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file under the folder; relative may use "/" or "\" and creates folders as needed.
    std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The fields of a "General" file by number (1 to 64), preset to a small valid project.
class GeneralFile {
public:
    GeneralFile();
    GeneralFile& Set(int field, project::FieldValue value);
    // The file text with fields 1 to lastField, one line each.
    std::string Text(int lastField = 64) const;

private:
    std::map<int, project::FieldValue> fields_;
};

// Fields written as the editor writes them, one line per call: FieldsLine({1, "a", true}).
std::string FieldsLine(std::initializer_list<project::FieldValue> fields);

// A whole record: the fields, then the record separator.
std::string Record(std::initializer_list<project::FieldValue> fields);

// A hotspot record covering (left, top, width, height) pixels, with nothing else set.
std::string HotspotRecord(int left, int top, int width, int height);
// An action record that sets the variable Door to 1, runs the script (when there is one) and opens
// the frame (when there is one).
std::string DoorActionRecord(const std::string& frame, const std::string& script);

// A project folder with the player's project objects over it.
struct TestProject {
    TestProject();

    // Writes a project file; relative as in TemporaryFolder::Write.
    void Write(std::string_view relative, std::string_view bytes) const { folder.Write(relative, bytes); }
    // Runs InitializeProject over the folder.
    bool Initialize() { return project->InitializeProject(folder.path().string()); }

    TemporaryFolder folder;
    TemporaryFolder configFolder;
    platform::FileSystem files;
    platform::CodePage codePage{1252};
    RecordingDialogs dialogs;
    project::NoCd cd;
    GameFlags flags;
    std::unique_ptr<project::Project> project;
};

}  // namespace taviro::testing
