#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varn {

// The encodings of the texts the program reads and writes. Inside, every character that
// Windows-1251 holds is its 8-bit code there (0x98, which that page leaves undefined, stands for
// U+0098); a file keeps its own encoding and is converted only at the edge of a pass.
enum class Encoding { Windows1251, Utf8, Koi8r, Cp866 };

inline constexpr std::array<Encoding, 4> kEncodings = {Encoding::Windows1251, Encoding::Utf8,
                                                       Encoding::Koi8r, Encoding::Cp866};

// "Windows-1251", "UTF-8", "KOI8-R", "CP866".
const char* EncodingName(Encoding encoding);
// Those names and the command line's spellings, case-insensitive ("utf8", "ibm866" too).
std::optional<Encoding> ParseEncoding(std::string_view name);

// Windows-1251 and CP866 are read and written in DOS text mode; UTF-8 and KOI8-R texts keep
// their line ends byte for byte.
constexpr bool UsesDosText(Encoding encoding) {
    return encoding == Encoding::Windows1251 || encoding == Encoding::Cp866;
}

// The character of an 8-bit code, and the code of a character (-1: none).
char32_t UnicodeOfCode(unsigned char code);
int CodeOfUnicode(char32_t point);

// An 8-bit code page through the program's codes.
struct CodePage {
    std::array<std::int16_t, 256> toCode;    // page byte -> code, -1: a character outside
    std::array<std::int16_t, 256> fromCode;  // code -> page byte, -1: the page cannot hold it
};
// Windows-1251, KOI8-R or CP866 (UTF-8 is not a byte page: the caller's to handle).
const CodePage& PageOf(Encoding encoding);

// A file's text as control text (UTF-8), for showing it; bytes that are no character of the
// encoding show as U+FFFD.
std::string TextToUtf8(std::string_view bytes, Encoding encoding);

// Control text in `encoding`. Characters it cannot hold are left out and collected in
// `missing` (as UTF-8), so that the caller can refuse rather than lose them.
std::string Utf8ToText(std::string_view utf8, Encoding encoding, std::string& missing);

// A text of 8-bit codes in `encoding`; codes it cannot hold are left out and collected in
// `missing` as above.
std::string CodesToText(std::string_view codes, Encoding encoding, std::string& missing);

}  // namespace varn
