#pragma once

// The parts every subcommand's command line shares.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>

#include "analysis/replace_letters.h"
#include "text/encoding.h"

namespace varn::cli {

// Parses `arguments`. A wrong command line is told on standard error and gives kUsage; --help
// prints the help (with `usage` as its first line) and gives kSuccess; otherwise -1: go on.
int ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                     const QString& command, const QString& usage);

// The one positional FILE, or a usage error told on standard error (false).
bool OneFile(const QCommandLineParser& parser, const QString& command, std::string& file);

// The standard chosen by --standard FILE or --builtin NAME, as the standard editor holds it
// (Windows-1251 bytes, every line break CR LF), and the direction its choice sets. False after
// telling what is wrong (status in `status`).
struct StandardChoice {
    std::string bytes;
    int direction = 0;
};
bool ChooseStandard(const QCommandLineParser& parser, const QString& command, bool ascending,
                    StandardChoice& choice, int& status);

// The options of the standard, shared by count and substitute.
void AddStandardOptions(QCommandLineParser& parser);

// "--encoding NAME" of the file read: auto (found in the file), or one of the four encodings.
void AddEncodingOption(QCommandLineParser& parser);

// "--keep-case": a capital's partner is written as a capital, as "Keep case" on the New file tab
// does.
void AddKeepCaseOption(QCommandLineParser& parser);
CapitalPartner CapitalPartnerOf(const QCommandLineParser& parser);

// The encoding --encoding names, or the one found in `path` for auto. False after telling what
// is wrong (status in `status`: kUsage for a wrong name, kFailure for a file that cannot be read).
bool ChooseEncoding(const QCommandLineParser& parser, const QString& command,
                    const std::string& path, Encoding& encoding, int& status);

// "-o OUT" and --force.
void AddOutputOptions(QCommandLineParser& parser, bool inPlace);

}  // namespace varn::cli
