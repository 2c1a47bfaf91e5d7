#include "cli/parsing.h"

#include <QRegularExpression>
#include <optional>

#include "analysis/builtin_standards.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "io/failure.h"
#include "text/detect_encoding.h"
#include "ui/cp1251.h"
#include "ui/memo.h"

namespace varn::cli {

int ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                     const QString& command, const QString& usage) {
    parser.addHelpOption();
    if (!parser.parse(arguments)) {
        return Say(command, parser.errorText() + Tr(" (см. ", " (see ") + command + " --help)",
                   kUsage);
    }
    if (parser.isSet("help")) {
        // The toolkit names the program by its path; the subcommand belongs in the usage line.
        QString help = parser.helpText();
        help.replace(QRegularExpression("^Usage: \\S+ \\[options\\][^\n]*"), "Usage: " + usage);
        const QByteArray bytes = help.toLocal8Bit();
        WriteOut(1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return kSuccess;
    }
    return -1;
}

bool OneFile(const QCommandLineParser& parser, const QString& command, std::string& file) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        Say(command,
            Tr("нужен ровно один FILE (см. ", "give exactly one FILE (see ") + command + " --help)",
            kUsage);
        return false;
    }
    file = NativeBytes(files.first());
    return true;
}

void AddStandardOptions(QCommandLineParser& parser) {
    parser.addOption({"standard",
                      "The standard: a file of letters from the most frequent down "
                      "(Windows-1251), as the Standard tab loads it.",
                      "FILE"});
    parser.addOption({"builtin",
                      "A built-in standard: ru, en (from the most frequent letter down), ru-asc, "
                      "en-asc (from the rarest up).",
                      "NAME"});
    parser.addOption({"ascending", "Sort the table from the rarest letter up."});
}

void AddEncodingOption(QCommandLineParser& parser) {
    parser.addOption({{"e", "encoding"},
                      "The encoding of FILE, in which the result is written too: auto (the "
                      "default: found in FILE), windows-1251, utf-8, koi8-r or cp866.",
                      "NAME",
                      "auto"});
}

void AddKeepCaseOption(QCommandLineParser& parser) {
    parser.addOption({"keep-case",
                      "Write the partner of a capital as a capital (\"Keep case\" of the New "
                      "file tab); without it every letter comes out as the standard has it."});
}

CapitalPartner CapitalPartnerOf(const QCommandLineParser& parser) {
    return parser.isSet("keep-case") ? CapitalPartner::Capital : CapitalPartner::AsInStandard;
}

bool ChooseEncoding(const QCommandLineParser& parser, const QString& command,
                    const std::string& path, Encoding& encoding, int& status) {
    const QString name = parser.value("encoding");
    if (name != "auto") {
        const std::optional<Encoding> named = ParseEncoding(name.toStdString());
        if (!named) {
            status = Say(command,
                         Tr("кодировка — auto, windows-1251, utf-8, koi8-r или cp866, не '",
                            "the encoding is auto, windows-1251, utf-8, koi8-r or cp866, not '") +
                             name + "'",
                         kUsage);
            return false;
        }
        encoding = *named;
        return true;
    }
    try {
        encoding = DetectFileEncoding(path);
    } catch (const io::FileError& error) {
        status = Say(command, FailureText(error.failure()), kFailure);
        return false;
    }
    return true;
}

void AddOutputOptions(QCommandLineParser& parser, bool inPlace) {
    parser.addOption({{"o", "output"}, "Write the result to OUT ('-': standard output).", "OUT"});
    if (inPlace) parser.addOption({"in-place", "Replace FILE itself with the result."});
    parser.addOption({"force", "Replace OUT when it exists."});
}

bool ChooseStandard(const QCommandLineParser& parser, const QString& command, bool ascending,
                    StandardChoice& choice, int& status) {
    status = kUsage;
    if (parser.isSet("standard") == parser.isSet("builtin")) {
        Say(command,
            Tr("укажите --standard FILE или --builtin NAME",
               "give --standard FILE or --builtin NAME"),
            kUsage);
        return false;
    }
    ui::Memo standard("Memo1", nullptr, {});
    if (parser.isSet("builtin")) {
        const QString name = parser.value("builtin");
        const struct {
            const char* name;
            const char* letters;
            int direction;
        } builtins[] = {{"ru", kRussianDescending, 0},
                        {"en", kEnglishDescending, 0},
                        {"ru-asc", kRussianAscending, 1},
                        {"en-asc", kEnglishAscending, 1}};
        bool found = false;
        for (const auto& builtin : builtins) {
            if (name == builtin.name) {
                standard.setText(builtin.letters);
                choice.direction = builtin.direction;
                found = true;
            }
        }
        if (!found) {
            Say(command,
                Tr("встроенный эталон — ru, en, ru-asc или en-asc, не '",
                   "the built-in standard is ru, en, ru-asc or en-asc, not '") +
                    name + "'",
                kUsage);
            return false;
        }
    } else {
        try {
            standard.loadFromFile(NativeBytes(parser.value("standard")));
        } catch (const io::FileError& error) {
            status = Say(command, FailureText(error.failure()), kFailure);
            return false;
        }
        choice.direction = 0;
    }
    if (ascending) choice.direction = 1;
    choice.bytes = ui::EncodeCp1251(standard.text());
    if (choice.bytes.empty()) {
        status = Say(command, Tr("эталон пуст", "the standard is empty"), kFailure);
        return false;
    }
    return true;
}

}  // namespace varn::cli
