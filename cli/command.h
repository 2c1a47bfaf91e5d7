#pragma once

#include <QStringList>

namespace varn::cli {

// Exit statuses of every subcommand.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;  // the work could not be done (file, text)
inline constexpr int kUsage = 2;    // the command line is wrong

// A subcommand: its name, a one-line summary for `varn --help`, and its entry, which gets the
// arguments after its name, with the program's name first, and returns the exit status.
struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

int RunCount(const QStringList& arguments);
int RunSubstitute(const QStringList& arguments);
int RunSolve(const QStringList& arguments);
int RunCaesar(const QStringList& arguments);
int RunEncrypt(const QStringList& arguments);
int RunDecrypt(const QStringList& arguments);
int RunPassgen(const QStringList& arguments);

}  // namespace varn::cli
