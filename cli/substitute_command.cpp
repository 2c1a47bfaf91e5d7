// varn substitute: every letter replaced by its partner from the standard, as "Create..." does.
#include <unistd.h>

#include "analysis/letter_count.h"
#include "analysis/replace_letters.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/parsing.h"
#include "cli/streams.h"
#include "cli/text_pass_end.h"

namespace varn::cli {

namespace {

const QString kCommand = QStringLiteral("varn substitute");

struct Silent : Progress {
    void SetMax(std::uint64_t) override {}
    void SetPosition(std::uint64_t) override {}
    void Advance(std::uint64_t) override {}
    void Fill() override {}
};

}  // namespace

int RunSubstitute(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Counts FILE on the standard, pairs its letters with the standard's by frequency and\n"
        "writes FILE with every letter replaced by its partner: the bytes \"Create...\" of the\n"
        "New file tab writes (DOS text: CR dropped, nothing after a byte 26, LF as CR LF).\n"
        "The result goes to OUT, or to standard output without -o.\n\n"
        "Exit status: 0 done, 1 a file cannot be read or written, 2 a wrong command line.");
    AddStandardOptions(parser);
    AddEncodingOption(parser);
    AddKeepCaseOption(parser);
    AddOutputOptions(parser, false);
    parser.addPositionalArgument("FILE", "The file under study ('-': standard input).");
    const int parsed = ParseCommandLine(
        parser, arguments, kCommand,
        "varn substitute (--standard FILE | --builtin NAME) [--ascending] [--encoding NAME] "
        "[--keep-case] FILE [-o OUT] [--force]");
    if (parsed >= 0) return parsed;
    std::string file;
    if (!OneFile(parser, kCommand, file)) return kUsage;
    StandardChoice standard;
    int status = kUsage;
    if (!ChooseStandard(parser, kCommand, parser.isSet("ascending"), standard, status))
        return status;
    const std::string outName = parser.isSet("output") ? NativeBytes(parser.value("output")) : "-";
    const QString refused = RefusedOutput(
        outName, parser.isSet("force"), file,
        Tr("результат не пишется в сам FILE", "the result cannot replace FILE itself"));
    if (!refused.isEmpty()) return Say(kCommand, refused, kFailure);

    io::Failure failure;
    Input input;
    if (!input.Open(file, failure)) return Say(kCommand, FailureText(failure), kFailure);
    Encoding encoding = Encoding::Windows1251;
    if (!ChooseEncoding(parser, kCommand, input.path(), encoding, status)) return status;
    LetterTable table;
    try {
        Silent a, b;
        CountOptions counting;
        counting.encoding = encoding;
        CountOnEtalon(table, standard.bytes, input.path(), standard.direction, a, b, counting);
    } catch (const io::FileError& error) {
        return Say(kCommand, FailureText(input.Named(error.failure())), kFailure);
    }
    // A letter the file's encoding cannot hold would be lost: refused, as the window does.
    const ByteMap map = SubstitutionMap(table, CapitalPartnerOf(parser));
    const std::string missing = MissingCharacters(map, encoding);
    if (!missing.empty()) {
        return Say(kCommand,
                   Tr("в кодировке файла нет букв эталона: ",
                      "the file's encoding cannot hold letters of the standard: ") +
                       QString::fromUtf8(missing.data(), static_cast<qsizetype>(missing.size())),
                   kFailure);
    }
    const InputFile source(input.path());
    if (!source.IsOpen()) return Say(kCommand, FailureText(source.Failure()), kFailure);
    Output output;
    Output::Options options;
    options.mayReplace = parser.isSet("force");
    options.encoding = encoding;
    options.source = {source.Descriptor(), file, source.Version()};
    if (!output.Open(outName, options, failure))
        return Say(kCommand, FailureText(failure), kFailure);
    TerminalProgress bar(Tr("замена", "substituting"));
    bar.SetMax(source.Size() / kProgressStep);
    DosTextOptions translation;
    translation.encoding = encoding;
    failure = TranslateDosText(
        source, output.fd(), map, ProgressRule::AdvanceBefore,
        [&bar](std::uint64_t steps) { bar.Advance(steps); }, translation);
    return EndTextPass(kCommand, failure, input, output, bar);
}

}  // namespace varn::cli
