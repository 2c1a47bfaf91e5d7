// varn: the program's operations on the command line, one subcommand each.
#include <QCoreApplication>
#include <QTextStream>
#include <csignal>
#include <cstdio>

#include "cli/arguments.h"
#include "cli/command.h"

namespace {

using varn::cli::Command;

const Command kCommands[] = {
    {"count", "count the letters of a file: the result table", varn::cli::RunCount},
    {"substitute", "replace every letter by its partner from a standard", varn::cli::RunSubstitute},
    {"solve", "find the substitution key of a ciphertext and decipher it", varn::cli::RunSolve},
    {"caesar", "encipher or decipher a file with the 3V Caesar cipher", varn::cli::RunCaesar},
    {"encrypt", "encrypt a file with IDEA (--triple: 3X)", varn::cli::RunEncrypt},
    {"decrypt", "decrypt a file encrypted with IDEA (--triple: 3X)", varn::cli::RunDecrypt},
    {"passgen", "generate passwords", varn::cli::RunPassgen},
};

void PrintUsage(FILE* stream) {
    QTextStream out(stream);
    out << "Usage: varn COMMAND [OPTIONS] [ARGUMENTS]\n"
           "  or:  varn COMMAND --help\n"
           "  or:  varn --version\n\n"
           "The operations of the Ostrel Varn window on the command line: each writes the same\n"
           "bytes as the window. Messages go to standard error; exit status 0 done, 1 failure,\n"
           "2 a wrong command line.\n\n"
           "Commands:\n";
    for (const Command& command : kCommands)
        out << "  " << QString(command.name).leftJustified(12) << command.summary << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe shows as EPIPE on the write; the writer then ends quietly, as by the signal,
    // once nothing of its own is left behind.
    std::signal(SIGPIPE, SIG_IGN);
    // A file that outgrows its limit is a failed write to clean up after, not a reason to die.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("varn");
    QCoreApplication::setApplicationVersion(QStringLiteral("3.8"));
    // File names are bytes: the arguments are taken as they came, not through the locale.
    QStringList arguments = varn::cli::ArgumentsOf(argc, argv);
    if (arguments.size() < 2) {
        PrintUsage(stderr);
        return varn::cli::kUsage;
    }
    const QString name = arguments.at(1);
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return varn::cli::kSuccess;
    }
    if (name == "--version") {
        QTextStream(stdout) << "varn 3.8\n";
        return varn::cli::kSuccess;
    }
    for (const Command& command : kCommands) {
        if (name == command.name) {
            arguments.removeAt(1);
            arguments[0] = QStringLiteral("varn ") + command.name;
            return command.run(arguments);
        }
    }
    QTextStream(stderr) << "varn: unknown command '" << name << "'\n";
    PrintUsage(stderr);
    return varn::cli::kUsage;
}
