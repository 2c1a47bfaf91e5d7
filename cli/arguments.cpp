#include "cli/arguments.h"

#include <cstring>

namespace varn::cli {

namespace {

// Byte b (0x80..0xFF) of an invalid sequence is the lone surrogate U+DC00 + b.
constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at `s` (of `n` bytes), or 0.
std::size_t ValidSequence(const unsigned char* s, std::size_t n) {
    const unsigned char lead = s[0];
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000;
    } else {
        return 0;
    }
    if (n < length) return 0;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        code = code << 6 | (s[i] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

QString Decode(const char* argument) {
    const auto* s = reinterpret_cast<const unsigned char*>(argument);
    const std::size_t n = std::strlen(argument);
    QString out;
    for (std::size_t i = 0; i < n;) {
        const std::size_t length = ValidSequence(s + i, n - i);
        if (length == 0) {
            out += QChar(static_cast<char16_t>(kEscapeBase + s[i]));
            ++i;
        } else {
            out += QString::fromUtf8(argument + i, static_cast<qsizetype>(length));
            i += length;
        }
    }
    return out;
}

}  // namespace

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << Decode(argv[i]);
    return arguments;
}

std::string NativeBytes(const QString& argument) {
    std::string out;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start) out += argument.mid(start, end - start).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const char16_t unit = argument.at(i).unicode();
        if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            flush(i);
            out += static_cast<char>(unit - kEscapeBase);
            start = i + 1;
        }
    }
    flush(argument.size());
    return out;
}

}  // namespace varn::cli
