#include "cli/passwords.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "cli/console.h"
#include "io/fd.h"
#include "io/transfer.h"
#include "ui/cp1251.h"

namespace varn::cli {

namespace {

constexpr std::size_t kLongestPassword = 8;
constexpr std::size_t kMostPasswordBytes = 64 * 1024;

// The terminal's settings while echo is off, restored however the program is stopped.
int gTerminal = -1;
termios gSaved{};

void RestoreTerminal() {
    if (gTerminal >= 0) ::tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
}

extern "C" void RestoreAndStop(int signal) {
    RestoreTerminal();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Put(int fd, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    io::WriteAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// One line from the terminal with echo off.
bool AskLine(int tty, const QString& prompt, std::string& line) {
    termios quiet{};
    if (::tcgetattr(tty, &gSaved) != 0) return false;
    quiet = gSaved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
    gTerminal = tty;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
        std::signal(signal, RestoreAndStop);
    // Echo goes off before the prompt shows, so nothing typed after it is ever shown.
    const bool quieted = ::tcsetattr(tty, TCSAFLUSH, &quiet) == 0;
    Put(tty, prompt);
    line.clear();
    bool ended = false;
    for (char c = 0; quieted;) {
        const ssize_t got = ::read(tty, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (c == '\n') {
            ended = true;
            break;
        }
        line += c;
    }
    RestoreTerminal();
    gTerminal = -1;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
        std::signal(signal, SIG_DFL);
    Put(tty, "\n");
    return ended;
}

// Reads up to `lines` lines and no further, a byte at a time: the rest of a descriptor (a pipe
// that also carries other data, a terminal) is left unread.
bool ReadLines(int fd, std::size_t lines, std::string& bytes) {
    for (std::size_t ends = 0; ends < lines && bytes.size() < kMostPasswordBytes;) {
        unsigned char c = 0;
        const std::int64_t got = io::ReadUpTo(fd, &c, 1);
        if (got < 0) return false;
        if (got == 0) break;
        bytes += static_cast<char>(c);
        if (c == '\n') ++ends;
    }
    return true;
}

std::string Cp1251Of(const std::string& local) {
    return ui::EncodeCp1251(
        QString::fromLocal8Bit(local.data(), static_cast<qsizetype>(local.size()))
            .toUtf8()
            .toStdString());
}

bool Check(const std::string& password, QString& error) {
    if (password.empty()) {
        error = Tr("Задайте пароль.", "Enter password.");
        return false;
    }
    if (password.size() > kLongestPassword) {
        error = Tr("Пароль не должен быть длиннее 8 символов.",
                   "The Password must not be longer 8 symbols.");
        return false;
    }
    return true;
}

}  // namespace

bool ReadPasswords(const PasswordSource& source, std::size_t count, bool confirm,
                   std::vector<std::string>& passwords, QString& error) {
    passwords.clear();
    if (!source.file.empty() || source.fd >= 0) {
        std::string bytes;
        bool read = false;
        if (!source.file.empty()) {
            const io::Fd fd(::open(source.file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
            read = fd.ok() && ReadLines(fd.get(), count, bytes);
        } else {
            read = ReadLines(source.fd, count, bytes);
        }
        if (!read) {
            error = Tr("пароль не читается: ", "cannot read the password: ") +
                    QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        std::size_t start = 0;
        while (passwords.size() < count && start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos) end = bytes.size();
            std::string line = bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            passwords.push_back(Cp1251Of(line));
            start = end + 1;
        }
        if (passwords.size() < count) {
            error = Tr("нужно паролей: %1, по одному в строке", "%1 passwords needed, one a line")
                        .arg(count);
            return false;
        }
    } else {
        const io::Fd tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
        if (!tty.ok()) {
            error = Tr("нет терминала для пароля: --passphrase-file или --passphrase-fd",
                       "no terminal to ask the password: use --passphrase-file or "
                       "--passphrase-fd");
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const QString number = count > 1 ? QString(" %1").arg(i + 1) : QString();
            std::string first, again;
            if (!AskLine(tty.get(), Tr("Пароль%1: ", "Password%1: ").arg(number), first)) {
                error = Tr("пароль не введён", "no password given");
                return false;
            }
            if (confirm) {
                if (!AskLine(tty.get(), Tr("Ещё раз: ", "Again: "), again)) {
                    error = Tr("пароль не введён", "no password given");
                    return false;
                }
                if (first != again) {
                    error = Tr("пароли не совпадают", "the passwords do not match");
                    return false;
                }
            }
            passwords.push_back(Cp1251Of(first));
        }
    }
    for (const std::string& password : passwords)
        if (!Check(password, error)) return false;
    return true;
}

}  // namespace varn::cli
