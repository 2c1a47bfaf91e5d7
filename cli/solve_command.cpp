// varn solve: finds the standard that deciphers a simple substitution and writes the plaintext.
#include <unistd.h>

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QTextStream>
#include <exception>

#include "analysis/letter_count.h"
#include "analysis/replace_letters.h"
#include "analysis/solve/key_standard.h"
#include "analysis/solve/solver.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/deciphered_output.h"
#include "cli/parsing.h"
#include "cli/streams.h"
#include "text/byte_count.h"
#include "text/detect_encoding.h"
#include "text/encoding.h"

namespace varn::cli {

namespace {

using solve::Language;

const char* LanguageName(Language language) {
    return language == Language::Russian ? "Russian" : "English";
}

std::uint64_t LettersOf(const ByteCounts& counts, Language language) {
    const solve::Alphabet alphabet(language);
    std::uint64_t letters = 0;
    for (int b = 0; b < 256; ++b)
        if (alphabet.symbolOf(static_cast<unsigned char>(b)) != alphabet.boundary())
            letters += counts[b];
    return letters;
}

// The language with more letters in the file; English on a tie.
Language GuessLanguage(const std::string& path, Encoding encoding) {
    ByteCounts counts{};
    CountOptions options;
    options.encoding = encoding;
    CountFileBytes(
        path, counts, [](std::uint64_t) {}, [](std::uint64_t) {}, options);
    return LettersOf(counts, Language::Russian) > LettersOf(counts, Language::English)
               ? Language::Russian
               : Language::English;
}

int Fail(const QString& message) {
    QTextStream(stderr) << "varn solve: " << message << "\n";
    return kFailure;
}

// How far to trust the answer: the model's cost of it beside the language's own and a random
// key's, and the confidence drawn from them.
QString Assessment(const solve::Solution& solution, Language language) {
    return QString(
               "%1 letters of %2%3: %4 bits per letter (the language's own text %5, a random "
               "key %6); confidence %7")
        .arg(solution.letters)
        .arg(LanguageName(language))
        .arg(solution.spacing == solve::Spacing::LettersOnly ? " without word boundaries" : "")
        .arg(solution.bitsPerLetter, 0, 'f', 2)
        .arg(solution.languageBitsPerLetter, 0, 'f', 2)
        .arg(solution.randomBitsPerLetter, 0, 'f', 2)
        .arg(solution.confidence, 0, 'f', 2);
}

}  // namespace

int RunSolve(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Finds the standard that deciphers FILE, a text whose letters were replaced by other\n"
        "letters of the same language (simple substitution), and writes to standard output the\n"
        "bytes that \"Create...\" of the New file tab writes with that standard: the plaintext,\n"
        "letters in lower case (with --keep-case, capitals where FILE has capitals), in the\n"
        "encoding of FILE (Windows-1251 and CP866 with line ends as CR LF and nothing after a\n"
        "byte 26, UTF-8 and KOI8-R with their line ends kept).\n"
        "The standard is written from the most frequent letter down, with a space, as the\n"
        "built-in descending standards are.\n\n"
        "When the answer may be wrong (a short text, or one not quite of the language), a warning\n"
        "goes to standard error; --verbose says how sure the answer is in any case.\n\n"
        "Exit status: 0 done, 1 the file cannot be read, holds too few letters (fewer than 30)\n"
        "of the language, or does not read as a substitution of it (random bytes, a binary\n"
        "file), 2 a wrong command line. Messages go to standard error.");
    parser.addHelpOption();
    const QCommandLineOption language(
        {"l", "language"},
        "The language of the plaintext: ru or en. Without it, the one with more letters in FILE.",
        "ru|en");
    const QCommandLineOption standardOnly(
        {"s", "standard"},
        "Print the found standard instead (in the encoding of FILE, one line) for the window's "
        "standard editor.");
    const QCommandLineOption encodingOption(
        {"e", "encoding"},
        "The encoding of FILE, in which the plaintext is written too: auto (the default: found "
        "in FILE), windows-1251, utf-8, koi8-r or cp866.",
        "name", "auto");
    const QCommandLineOption verbose(
        {"v", "verbose"},
        "Say on standard error the encoding FILE is read in (\"(KOI8-R reads as well)\" after "
        "Windows-1251 when the bytes cannot tell the two apart, as in a text of capitals only), "
        "and how sure the answer is: the "
        "model's cost of the plaintext in bits per letter, beside what the language's own text "
        "and a random key cost, and the confidence (0 to 1) drawn from them.");
    parser.addOption(language);
    parser.addOption(standardOnly);
    parser.addOption(encodingOption);
    parser.addOption(verbose);
    AddKeepCaseOption(parser);
    parser.addOption({{"o", "output"},
                      "Write to OUT instead of standard output ('-': standard output).",
                      "OUT"});
    parser.addOption({"force", "Replace OUT when it exists."});
    parser.addPositionalArgument("FILE", "The ciphertext.");
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << "varn solve: " << parser.errorText() << "\n";
        return kUsage;
    }
    if (parser.isSet("help")) {
        // The toolkit names the program by its path; the subcommand belongs in the usage line.
        QString help = parser.helpText();
        help.replace(QRegularExpression("^Usage: \\S+ \\[options\\]"),
                     "Usage: varn solve [--language ru|en] [--encoding NAME] [--verbose] "
                     "[--keep-case] [--standard] [-o OUT [--force]]");
        QTextStream(stdout) << help;
        return kSuccess;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        QTextStream(stderr) << "varn solve: give exactly one FILE (see varn solve --help)\n";
        return kUsage;
    }
    const QString languageName = parser.value(language);
    if (parser.isSet(language) && languageName != "ru" && languageName != "en") {
        QTextStream(stderr) << "varn solve: the language is ru or en, not '" << languageName
                            << "'\n";
        return kUsage;
    }
    const QString encodingName = parser.value(encodingOption);
    const std::optional<Encoding> named = ParseEncoding(encodingName.toStdString());
    if (encodingName != "auto" && !named) {
        QTextStream(stderr) << "varn solve: the encoding is auto, windows-1251, utf-8, koi8-r or "
                               "cp866, not '"
                            << encodingName << "'\n";
        return kUsage;
    }
    const std::string path = NativeBytes(files.first());
    const std::string outName = parser.isSet("output") ? NativeBytes(parser.value("output")) : "-";
    if (const QString refused = RefusedOutput(outName, parser.isSet("force")); !refused.isEmpty())
        return Fail(refused);
    try {
        const Detection detection = named ? Detection{*named} : DetectFile(path);
        const Encoding encoding = detection.encoding;
        if (parser.isSet(verbose)) {
            // A single-case text in Windows-1251 or KOI8-R may be either: say it was a choice.
            QTextStream(stderr) << "encoding: " << EncodingName(encoding)
                                << (detection.koi8rReadsAsWell ? " (KOI8-R reads as well)" : "")
                                << "\n";
        }
        const Language chosen = !parser.isSet(language) ? GuessLanguage(path, encoding)
                                : languageName == "ru"  ? Language::Russian
                                                        : Language::English;
        const solve::Solution solution = solve::SolveFile(path, chosen, nullptr, {}, encoding);
        if (solution.status == solve::SolveStatus::NoLetters)
            return Fail(files.first() + " holds no " + LanguageName(chosen) + " letters");
        if (solution.status == solve::SolveStatus::TooShort) {
            return Fail(QString("%1 holds only %2 %3 letters; at least %4 are needed")
                            .arg(files.first())
                            .arg(solution.letters)
                            .arg(LanguageName(chosen))
                            .arg(solve::kMinimumLetters));
        }
        if (parser.isSet(verbose))
            QTextStream(stderr) << "varn solve: " << Assessment(solution, chosen) << "\n";
        if (solution.status == solve::SolveStatus::NotLanguage) {
            return Fail(
                QString("%1 does not read as a substitution of %2: the best key found "
                        "leaves it costing %3 bits per letter, as noise does, where %2 text "
                        "costs %4")
                    .arg(files.first())
                    .arg(LanguageName(chosen))
                    .arg(solution.bitsPerLetter, 0, 'f', 1)
                    .arg(solution.languageBitsPerLetter, 0, 'f', 1));
        }
        if (!solution.reliable) {
            QTextStream(stderr) << "varn solve: warning: the result is unreliable: the text is "
                                   "too short or not in this language\n";
        }
        LetterTable table;
        FoldIntoTable(solution.counts, table);
        const std::string standard =
            solve::StandardForKey(table, solution.plain, chosen, kDescending, true);
        io::Failure failure;
        Output output;
        Output::Options options;
        options.mayReplace = parser.isSet("force");
        options.encoding = encoding;
        if (!output.Open(outName, options, failure)) return Fail(FailureText(failure));
        if (parser.isSet(standardOnly)) {
            // In the file's encoding, as the window would save it.
            std::string missing;
            const std::string line = CodesToText(standard, encoding, missing) + "\n";
            if (!WriteOut(output.fd(), line.data(), line.size()))
                return Fail("cannot write the output");
        } else {
            PairWithEtalon(table, standard, kDescending);
            const std::string error = WriteDeciphered(
                path, SubstitutionMap(table, CapitalPartnerOf(parser)), output.fd(), encoding);
            if (!error.empty()) {
                output.EndIfReaderGone();
                return Fail(QString::fromStdString(error));
            }
        }
        if (!output.Finish(failure)) return Fail(FailureText(failure));
        return kSuccess;
    } catch (const std::exception& e) {
        return Fail(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace varn::cli
