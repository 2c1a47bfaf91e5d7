#include "cli/console.h"

#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "io/transfer.h"

namespace varn::cli {

bool RussianLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::strncmp(value, "ru", 2) == 0;
    }
    return false;
}

namespace {

void WriteError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    io::WriteAll(STDERR_FILENO, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

int Say(const QString& command, const QString& message, int status) {
    WriteError(command + ": " + message + "\n");
    return status;
}

QString NameOf(const std::string& path) {
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

QString FailureText(const io::Failure& failure) {
    const QString name = NameOf(failure.path);
    QString what;
    switch (failure.kind) {
        case io::FailureKind::None:
            return {};
        case io::FailureKind::Open:
            what = Tr("не открывается %1", "cannot open %1");
            break;
        case io::FailureKind::NotRegular:
            return Tr("%1 — не обычный файл", "%1 is not a regular file").arg(name);
        case io::FailureKind::Read:
            what = Tr("ошибка чтения %1", "cannot read %1");
            break;
        case io::FailureKind::Cancelled:
            return Tr("%1: операция отменена", "%1: the operation was cancelled").arg(name);
        case io::FailureKind::Create:
            what = Tr("не создаётся %1", "cannot create %1");
            break;
        case io::FailureKind::NotReplaceable:
            return Tr("%1 нельзя заменить: это не обычный файл",
                      "%1 cannot be replaced: it is not a regular file")
                .arg(name);
        case io::FailureKind::Write:
            what = Tr("ошибка записи %1", "cannot write %1");
            break;
        case io::FailureKind::Replace:
            if (failure.error == EEXIST)
                return Tr("%1 уже существует (замена: --force)",
                          "%1 exists (use --force to replace it)")
                    .arg(name);
            what = Tr("не удаётся поставить результат на место %1",
                      "cannot put the result in place of %1");
            break;
        case io::FailureKind::Changed:
            return Tr("%1 изменился во время работы; ничего не заменено",
                      "%1 changed during the operation; nothing was replaced")
                .arg(name);
        case io::FailureKind::NameTooLong:
            return Tr("имя %1 слишком длинное", "the name %1 is too long").arg(name);
    }
    what = what.arg(name);
    if (failure.error != 0) what += ": " + QString::fromLocal8Bit(std::strerror(failure.error));
    return what;
}

bool IsTerminal(int fd) {
    return ::isatty(fd) == 1;
}

std::string ForTerminal(std::string_view text, Encoding encoding) {
    const std::string utf8 = TextToUtf8(text, encoding);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
        .toLocal8Bit()
        .toStdString();
}

std::size_t WholeUtf8Prefix(std::string_view text) {
    // Back over at most three continuation bytes to the lead byte of the last character.
    std::size_t start = text.size();
    for (int back = 0; back < 4 && start > 0; ++back) {
        const auto byte = static_cast<unsigned char>(text[start - 1]);
        --start;
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte < 0x80    ? 1
                                       : byte >= 0xF0 ? 4
                                       : byte >= 0xE0 ? 3
                                       : byte >= 0xC0 ? 2
                                                      : 1;
            return start + length <= text.size() ? text.size() : start;
        }
    }
    return text.size();
}

void EndOnClosedPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    std::_Exit(141);
}

bool WriteOut(int fd, const void* data, std::size_t size) {
    if (io::WriteAll(fd, data, size)) return true;
    if (errno == EPIPE) EndOnClosedPipe();
    return false;
}

TerminalProgress::TerminalProgress(QString label)
    : label_(std::move(label)), shown_(IsTerminal(STDERR_FILENO)) {}

TerminalProgress::~TerminalProgress() {
    if (shown_ && drawn_ >= 0) WriteError("\n");
}

void TerminalProgress::SetMax(std::uint64_t max) {
    max_ = max;
    Draw();
}
void TerminalProgress::SetPosition(std::uint64_t position) {
    position_ = position;
    Draw();
}
void TerminalProgress::Advance(std::uint64_t steps) {
    position_ += steps;
    Draw();
}
void TerminalProgress::Fill() {
    position_ = max_;
    Draw();
}

void TerminalProgress::Draw() {
    if (!shown_) return;
    const std::uint64_t position = std::min(position_, max_);
    const int percent = max_ == 0 ? 100 : static_cast<int>(position * 100 / max_);
    if (percent == drawn_) return;
    drawn_ = percent;
    WriteError(QString("\r%1: %2%").arg(label_).arg(percent));
}

}  // namespace varn::cli
