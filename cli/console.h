#pragma once

// What the program says and shows: messages on standard error in the user's language, text for
// a terminal in its encoding, progress only where someone watches it.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

#include "io/failure.h"
#include "text/encoding.h"
#include "text/progress.h"

namespace varn::cli {

// Russian when the locale's language is Russian (LC_ALL, LC_MESSAGES, LANG, first set wins).
bool RussianLocale();
inline QString Tr(const char* russian, const char* english) {
    return QString::fromUtf8(RussianLocale() ? russian : english);
}

// "varn COMMAND: message" on standard error; returns `status`.
int Say(const QString& command, const QString& message, int status);

// A file name for a message: its bytes shown as the terminal would show the name.
QString NameOf(const std::string& path);

// What failed with a file, in words.
QString FailureText(const io::Failure& failure);

// Whether the descriptor is a terminal.
bool IsTerminal(int fd);

// A text in `encoding` as the terminal's encoding shows it.
std::string ForTerminal(std::string_view text, Encoding encoding = Encoding::Windows1251);

// The length of the longest start of a UTF-8 text that ends on a whole character: a buffer
// converted piece by piece must not split one.
std::size_t WholeUtf8Prefix(std::string_view text);

// Writes all bytes to the descriptor. A reader that has gone away (a closed pipe) ends the
// program quietly, as a signal would. False with errno on any other failure.
bool WriteOut(int fd, const void* data, std::size_t size);

// Ends the program the way a write into a closed pipe does.
[[noreturn]] void EndOnClosedPipe();

// A progress bar drawn on standard error, only when it is a terminal: "label: 42%".
class TerminalProgress : public Progress {
  public:
    explicit TerminalProgress(QString label);
    ~TerminalProgress() override;
    void SetMax(std::uint64_t max) override;
    void SetPosition(std::uint64_t position) override;
    void Advance(std::uint64_t steps) override;
    void Fill() override;

  private:
    void Draw();

    QString label_;
    bool shown_;
    std::uint64_t max_ = 0;
    std::uint64_t position_ = 0;
    int drawn_ = -1;
};

}  // namespace varn::cli
