// Files and folders for scripts, kept inside the game's own folders. Text files are read and
// written in the project's code page; a written file reaches the disk when its stream closes.
#include "scripting/file_system_object.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/log.h"
#include "scripting/control_objects.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

namespace fs = std::filesystem;
using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }

template <size_t N>
DispatchId Find(const std::array<std::u16string_view, N>& members, std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    for (size_t i = 0; i < N; ++i) {
        if (vbscript::FoldCase(members[i]) == folded) return static_cast<DispatchId>(i + 1);
    }
    return vbscript::kUnknownMember;
}

[[noreturn]] void Fail(int32_t number, const char16_t* description) {
    throw vbscript::ScriptError(number, description);
}

// An open text file: reading walks the decoded text; writing collects it until Close.
class TextStream final : public vbscript::Object {
public:
    enum Mode { kReading = 1, kWriting = 2, kAppending = 8 };

    TextStream(project::Project& project, std::string realPath, Mode mode, std::string text)
        : project_(project), path_(std::move(realPath)), mode_(mode), text_(std::move(text)) {}
    // A stream the script never closed is written when the script lets go of it.
    ~TextStream() override {
        try {
            Close();
        } catch (const GameError& error) {
            platform::log::Error("cannot write " + path_ + ": " + error.description());
        }
    }

    std::u16string TypeName() const override { return u"TextStream"; }
    DispatchId MemberId(std::u16string_view name) override { return Find(kMembers, name); }
    const void* DispatchKey() const override {
        static const char key = 0;
        return &key;
    }

    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        return AsScriptError([&] { return Call(id, kind, arguments); });
    }

private:
    Variant Call(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        auto expect = [&](size_t low, size_t high) {
            if (arguments.size() < low || arguments.size() > high)
                vbscript::Throw(vbscript::err::kWrongArgumentCount);
        };
        auto text = [&](size_t i) { return vbscript::ToUtf8(vbscript::ToString(arguments[i].Target())); };
        if (closed_ && id != kClose) Fail(52, u"Bad file name or number");
        switch (id) {
            case kReadLine: {
                expect(0, 0);
                Reading();
                size_t end = text_.find('\n', position_);
                std::string line = text_.substr(position_, end == std::string::npos ? end : end - position_);
                position_ = end == std::string::npos ? text_.size() : end + 1;
                if (!line.empty() && line.back() == '\r') line.pop_back();
                ++line_;
                return Variant(Utf16(line));
            }
            case kReadAll: {
                expect(0, 0);
                Reading();
                std::string rest = text_.substr(position_);
                position_ = text_.size();
                return Variant(Utf16(rest));
            }
            case kAtEndOfStream:
                expect(0, 0);
                if (mode_ != kReading) Fail(54, u"Bad file mode");
                return Variant(position_ >= text_.size());
            case kWriteLine:
                expect(0, 1);
                Writing();
                text_ += (arguments.empty() ? std::string() : text(0)) + "\r\n";
                return {};
            case kWrite:
                expect(1, 1);
                Writing();
                text_ += text(0);
                return {};
            case kLine: expect(0, 0); return Variant(line_);
            case kClose:
                expect(0, 0);
                Close();
                return {};
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    }

    enum Member : DispatchId { kReadLine = 1, kReadAll, kAtEndOfStream, kWriteLine, kWrite, kLine, kClose };
    static constexpr std::array<std::u16string_view, 7> kMembers = {
        u"ReadLine", u"ReadAll", u"AtEndOfStream", u"WriteLine", u"Write", u"Line", u"Close"};

    void Reading() {
        if (mode_ != kReading) Fail(54, u"Bad file mode");
        if (position_ >= text_.size()) Fail(62, u"Input past end of file");
    }
    void Writing() {
        if (mode_ == kReading) Fail(54, u"Bad file mode");
    }
    void Close() {
        if (closed_) return;
        closed_ = true;
        if (mode_ != kReading) project_.files().WriteFile(path_, project_.codePage().Encode(text_));
    }

    project::Project& project_;
    std::string path_;
    Mode mode_;
    std::string text_;  // UTF-8: what was read, or what is being written
    size_t position_ = 0;
    int32_t line_ = 1;
    bool closed_ = false;
};

enum Member : DispatchId {
    kFileExists = 1,
    kFolderExists,
    kCreateFolder,
    kDeleteFile,
    kCreateTextFile,
    kOpenTextFile,
    kBuildPath,
    kGetFileName,
    kGetBaseName,
    kGetExtensionName,
    kGetParentFolderName,
};
constexpr std::array<std::u16string_view, 11> kMembers = {
    u"FileExists",     u"FolderExists",     u"CreateFolder",       u"DeleteFile",
    u"CreateTextFile", u"OpenTextFile",     u"BuildPath",          u"GetFileName",
    u"GetBaseName",    u"GetExtensionName", u"GetParentFolderName"};

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The parts of a path as scripts name them, with either separator.
std::string FileNameOf(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    size_t start = end;
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start, end - start);
}

}  // namespace

FileSystemObject::FileSystemObject(project::Project& project, std::vector<std::string> folders)
    : project_(project), folders_(std::move(folders)) {}

DispatchId FileSystemObject::MemberId(std::u16string_view name) { return Find(kMembers, name); }

const void* FileSystemObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

std::string FileSystemObject::Allowed(const std::string& path) const {
    bool absolute = (!path.empty() && IsSeparator(path[0])) || (path.size() > 1 && path[1] == ':');
    fs::path real = project_.files().Resolve(absolute ? path : project_.paths.ProjectPath + path);
    std::error_code error;
    fs::path normal = fs::weakly_canonical(real, error);
    if (!error) {
        for (const std::string& folder : folders_) {
            if (folder.empty()) continue;
            fs::path root = fs::weakly_canonical(project_.files().Resolve(folder), error);
            if (error) continue;
            auto [rootEnd, pathAt] = std::mismatch(root.begin(), root.end(), normal.begin(), normal.end());
            // A root given with a final separator ends in an empty element.
            if (rootEnd == root.end() || (std::next(rootEnd) == root.end() && rootEnd->empty()))
                return normal.string();
        }
    }
    Fail(vbscript::err::kPermissionDenied, u"Permission denied");
}

Variant FileSystemObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    return AsScriptError([&] { return Call(id, kind, arguments); });
}

Variant FileSystemObject::Call(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
    auto expect = [&](size_t low, size_t high) {
        if (arguments.size() < low || arguments.size() > high)
            vbscript::Throw(vbscript::err::kWrongArgumentCount);
    };
    auto given = [&](size_t i) { return i < arguments.size() && !arguments[i].Target().IsMissing(); };
    auto text = [&](size_t i) { return vbscript::ToUtf8(vbscript::ToString(arguments[i].Target())); };
    std::error_code error;
    switch (id) {
        case kFileExists:
        case kFolderExists: {
            expect(1, 1);
            std::string real;
            try {
                real = Allowed(text(0));
            } catch (const vbscript::ScriptError&) {
                return Variant(false);  // what a game may not reach does not exist for it
            }
            return Variant(id == kFileExists ? fs::is_regular_file(real, error)
                                             : fs::is_directory(real, error));
        }
        case kCreateFolder: {
            expect(1, 1);
            std::string real = Allowed(text(0));
            if (fs::exists(real, error)) Fail(58, u"File already exists");
            if (!fs::create_directories(real, error)) Fail(76, u"Path not found");
            project_.files().Forget();
            return {};
        }
        case kDeleteFile: {
            expect(1, 2);
            std::string real = Allowed(text(0));
            if (!fs::is_regular_file(real, error)) Fail(53, u"File not found");
            if (!fs::remove(real, error)) Fail(70, u"Permission denied");
            project_.files().Forget();
            return {};
        }
        case kCreateTextFile:
        case kOpenTextFile: {
            std::string real = Allowed(text(0));
            TextStream::Mode mode = TextStream::kWriting;
            bool create = true;
            if (id == kCreateTextFile) {
                expect(1, 3);
                if (given(1) && !vbscript::ToBoolean(arguments[1].Target()) && fs::exists(real, error))
                    Fail(58, u"File already exists");
            } else {
                expect(1, 4);
                int32_t number = given(1) ? vbscript::ToLong(arguments[1].Target()) : 1;
                if (number != 1 && number != 2 && number != 8)
                    vbscript::Throw(vbscript::err::kInvalidProcedureCall);
                mode = static_cast<TextStream::Mode>(number);
                create = given(2) && vbscript::ToBoolean(arguments[2].Target());
            }
            std::string content;
            bool exists = fs::is_regular_file(real, error);
            if (!exists && (mode == TextStream::kReading || !create)) Fail(53, u"File not found");
            if (exists && mode != TextStream::kWriting) {
                std::optional<std::string> bytes = project_.files().ReadFile(real);
                if (!bytes) Fail(70, u"Permission denied");
                content = project_.codePage().Decode(*bytes);
            }
            // A new or emptied file exists from now on, as the original creates it at once.
            if (mode == TextStream::kWriting) project_.files().WriteFile(real, "");
            return Variant(vbscript::Ref<vbscript::Object>(
                vbscript::MakeRef<TextStream>(project_, real, mode, std::move(content))));
        }
        case kBuildPath: {
            expect(2, 2);
            std::string folder = text(0), name = text(1);
            if (!folder.empty() && !IsSeparator(folder.back()) && !name.empty() && !IsSeparator(name[0]))
                folder += '\\';
            return Variant(Utf16(folder + name));
        }
        case kGetFileName: expect(1, 1); return Variant(Utf16(FileNameOf(text(0))));
        case kGetBaseName:
        case kGetExtensionName: {
            expect(1, 1);
            std::string name = FileNameOf(text(0));
            size_t dot = name.rfind('.');
            if (id == kGetBaseName)
                return Variant(Utf16(dot == std::string::npos ? name : name.substr(0, dot)));
            return Variant(Utf16(dot == std::string::npos ? "" : name.substr(dot + 1)));
        }
        case kGetParentFolderName: {
            expect(1, 1);
            std::string path = text(0);
            std::string name = FileNameOf(path);
            size_t end = path.rfind(name);
            std::string parent = end == std::string::npos ? "" : path.substr(0, end);
            while (parent.size() > 1 && IsSeparator(parent.back()) && parent[parent.size() - 2] != ':')
                parent.pop_back();
            return Variant(Utf16(parent));
        }
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

}  // namespace taviro::scripting
