// iconv does the conversions; the code here only handles what iconv refuses.
#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace taviro::platform {
namespace {

constexpr int kUtf8 = 65001;

iconv_t Handle(void* handle) { return static_cast<iconv_t>(handle); }

void* OpenConverter(const std::string& to, const std::string& from) {
    iconv_t handle = iconv_open(to.c_str(), from.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        throw std::invalid_argument("no converter from " + from + " to " + to);
    }
    return handle;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray byte.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Runs iconv over the whole input. onInvalid is called with the rest of the input when iconv
// stops at a sequence it cannot convert; it appends a replacement and returns the bytes to skip.
template <typename OnInvalid>
std::string Convert(void* handle, std::string_view input, OnInvalid onInvalid) {
    iconv(Handle(handle), nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(input.size() + input.size() / 4);
    char buffer[4096];
    auto* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(Handle(handle), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            size_t skip = onInvalid(out, std::string_view(in, inLeft));
            in += skip;
            inLeft -= skip;
        }
    }
    return out;
}

}  // namespace

CodePage::CodePage(int number) : number_(number) {
    if (number_ == kUtf8) return;
    std::string name = "CP" + std::to_string(number_);
    toUtf8_ = OpenConverter("UTF-8", name);
    fromUtf8_ = OpenConverter(name, "UTF-8");
}

CodePage::~CodePage() {
    if (toUtf8_) iconv_close(Handle(toUtf8_));
    if (fromUtf8_) iconv_close(Handle(fromUtf8_));
}

std::string CodePage::Decode(std::string_view bytes) const {
    if (number_ == kUtf8) return std::string(bytes);
    return Convert(toUtf8_, bytes, [](std::string& out, std::string_view rest) -> size_t {
        AppendUtf8(out, static_cast<unsigned char>(rest.front()));
        return 1;
    });
}

std::string CodePage::Encode(std::string_view utf8) const {
    if (number_ == kUtf8) return std::string(utf8);
    return Convert(fromUtf8_, utf8, [](std::string& out, std::string_view rest) -> size_t {
        out += '?';
        return std::min(rest.size(), SequenceLength(static_cast<unsigned char>(rest.front())));
    });
}

}  // namespace taviro::platform
