// Scrambled names and lines.
#include "project/scrambled_names.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <optional>

namespace taviro::project {
namespace {

struct ExtensionCode {
    const char* extension;
    int code;
    bool needsMedia;
};

constexpr ExtensionCode kExtensionCodes[] = {
    {".ico", 2, false}, {".cur", 3, false}, {".bmp", 4, false}, {".jpg", 5, false}, {".gif", 6, false},
    {".wmf", 7, false}, {".emf", 8, false}, {".wav", 10, true}, {".mid", 11, true}, {".mp3", 12, true},
    {".avi", 14, true}, {".wma", 16, true}, {".mpg", 20, true}, {".mpe", 24, true}, {".m1v", 26, true},
    {".wmv", 28, true}, {".ogg", 31, true}, {".snd", 34, true}, {".rmi", 36, true}, {".mpa", 38, true},
    {".mp2", 40, true}, {".asf", 44, true},
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::optional<int> CodeOf(std::string_view extension, bool media) {
    for (const ExtensionCode& entry : kExtensionCodes) {
        std::string_view known(entry.extension);
        bool same = extension.size() == known.size();
        for (size_t i = 0; same && i < known.size(); ++i) same = LowerAscii(extension[i]) == known[i];
        if (same) return entry.needsMedia && !media ? std::nullopt : std::optional<int>(entry.code);
    }
    return std::nullopt;
}

// Decodes one UTF-8 character at i and advances i; a stray byte counts as its own number.
char32_t NextCharacter(std::string_view text, size_t& i) {
    auto lead = static_cast<unsigned char>(text[i++]);
    size_t length = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = length == 0 ? lead : lead & (0x3F >> length);
    for (size_t k = 0; k < length && i < text.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    return c;
}

// Lower case of a character number, for ASCII and the Latin-1 capitals.
int LowerCode(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 32;
    return static_cast<int>(c);
}

// Factor i is the code of the key's letter i + 1 minus 32.
const std::array<int, 21>& ShiftFactors() {
    static const std::array<int, 21> factors = [] {
        constexpr std::string_view kKey = "qmzhwtxalkpvgbrnsyjcf";
        std::array<int, 21> table{};
        for (size_t i = 0; i < table.size(); ++i) table[i] = kKey[i] - 32;
        return table;
    }();
    return factors;
}

int PositiveModulo(int64_t value, int modulus) {
    int64_t rest = value % modulus;
    return static_cast<int>(rest < 0 ? rest + modulus : rest);
}

int SwapBlankAndQuote(int code) { return code == 32 ? 34 : code == 34 ? 32 : code; }

// The two forms of scrambled lines differ only in their range of shifted characters and in the
// exchange of blank and double quote around the shift.
struct ScrambledForm {
    int headerBase;   // the header character's code minus this is the header value
    int first, last;  // the range of shifted character codes
    int modulus;      // the shift wraps around this many codes from first
    bool quoted;      // blank and double quote are exchanged before and after the shift
};

std::string Unscramble(std::string_view line, int32_t parameter, const ScrambledForm& form) {
    if (line.empty()) return "";
    const auto& factors = ShiftFactors();
    const int header = static_cast<unsigned char>(line[0]) - form.headerBase;
    std::string result;
    // The body is read from the last character back to the second.
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        int a = static_cast<unsigned char>(line[line.size() - 1 - i]);
        if (form.quoted) a = SwapBlankAndQuote(a);
        if (a >= form.first && a <= form.last) {
            int64_t shift = (static_cast<int64_t>(i) + header) * factors[i % 21] + parameter;
            a = PositiveModulo(a - form.first - shift, form.modulus) + form.first;
        }
        if (form.quoted) {
            result += static_cast<char>(SwapBlankAndQuote(a));
        } else if (a >= 1) {
            result += static_cast<char>(a);
        }
    }
    return result;
}

}  // namespace

std::string ScrambledFileName(std::string_view path, bool withoutName, bool media) {
    // 1. The title follows the last separator and must be longer than its extension.
    size_t separator = path.find_last_of("\\/");
    std::string_view title = separator == std::string_view::npos ? path : path.substr(separator + 1);
    if (title.size() <= 4) return std::string(path);

    // 2. The extension's code.
    std::optional<int> code = CodeOf(path.substr(path.size() - 4), media);
    if (!code) return std::string(path);

    // 3. Mix in the first three letters of the title.
    if (!withoutName) {
        size_t i = 0;
        int c1 = LowerCode(NextCharacter(title, i));
        int c2 = i < title.size() ? LowerCode(NextCharacter(title, i)) : 0;
        int c3 = i < title.size() ? LowerCode(NextCharacter(title, i)) : 0;
        *code = std::abs(c1 * (*code % 3 + 1) - c2 + c3 * ((*code & 1) + 1)) + *code;
    }

    // 4. The code, with at least three digits, replaces the extension.
    std::string digits = std::to_string(*code);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return std::string(path.substr(0, path.size() - 4)) + "." + digits;
}

std::vector<std::string> StoredFileNames(std::string_view path) {
    std::vector<std::string> names{std::string(path)};
    if (path.size() < 5) return names;
    const bool tries[3][2] = {{false, false}, {false, true}, {true, false}};
    for (const auto& [withoutName, media] : tries) names.push_back(ScrambledFileName(path, withoutName, media));
    return names;
}

std::string UnscrambleText(std::string_view line, int32_t parameter) {
    return Unscramble(line, parameter,
                      {.headerBase = 32, .first = 32, .last = 126, .modulus = 94, .quoted = false});
}

std::string UnscrambleTextQuoted(std::string_view line, int32_t parameter) {
    return Unscramble(line, parameter,
                      {.headerBase = 35, .first = 33, .last = 125, .modulus = 93, .quoted = true});
}

int32_t NameSum(std::string_view text) {
    int32_t sum = 0;
    for (char c : text) {
        int32_t code = static_cast<unsigned char>(c);
        if (sum <= std::numeric_limits<int32_t>::max() - code) sum += code;
    }
    return sum;
}

}  // namespace taviro::project
