// Fixture projects.
#include "support/test_project.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>

#include "project/field_writer.h"

namespace taviro::testing {
namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("taviro-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

fs::path TemporaryFolder::Write(std::string_view relative, std::string_view bytes) const {
    std::string native(relative);
    std::replace(native.begin(), native.end(), '\\', '/');
    fs::path file = path_ / native;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

GeneralFile::GeneralFile() {
    using std::string;
    fields_ = {
        {1, string("TestGame")},
        {2, string("")},
        {3, string("Test Game")},
        {4, 0.0},
        {5, string("Start")},
        {6, string("1.0")},
        {7, 640.0},
        {8, 480.0},
        {9, string("Author")},
        {10, string("a@example.org")},
        {11, string("www.example.org")},
        {12, 0.0},
        {16, string("[default]")},
        {20, false},
        {21, false},
        {23, string("'")},
        {25, 10.0},
        {26, 10.0},
        {27, true},
        {28, true},
        {29, true},
        {30, true},
        {31, true},
        {32, false},
        {33, string("DEFAULT")},
        {34, string("DEFAULT")},
        {35, 0.0},
        {38, string("DEFAULT")},
        {41, true},
        {43, false},
        {44, false},
        {46, false},
        {47, false},
        {48, false},
        {52, false},
        {53, string("")},
        {54, false},
        {55, string("")},
        {56, false},
        {57, 0.0},
        {58, false},
        {59, false},
        {60, string("")},
        {61, string("DEFAULT")},
        {62, false},
        {63, false},
        {64, false},
    };
}

GeneralFile& GeneralFile::Set(int field, project::FieldValue value) {
    fields_[field] = std::move(value);
    return *this;
}

std::string GeneralFile::Text(int lastField) const {
    project::FieldWriter writer;
    for (int field = 1; field <= lastField; ++field) {
        auto found = fields_.find(field);
        if (found == fields_.end()) {
            writer.WriteNumber(0);  // a skipped field
        } else {
            writer.WriteVariant(found->second);
        }
        writer.EndLine();
    }
    return writer.text();
}

std::string FieldsLine(std::initializer_list<project::FieldValue> fields) {
    project::FieldWriter writer;
    for (const project::FieldValue& field : fields) writer.WriteVariant(field);
    writer.EndLine();
    return writer.text();
}

std::string Record(std::initializer_list<project::FieldValue> fields) {
    return FieldsLine(fields) + FieldsLine({std::string(project::kRecordSeparator)});
}

TestProject::TestProject()
    : project(std::make_unique<project::Project>(files, codePage, dialogs, cd, flags, configFolder.path())) {}

std::string HotspotRecord(int left, int top, int width, int height) {
    using std::string;
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({left * 15.0, top * 15.0, width * 15.0, height * 15.0, 0.0, false, string(""), 0.0,
                       string(""), 0.0, 0.0, 0.0}) +
           FieldsLine({string(project::kRecordSeparator)});
}

std::string DoorActionRecord(const std::string& frame, const std::string& script) {
    using std::string;
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {1.0, string("Door"), false, true, false, false, string(""), 0.0, string(""), false, false}) +
           FieldsLine({frame.empty() ? 0.0 : 1.0, frame}) +
           FieldsLine({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({false, false, string(""), false, string("")}) + FieldsLine({0.0, 0.0, 0.0, false}) +
           FieldsLine({0.0, 0.0, 0.0, false}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({true}) + FieldsLine({0.0, 0.0}) + FieldsLine({!script.empty(), script}) +
           FieldsLine({string(project::kRecordSeparator)});
}

}  // namespace taviro::testing
