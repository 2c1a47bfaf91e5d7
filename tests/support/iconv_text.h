#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

// The C library's conversion between encodings: an independent reference for the program's
// own tables. Throws when the text does not convert whole.
inline std::string Iconv(const std::string& text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no iconv for " + std::string(to));
    std::string in = text;
    std::string out(text.size() * 4 + 16, '\0');
    char* inp = in.data();
    char* outp = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv cannot convert");
    out.resize(out.size() - outLeft);
    return out;
}
