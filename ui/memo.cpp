#include "ui/memo.h"

#include "io/whole_file.h"
#include "ui/cp1251.h"

namespace ui {

std::vector<std::string> Memo::lines() const {
    std::vector<std::string> result;
    const std::string& s = text();
    std::size_t start = 0;
    while (start < s.size()) {
        const std::size_t end = s.find("\r\n", start);
        if (end == std::string::npos) {
            result.push_back(s.substr(start));
            break;
        }
        result.push_back(s.substr(start, end - start));
        start = end + 2;
    }
    return result;
}

std::size_t Memo::lineCount() const {
    return lines().size();
}

void Memo::addLine(const std::string& line) {
    const std::string& s = text();
    if (s.empty() || s.ends_with("\r\n")) {
        setText(s + line + "\r\n");
    } else {
        setText(s + "\r\n" + line);
    }
}

std::string AdjustLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void Memo::loadFromFile(const std::string& path) {
    loadFromBytes(varn::io::ReadWholeFile(path));
}

void Memo::loadFromBytes(std::string bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
    setText(AdjustLineBreaks(DecodeCp1251(bytes)));
}

void Memo::loadFromText(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    setText(AdjustLineBreaks(text));
}

std::string Memo::linesAsFileBytes() const {
    std::string bytes;
    for (const auto& line : lines()) {
        bytes += EncodeCp1251(line);
        bytes += "\r\n";
    }
    return bytes;
}

void Memo::saveToFile(const std::string& path) const {
    varn::io::ReplaceWholeFile(path, linesAsFileBytes());
}

void Memo::setSelStart(std::size_t position) {
    if (position == selStart_) return;
    selStart_ = position;
    notify(Property::Caret);
}

}  // namespace ui
