// varn encrypt / varn decrypt: IDEA file encryption, single or triple, in the window's format.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "app/file_messages.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/parsing.h"
#include "cli/passwords.h"
#include "cli/streams.h"
#include "crypt/crypt_operation.h"
#include "io/open_file.h"
#include "io/temporary_file.h"

namespace varn::cli {

namespace {

// The window's words for what ended the operation, with the file and the system's reason.
int Report(const QString& command, const CryptResult& result, bool decrypt) {
    const io::Failure& detail = result.failure ? result.failure : result.wipe;
    for (const MessageText& text : CryptResultTexts(result, decrypt)) {
        QString said = QString::fromStdString(RussianLocale() ? text.russian : text.english);
        said.replace('\n', ' ');
        if (detail) said += " (" + FailureText(detail) + ")";
        Say(command, said, kFailure);
    }
    return result.ok() && !result.wipe ? kSuccess : kFailure;
}

int Run(const QStringList& arguments, bool decrypt) {
    const QString command =
        decrypt ? QStringLiteral("varn decrypt") : QStringLiteral("varn encrypt");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString(decrypt ? "Decrypts FILE, encrypted by the Cipher tab or by varn encrypt,"
                        : "Encrypts FILE with IDEA as the Cipher tab does, a file the tab and\n"
                          "varn decrypt can decrypt,") +
        " into OUT or in place of FILE (whose old content is then\n"
        "overwritten). --triple uses three passwords, 3X. Passwords (up to 8 characters) are\n"
        "asked on the terminal without echo" +
        QString(decrypt ? "" : " and twice each") +
        ", or read one a line from --passphrase-file or\n--passphrase-fd; never from the "
        "command line." +
        QString(decrypt ? " A wrong password is refused before anything\nis written."
                        : " Ciphertext is not written to a terminal.") +
        "\n\nExit status: 0 done, 1 failure (a file, a password), 2 a wrong command line.");
    AddOutputOptions(parser, true);
    parser.addOption({"triple", "Three passwords, three passes (3X)."});
    parser.addOption({"passphrase-file", "Read the passwords from F, one a line.", "F"});
    parser.addOption(
        {"passphrase-fd", "Read the passwords from the open descriptor N, one a line.", "N"});
    parser.addPositionalArgument("FILE", "The file ('-': standard input).");
    const QString usage = command +
                          " [--triple] [--passphrase-file F | --passphrase-fd N] FILE "
                          "(-o OUT | --in-place) [--force]";
    const int parsed = ParseCommandLine(parser, arguments, command, usage);
    if (parsed >= 0) return parsed;
    std::string file;
    if (!OneFile(parser, command, file)) return kUsage;
    const bool inPlace = parser.isSet("in-place");
    if (inPlace == parser.isSet("output") || (inPlace && file == "-")) {
        return Say(command,
                   Tr("укажите -o OUT или --in-place (для именованного FILE)",
                      "give -o OUT or --in-place (with a named FILE)"),
                   kUsage);
    }
    PasswordSource passwordSource;
    if (parser.isSet("passphrase-file") && parser.isSet("passphrase-fd")) {
        return Say(command,
                   Tr("пароли — из файла или из дескриптора, не из обоих",
                      "give --passphrase-file or --passphrase-fd, not both"),
                   kUsage);
    }
    if (parser.isSet("passphrase-file"))
        passwordSource.file = NativeBytes(parser.value("passphrase-file"));
    if (parser.isSet("passphrase-fd")) {
        bool number = false;
        passwordSource.fd = parser.value("passphrase-fd").toInt(&number);
        if (!number || passwordSource.fd < 0)
            return Say(command, Tr("N — номер дескриптора", "N is a descriptor number"), kUsage);
    }
    if (passwordSource.fd == STDIN_FILENO && file == "-") {
        return Say(command,
                   Tr("стандартный ввод не может нести и пароли, и файл",
                      "standard input cannot carry both the passwords and the file"),
                   kUsage);
    }
    const std::string outName = inPlace ? file : NativeBytes(parser.value("output"));
    if (!inPlace) {
        if (outName == "-" && !decrypt && IsTerminal(STDOUT_FILENO)) {
            return Say(command,
                       Tr("шифротекст не выводится на терминал",
                          "refusing to write ciphertext to a terminal"),
                       kFailure);
        }
        const QString refused = RefusedOutput(
            outName, parser.isSet("force"), file,
            Tr("для замены самого FILE: --in-place", "use --in-place to replace FILE itself"));
        if (!refused.isEmpty()) return Say(command, refused, kFailure);
    }

    io::Failure failure;
    Input input;
    if (!input.Open(file, failure)) return Say(command, FailureText(failure), kFailure);
    struct stat info {};
    io::Fd source = io::OpenRegular(input.path(), inPlace ? O_RDWR : O_RDONLY, info, failure);
    if (!source.ok()) return Say(command, FailureText(input.Named(failure)), kFailure);

    std::vector<std::string> passwords;
    QString problem;
    const bool triple = parser.isSet("triple");
    if (!ReadPasswords(passwordSource, triple ? 3 : 1, !decrypt, passwords, problem))
        return Say(command, problem, kFailure);
    // 3X decryption undoes the layers in reverse: password 3, then 2, then 1.
    if (decrypt) std::reverse(passwords.begin(), passwords.end());

    if (inPlace) {
        source.Close();
        CryptRequest request;
        request.fileName = file;
        request.passwords = passwords;
        request.decrypt = decrypt;
        request.overwrite = true;
        return Report(command, RunCryptOperation(request), decrypt);
    }
    Output output;
    Output::Options options;
    options.content = Content::Bytes;
    options.seekable = true;
    options.mayReplace = parser.isSet("force");
    options.mode = info.st_mode & 07777;
    options.source = {source.get(), file, io::VersionOf(info)};
    if (!output.Open(outName, options, failure))
        return Say(command, FailureText(failure), kFailure);
    const std::string folder = output.IsStandardOutput() ? ScratchFolder() : io::FolderOf(outName);
    const CryptResult result = RunCryptPasses({source.get(), file}, {output.fd(), output.path()},
                                              folder, passwords, decrypt, {});
    if (!result.ok()) return Report(command, result, decrypt);
    if (!output.Finish(failure)) return Say(command, FailureText(failure), kFailure);
    return kSuccess;
}

}  // namespace

int RunEncrypt(const QStringList& arguments) {
    return Run(arguments, false);
}

int RunDecrypt(const QStringList& arguments) {
    return Run(arguments, true);
}

}  // namespace varn::cli
