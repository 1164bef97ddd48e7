// Conversion between the project's ANSI code page and the UTF-8 the player works in.
#pragma once

#include <string>
#include <string_view>

namespace taviro::platform {

class CodePage {
public:
    // A Windows code page number: 1252 (the default), 1250, 1251, 932, ...; 65001 is UTF-8.
    // Throws std::invalid_argument when the system has no converter for it.
    explicit CodePage(int number = 1252);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int number() const { return number_; }

    // Bytes of the code page to UTF-8. Bytes the code page leaves undefined become the
    // character of the same number, as Windows does.
    std::string Decode(std::string_view bytes) const;

    // UTF-8 to bytes of the code page; characters it cannot hold become "?".
    std::string Encode(std::string_view utf8) const;

private:
    int number_;
    void* toUtf8_ = nullptr;
    void* fromUtf8_ = nullptr;
};

}  // namespace taviro::platform
