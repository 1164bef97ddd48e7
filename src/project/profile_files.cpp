// Line-based editing of profile files.
#include "project/profile_files.h"

#include <optional>
#include <vector>

#include "platform/files/file_system.h"
#include "project/field_reader.h"

namespace taviro::project {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return platform::FoldCase(a) == platform::FoldCase(b);
}

std::vector<std::string_view> SplitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a "key=value" line; nullopt for lines without "=" and for comments.
std::optional<std::string_view> KeyName(std::string_view line) {
    size_t equals = line.find('=');
    std::string_view key = Trim(line.substr(0, equals));
    if (equals == std::string_view::npos || key.starts_with(';')) return std::nullopt;
    return key;
}

std::string_view ValueOf(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// The first count characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view utf8, size_t count) {
    size_t characters = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count) return utf8.substr(0, i);
    }
    return utf8;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    bool inSection = false;
    for (std::string_view line : SplitLines(content)) {
        if (auto name = SectionName(line)) {
            if (inSection) return std::nullopt;
            inSection = SameName(*name, Trim(section));
        } else if (inSection) {
            auto lineKey = KeyName(line);
            if (lineKey && SameName(*lineKey, Trim(key))) {
                return std::string(FirstCharacters(ValueOf(line), kProfileValueLimit));
            }
        }
    }
    return std::nullopt;
}

std::string ReadProfileValue(std::string_view content, std::string_view section, std::string_view key) {
    return FindProfileValue(content, section, key).value_or("");
}

std::string WriteProfileValue(std::string_view content, std::string_view section, std::string_view key,
                              std::string_view value) {
    std::string_view lineBreak =
        content.find("\r\n") != std::string_view::npos || content.empty() ? "\r\n" : "\n";
    std::vector<std::string_view> lines = SplitLines(content);
    std::string newLine = std::string(Trim(key)) + "=" + std::string(Trim(value));

    // Find the section, the line of the key in it, and the last non-blank line of the section.
    std::optional<size_t> sectionLine, keyLine, lastLineOfSection;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i])) {
            if (sectionLine) break;
            if (SameName(*name, Trim(section))) {
                sectionLine = i;
                lastLineOfSection = i;
            }
        } else if (sectionLine) {
            if (!Trim(lines[i]).empty()) lastLineOfSection = i;
            auto lineKey = KeyName(lines[i]);
            if (!keyLine && lineKey && SameName(*lineKey, Trim(key))) keyLine = i;
        }
    }

    std::vector<std::string> result(lines.begin(), lines.end());
    for (std::string& line : result) {
        if (line.ends_with('\r')) line.pop_back();
    }
    if (keyLine) {
        result[*keyLine] = newLine;
    } else if (sectionLine) {
        result.insert(result.begin() + static_cast<std::ptrdiff_t>(*lastLineOfSection) + 1, newLine);
    } else {
        result.push_back("[" + std::string(Trim(section)) + "]");
        result.push_back(newLine);
    }
    std::string text;
    for (const std::string& line : result) {
        text += line;
        text += lineBreak;
    }
    return text;
}

ProfileFiles::ProfileFiles(platform::FileSystem& files, const platform::CodePage& codePage)
    : files_(files), codePage_(codePage) {}

std::optional<std::string> ProfileFiles::FindINIString(std::string_view file, std::string_view section,
                                                       std::string_view key) {
    std::optional<std::string> content = files_.ReadFile(file, kLargestTextFileBytes);
    if (!content) return std::nullopt;
    return FindProfileValue(codePage_.Decode(*content), section, key);
}

std::string ProfileFiles::ReadINIString(std::string_view file, std::string_view section,
                                        std::string_view key) {
    return FindINIString(file, section, key).value_or("");
}

bool ProfileFiles::WriteINIString(std::string_view file, std::string_view section, std::string_view key,
                                  std::string_view value) {
    std::string content = codePage_.Decode(files_.ReadFile(file, kLargestTextFileBytes).value_or(""));
    return files_.WriteFile(file, codePage_.Encode(WriteProfileValue(content, section, key, value)));
}

}  // namespace taviro::project
