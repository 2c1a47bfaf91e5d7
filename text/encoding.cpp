#include "text/encoding.h"

#include <algorithm>
#include <cctype>

#include "text/code_page_tables.h"
#include "text/utf8.h"

namespace varn {

namespace {

// 0x98 is the one byte Windows-1251 leaves undefined; it stands for U+0098 so that every code
// has a character.
constexpr unsigned char kUndefined1251 = 0x98;

struct Tables {
    std::array<char32_t, 256> unicodeOfCode{};
    // Code of each point below U+2200 (every point Windows-1251 holds lies there); -1: none.
    std::array<std::int16_t, 0x2200> codeOfPoint{};
    CodePage windows1251{};
    CodePage koi8r{};
    CodePage cp866{};

    Tables() {
        codeOfPoint.fill(-1);
        for (int b = 0; b < 256; ++b) {
            const char16_t point = code_pages::kWindows1251Unicode[b];
            unicodeOfCode[b] = point == code_pages::kUndefined ? char32_t{kUndefined1251} : point;
            codeOfPoint[unicodeOfCode[b]] = static_cast<std::int16_t>(b);
            windows1251.toCode[b] = static_cast<std::int16_t>(b);
            windows1251.fromCode[b] = static_cast<std::int16_t>(b);
        }
        Fill(koi8r, code_pages::kKoi8rUnicode);
        Fill(cp866, code_pages::kCp866Unicode);
    }

    void Fill(CodePage& page, const std::array<char16_t, 256>& unicode) const {
        page.fromCode.fill(-1);
        for (int b = 0; b < 256; ++b) {
            const char16_t point = unicode[b];
            const int code = point < codeOfPoint.size() ? codeOfPoint[point] : -1;
            page.toCode[b] = static_cast<std::int16_t>(code);
            if (code >= 0) page.fromCode[code] = static_cast<std::int16_t>(b);
        }
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

const std::array<char16_t, 256>& UnicodeOfPage(Encoding encoding) {
    switch (encoding) {
        case Encoding::Koi8r:
            return code_pages::kKoi8rUnicode;
        case Encoding::Cp866:
            return code_pages::kCp866Unicode;
        case Encoding::Windows1251:
        case Encoding::Utf8:
            break;
    }
    return code_pages::kWindows1251Unicode;
}

// The byte of an 8-bit page that holds `point`, or -1.
int ByteOfUnicode(char32_t point, Encoding encoding) {
    if (encoding == Encoding::Windows1251) return CodeOfUnicode(point);
    const std::array<char16_t, 256>& unicode = UnicodeOfPage(encoding);
    for (int b = 0; b < 256; ++b) {
        if (unicode[b] == point) return b;
    }
    return -1;
}

std::string Lower(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

const char* EncodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Windows1251:
            return "Windows-1251";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Koi8r:
            return "KOI8-R";
        case Encoding::Cp866:
            return "CP866";
    }
    return "";
}

std::optional<Encoding> ParseEncoding(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "windows-1251" || lower == "cp1251") return Encoding::Windows1251;
    if (lower == "utf-8" || lower == "utf8") return Encoding::Utf8;
    if (lower == "koi8-r" || lower == "koi8r") return Encoding::Koi8r;
    if (lower == "cp866" || lower == "ibm866") return Encoding::Cp866;
    return std::nullopt;
}

char32_t UnicodeOfCode(unsigned char code) {
    return TheTables().unicodeOfCode[code];
}

int CodeOfUnicode(char32_t point) {
    const auto& codes = TheTables().codeOfPoint;
    return point < codes.size() ? codes[point] : -1;
}

const CodePage& PageOf(Encoding encoding) {
    const Tables& tables = TheTables();
    switch (encoding) {
        case Encoding::Koi8r:
            return tables.koi8r;
        case Encoding::Cp866:
            return tables.cp866;
        case Encoding::Windows1251:
        case Encoding::Utf8:
            break;
    }
    return tables.windows1251;
}

std::string TextToUtf8(std::string_view bytes, Encoding encoding) {
    std::string out;
    out.reserve(bytes.size() * 2);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (encoding == Encoding::Utf8) {
        for (std::size_t i = 0; i < bytes.size();) {
            char32_t point;
            const int length = utf8::Decode(p + i, bytes.size() - i, point);
            if (length > 0) {
                out.append(bytes.substr(i, static_cast<std::size_t>(length)));
                i += static_cast<std::size_t>(length);
            } else {
                utf8::Append(0xFFFD, out);
                ++i;
            }
        }
        return out;
    }
    const std::array<char16_t, 256>& unicode = UnicodeOfPage(encoding);
    for (const unsigned char b : bytes) {
        utf8::Append(encoding == Encoding::Windows1251 ? UnicodeOfCode(b) : char32_t{unicode[b]},
                     out);
    }
    return out;
}

std::string Utf8ToText(std::string_view utf8, Encoding encoding, std::string& missing) {
    missing.clear();
    std::string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t point;
        int length = utf8::Decode(p + i, utf8.size() - i, point);
        if (length <= 0) {
            length = 1;
            point = 0xFFFD;
        }
        const std::string_view sequence = utf8.substr(i, static_cast<std::size_t>(length));
        i += static_cast<std::size_t>(length);
        if (encoding == Encoding::Utf8) {
            out.append(sequence);
            continue;
        }
        const int byte = ByteOfUnicode(point, encoding);
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
        } else if (missing.find(sequence) == std::string::npos) {
            missing.append(sequence);
        }
    }
    return out;
}

std::string CodesToText(std::string_view codes, Encoding encoding, std::string& missing) {
    std::string utf8;
    for (const unsigned char c : codes) utf8::Append(UnicodeOfCode(c), utf8);
    return Utf8ToText(utf8, encoding, missing);
}

}  // namespace varn
