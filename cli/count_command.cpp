// varn count: the letter table of a file, on a standard or of all its characters.
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "analysis/letter_count.h"
#include "analysis/letter_statistics.h"
#include "analysis/result_rows.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/parsing.h"
#include "cli/streams.h"
#include "ui/cp1251.h"
#include "ui/memo.h"

namespace varn::cli {

namespace {

const QString kCommand = QStringLiteral("varn count");

enum class Format { Table, Csv, Json };

// The counted table and what the rows show.
struct Count {
    LetterTable table{};
    std::uint64_t total = 0;
    bool all = false;
    std::string standard;  // on a standard: its bytes as the count cut them
};

// The entries that make rows, in table order.
std::vector<const LetterEntry*> RowEntries(const Count& count) {
    std::vector<const LetterEntry*> entries;
    for (const LetterEntry& entry : count.table) {
        if (count.all ? entry.count > 0 : InEtalon(entry.character, count.standard))
            entries.push_back(&entry);
    }
    return entries;
}

// The bytes "Save..." writes for the table the Count tab shows: in the encoding of the file
// counted. Characters that encoding cannot hold are left out and collected in `missing`.
std::string TableBytes(const Count& count, Encoding encoding, std::string& missing) {
    const bool russian = RussianLocale();
    ui::Memo memo("Memo2", nullptr, {});
    const auto add = [&memo](const std::vector<std::string>& lines, bool cp1251) {
        for (const std::string& line : lines) memo.addLine(cp1251 ? ui::DecodeCp1251(line) : line);
    };
    if (count.all) {
        add(AllRows(count.table, count.total).rows, true);
        add(AllSummary(count.total, russian), false);
    } else {
        add(EtalonRows(count.table, count.standard, count.total), true);
        add(EtalonSummary(count.total, russian), false);
    }
    if (encoding == Encoding::Windows1251) return memo.linesAsFileBytes();
    std::string bytes;
    for (const std::string& line : memo.lines()) {
        std::string lost;
        bytes += Utf8ToText(line, encoding, lost) + "\r\n";
        if (missing.find(lost) == std::string::npos) missing += lost;
    }
    return bytes;
}

std::string PercentText(std::uint64_t count, std::uint64_t total) {
    const std::uint64_t thousandths = PercentageThousandths(count, total);
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llu",
                  static_cast<unsigned long long>(thousandths / 1000),
                  static_cast<unsigned long long>(thousandths % 1000));
    return text;
}

std::string Utf8Of(unsigned char character) {
    return ui::DecodeCp1251(std::string(1, static_cast<char>(character)));
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Scripts' forms (UTF-8): one record per row with the code, the character, the count, the
// percentage as the table shows it and, on a standard, the paired letter.
std::string CsvBytes(const Count& count) {
    std::string out = count.all ? "code,character,count,percent\n"
                                : "code,character,count,percent,paired_code,paired\n";
    for (const LetterEntry* entry : RowEntries(count)) {
        out += std::to_string(entry->character) + "," + CsvField(Utf8Of(entry->character)) + "," +
               std::to_string(entry->count) + "," + PercentText(entry->count, count.total);
        if (!count.all)
            out += "," + std::to_string(entry->paired) + "," + CsvField(Utf8Of(entry->paired));
        out += "\n";
    }
    return out;
}

std::string JsonBytes(const Count& count) {
    std::string out = "{\"total\": " + std::to_string(count.total) +
                      ", \"mode\": " + (count.all ? "\"all\"" : "\"standard\"") + ", \"rows\": [";
    bool first = true;
    for (const LetterEntry* entry : RowEntries(count)) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"code\": " + std::to_string(entry->character) +
               ", \"character\": " + JsonString(Utf8Of(entry->character)) +
               ", \"count\": " + std::to_string(entry->count) +
               ", \"percent\": " + PercentText(entry->count, count.total);
        if (!count.all) {
            out += ", \"paired_code\": " + std::to_string(entry->paired) +
                   ", \"paired\": " + JsonString(Utf8Of(entry->paired));
        }
        out += "}";
    }
    return out + (first ? "]}\n" : "\n]}\n");
}

}  // namespace

int RunCount(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Counts the letters of FILE as the Count tab does and writes the result table to\n"
        "standard output: \"On standard\" (the default, with a standard chosen by --standard or\n"
        "--builtin) or \"All\" (--all, every character of the file). The table is the bytes\n"
        "that \"Save...\" writes; csv and json give the same rows for scripts (UTF-8).\n"
        "--stats writes the letter statistics instead: the index of coincidence, chi-squared\n"
        "against the language's frequencies and the entropy, with what they suggest.\n\n"
        "Exit status: 0 done, 1 a file cannot be read, 2 a wrong command line.");
    parser.addOption({"all", "Count every character of the file (\"All\")."});
    AddStandardOptions(parser);
    parser.addOption({"format", "table (the default), csv or json.", "table|csv|json", "table"});
    parser.addOption({"stats",
                      "Write the index of coincidence, chi-squared and entropy of the letters "
                      "instead of the table."});
    AddEncodingOption(parser);
    parser.addPositionalArgument("FILE", "The file under study ('-': standard input).");
    const int parsed =
        ParseCommandLine(parser, arguments, kCommand,
                         "varn count [--all] [--standard FILE | --builtin NAME] [--ascending] "
                         "[--format table|csv|json | --stats] [--encoding NAME] FILE");
    if (parsed >= 0) return parsed;

    std::string file;
    if (!OneFile(parser, kCommand, file)) return kUsage;
    const QString formatName = parser.value("format");
    const Format format = formatName == "csv"    ? Format::Csv
                          : formatName == "json" ? Format::Json
                                                 : Format::Table;
    if (format == Format::Table && formatName != "table") {
        return Say(
            kCommand,
            Tr("формат — table, csv или json, не '", "the format is table, csv or json, not '") +
                formatName + "'",
            kUsage);
    }
    const bool stats = parser.isSet("stats");
    if (stats && (parser.isSet("standard") || parser.isSet("builtin") || parser.isSet("all") ||
                  parser.isSet("format"))) {
        return Say(kCommand,
                   Tr("--stats считает все буквы файла, без эталона и формата",
                      "--stats counts every letter of the file, without a standard or format"),
                   kUsage);
    }
    Count count;
    count.all = parser.isSet("all");
    StandardChoice standard;
    if (!count.all && !stats) {
        int status = kUsage;
        if (!ChooseStandard(parser, kCommand, parser.isSet("ascending"), standard, status))
            return status;
    } else if (parser.isSet("standard") || parser.isSet("builtin")) {
        return Say(kCommand, Tr("--all считает без эталона", "--all counts without a standard"),
                   kUsage);
    }
    const int direction = count.all ? (parser.isSet("ascending") ? 1 : 0) : standard.direction;

    io::Failure failure;
    Input input;
    if (!input.Open(file, failure)) return Say(kCommand, FailureText(failure), kFailure);
    Encoding encoding = Encoding::Windows1251;
    {
        int status = kUsage;
        if (!ChooseEncoding(parser, kCommand, input.path(), encoding, status)) return status;
    }
    CountOptions counting;
    counting.encoding = encoding;
    std::string statistics;
    try {
        TerminalProgress bar(Tr("подсчёт", "counting"));
        if (stats) {
            ByteCounts raw{};
            bar.SetMax(0);
            CountFileBytes(
                input.path(), raw, [&bar](std::uint64_t size) { bar.SetMax(size / kProgressStep); },
                [&bar](std::uint64_t steps) { bar.Advance(steps); }, counting);
            bar.Fill();
            statistics = LetterStatisticsReport(raw, RussianLocale());
        } else if (count.all) {
            count.total = CountAll(count.table, input.path(), direction, bar, counting);
        } else {
            count.standard = standard.bytes;
            struct : Progress {
                void SetMax(std::uint64_t) override {}
                void SetPosition(std::uint64_t) override {}
                void Advance(std::uint64_t) override {}
                void Fill() override {}
            } second;
            count.total = CountOnEtalon(count.table, count.standard, input.path(), direction, bar,
                                        second, counting);
        }
    } catch (const io::FileError& error) {
        return Say(kCommand, FailureText(input.Named(error.failure())), kFailure);
    }

    if (stats) {
        const std::string shown =
            IsTerminal(STDOUT_FILENO) ? ForTerminal(statistics, Encoding::Utf8) : statistics;
        if (!WriteOut(STDOUT_FILENO, shown.data(), shown.size())) {
            return Say(kCommand, FailureText(io::FailureNow(io::FailureKind::Write, "-")),
                       kFailure);
        }
        return kSuccess;
    }
    std::string missing;
    const std::string bytes = format == Format::Table ? TableBytes(count, encoding, missing)
                              : format == Format::Csv ? CsvBytes(count)
                                                      : JsonBytes(count);
    if (!missing.empty()) {
        return Say(kCommand,
                   Tr("в кодировке файла нет символов таблицы: ",
                      "the file's encoding cannot hold characters of the table: ") +
                       QString::fromUtf8(missing.data(), static_cast<qsizetype>(missing.size())),
                   kFailure);
    }
    const std::string shown =
        format == Format::Table && IsTerminal(STDOUT_FILENO) ? ForTerminal(bytes, encoding) : bytes;
    if (!WriteOut(STDOUT_FILENO, shown.data(), shown.size())) {
        return Say(kCommand, FailureText(io::FailureNow(io::FailureKind::Write, "-")), kFailure);
    }
    return kSuccess;
}

}  // namespace varn::cli
