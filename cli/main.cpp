// varn: the program's operations on the command line, one subcommand each.
#include <QCoreApplication>
#include <QTextStream>
#include <csignal>
#include <cstdio>

#include "cli/command.h"

namespace {

using varn::cli::Command;

const Command kCommands[] = {
    {"solve", "find the substitution key of a ciphertext and decipher it", varn::cli::RunSolve},
};

void PrintUsage(FILE* stream) {
    QTextStream out(stream);
    out << "Usage: varn COMMAND [OPTIONS] [ARGUMENTS]\n"
           "       varn COMMAND --help\n\n"
           "Commands:\n";
    for (const Command& command : kCommands)
        out << "  " << QString(command.name).leftJustified(10) << command.summary << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe is a write error to report, not a reason to die silently.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("varn");
    QCoreApplication::setApplicationVersion(QStringLiteral("3.8"));
    QStringList arguments = QCoreApplication::arguments();
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
