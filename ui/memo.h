#pragma once

#include <string>
#include <vector>

#include "ui/context_action.h"
#include "ui/control.h"

namespace ui {

// A multi-line text box. Its text is UTF-8 with lines separated by CR LF: a final CR LF starts no
// line, an empty text has no lines, and a lone CR LF is one empty line.
class Memo : public Control {
  public:
    Memo(std::string name, Control* parent, Bounds bounds)
        : Control(ControlKind::Memo, std::move(name), parent, bounds) {}

    std::vector<std::string> lines() const;
    std::size_t lineCount() const;
    bool hasLines() const { return !text().empty(); }

    // Appends a line; after a text that does not end in CR LF the line goes after a new CR LF.
    void addLine(const std::string& line);
    void clear() { setText({}); }

    // Replaces the text with the file's Windows-1251 bytes (up to a NUL), every line break made
    // CR LF. Throws varn::io::FileError (Open, NotRegular or Read).
    void loadFromFile(const std::string& path);
    // The same from bytes already read.
    void loadFromBytes(std::string bytes);
    // The same from text already decoded (UTF-8).
    void loadFromText(std::string text);
    // Writes each line in Windows-1251 followed by CR LF, replacing the file atomically. Throws
    // varn::io::FileError on failure; the old file is then unchanged.
    void saveToFile(const std::string& path) const;
    // The bytes that saveToFile writes.
    std::string linesAsFileBytes() const;

    // Caret: index of the character after it, counting characters of the text (CR LF as two).
    std::size_t selStart() const { return selStart_; }
    void setSelStart(std::size_t position);

    bool verticalScrollBar() const { return verticalScrollBar_; }
    void setVerticalScrollBar(bool shown) { setStyleField(verticalScrollBar_, shown); }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap) { setStyleField(wordWrap_, wrap); }
    bool sunkenBorder() const { return sunkenBorder_; }
    void setSunkenBorder(bool sunken) { setStyleField(sunkenBorder_, sunken); }
    bool flatBorder() const { return flatBorder_; }
    void setFlatBorder(bool flat) { setStyleField(flatBorder_, flat); }
    // Distance between tab stops, in average characters of the font.
    std::size_t tabStopWidth() const { return tabStopWidth_; }
    void setTabStopWidth(std::size_t characters) { setStyleField(tabStopWidth_, characters); }
    // Entries of the memo's context menu beyond text editing.
    std::vector<ContextAction> contextActions;

  private:
    std::size_t selStart_ = 0;
    bool verticalScrollBar_ = false;
    bool wordWrap_ = true;
    bool sunkenBorder_ = false;
    bool flatBorder_ = false;
    std::size_t tabStopWidth_ = 8;
};

// Turns lone CR and lone LF into CR LF; CR LF stays.
std::string AdjustLineBreaks(const std::string& text);

}  // namespace ui
