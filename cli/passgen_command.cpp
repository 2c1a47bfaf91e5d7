// varn passgen: passwords from the generator of the Cipher tab, one a line.
#include <unistd.h>

#include "cli/command.h"
#include "cli/console.h"
#include "cli/parsing.h"
#include "passgen/password_generator.h"
#include "passgen/system_random_source.h"

namespace varn::cli {

int RunPassgen(const QStringList& arguments) {
    const QString command = QStringLiteral("varn passgen");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes passwords of distinct characters drawn from the kernel's cryptographic random\n"
        "source, as the password generator of the Cipher tab makes them, one a line (Windows-1251\n"
        "into a file or pipe, the terminal's encoding on a terminal).\n\n"
        "Exit status: 0 done, 1 failure, 2 a wrong command line.");
    parser.addOption({"length", "Characters a password, 1 to 25 (8 by default).", "1..25", "8"});
    parser.addOption({"set",
                      "latin (printable ASCII), cyrillic (the Cyrillic letters) or both (the "
                      "default).",
                      "latin|cyrillic|both", "both"});
    parser.addOption({"count", "How many passwords (1 by default).", "N", "1"});
    const int parsed =
        ParseCommandLine(parser, arguments, command,
                         "varn passgen [--length 1..25] [--set latin|cyrillic|both] [--count N]");
    if (parsed >= 0) return parsed;
    if (!parser.positionalArguments().isEmpty())
        return Say(command, Tr("лишние аргументы", "unexpected arguments"), kUsage);
    bool number = false;
    const int length = parser.value("length").toInt(&number);
    if (!number || length < 1 || length > kMaxPasswordLength)
        return Say(command, Tr("длина — от 1 до 25", "the length is 1 to 25"), kUsage);
    const long long count = parser.value("count").toLongLong(&number);
    if (!number || count < 1)
        return Say(command, Tr("число паролей — от 1", "the count is 1 or more"), kUsage);
    const QString set = parser.value("set");
    if (set != "latin" && set != "cyrillic" && set != "both") {
        return Say(command,
                   Tr("набор — latin, cyrillic или both", "the set is latin, cyrillic or both"),
                   kUsage);
    }
    const PasswordRequest request{set != "cyrillic", set != "latin", std::to_string(length)};
    const bool terminal = IsTerminal(STDOUT_FILENO);
    SystemRandomSource random;
    try {
        for (long long i = 0; i < count; ++i) {
            const std::optional<PasswordResult> result = GeneratePassword(request, random);
            const std::string line =
                (terminal ? ForTerminal(result->password) : result->password) + "\n";
            if (!WriteOut(STDOUT_FILENO, line.data(), line.size())) {
                return Say(command, FailureText(io::FailureNow(io::FailureKind::Write, "-")),
                           kFailure);
            }
        }
    } catch (const std::exception& error) {
        return Say(command, QString::fromLocal8Bit(error.what()), kFailure);
    }
    return kSuccess;
}

}  // namespace varn::cli
