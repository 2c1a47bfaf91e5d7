// varn caesar: the "3V" Caesar pass, enciphering or deciphering a file.
#include <unistd.h>

#include "caesar/caesar_pass.h"
#include "caesar/caesar_table.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/parsing.h"
#include "cli/streams.h"
#include "cli/text_pass_end.h"

namespace varn::cli {

namespace {

const QString kCommand = QStringLiteral("varn caesar");

}  // namespace

int RunCaesar(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Enciphers or deciphers FILE with the Caesar cipher of the 3V tab (character codes\n"
        "32 to 255 shifted by 3, wrapping around; in Windows-1251 and CP866 DOS text: CR dropped,\n"
        "nothing after a byte 26, LF as CR LF), into OUT or in place of FILE. In place, a file\n"
        "that would not come back from DOS text mode is refused.\n\n"
        "Exit status: 0 done, 1 a file cannot be read or written, 2 a wrong command line.");
    AddEncodingOption(parser);
    AddOutputOptions(parser, true);
    parser.addPositionalArgument("encrypt|decrypt", "What to do.");
    parser.addPositionalArgument("FILE", "The file ('-': standard input).");
    const QString usage =
        "varn caesar encrypt|decrypt [--encoding NAME] FILE (-o OUT | --in-place) [--force]";
    const int parsed = ParseCommandLine(parser, arguments, kCommand, usage);
    if (parsed >= 0) return parsed;
    QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || (positional[0] != "encrypt" && positional[0] != "decrypt")) {
        return Say(kCommand, Tr("использование: ", "usage: ") + usage, kUsage);
    }
    const bool decipher = positional[0] == "decrypt";
    const std::string file = NativeBytes(positional[1]);
    const bool inPlace = parser.isSet("in-place");
    if (inPlace == parser.isSet("output") || (inPlace && file == "-")) {
        return Say(kCommand,
                   Tr("укажите -o OUT или --in-place (для именованного FILE)",
                      "give -o OUT or --in-place (with a named FILE)"),
                   kUsage);
    }
    const std::string outName = inPlace ? file : NativeBytes(parser.value("output"));
    if (!inPlace) {
        const QString refused = RefusedOutput(
            outName, parser.isSet("force"), file,
            Tr("для замены самого FILE: --in-place", "use --in-place to replace FILE itself"));
        if (!refused.isEmpty()) return Say(kCommand, refused, kFailure);
    }

    io::Failure failure;
    Input input;
    if (!input.Open(file, failure)) return Say(kCommand, FailureText(failure), kFailure);
    Encoding encoding = Encoding::Windows1251;
    if (parser.isSet("encoding")) {
        int status = kUsage;
        if (!ChooseEncoding(parser, kCommand, input.path(), encoding, status)) return status;
    } else {
        try {
            encoding = CaesarTextEncoding(input.path(), decipher);
        } catch (const io::FileError& error) {
            return Say(kCommand, FailureText(input.Named(error.failure())), kFailure);
        }
    }
    const DosTextOptions translation = CaesarOptions(encoding);
    TerminalProgress bar(decipher ? Tr("дешифрование", "deciphering")
                                  : Tr("шифрование", "enciphering"));

    if (inPlace) {
        CaesarOutcome outcome;
        try {
            outcome = RunCaesarPass(file, decipher, true, bar, translation);
        } catch (const io::FileError& error) {
            return Say(kCommand, FailureText(error.failure()), kFailure);
        }
        // As the 3V tab: a file nobody may write is not replaced, root or not.
        if (outcome.notWritable) {
            return Say(kCommand, FailureText({io::FailureKind::Replace, file, EACCES}), kFailure);
        }
        if (outcome.notRestorable) {
            return Say(kCommand,
                       Tr("FILE не текст: байт 26 до конца или CR без LF не вернулись бы; "
                          "используйте -o OUT",
                          "FILE is not plain text: a byte 26 before its end or a CR without LF "
                          "would not come back; use -o OUT"),
                       kFailure);
        }
        if (outcome.failure) return Say(kCommand, FailureText(outcome.failure), kFailure);
        return kSuccess;
    }
    const InputFile source(input.path());
    if (!source.IsOpen()) return Say(kCommand, FailureText(source.Failure()), kFailure);
    bar.SetMax(source.Size() / kProgressStep);
    Output output;
    Output::Options options;
    options.mayReplace = parser.isSet("force");
    options.mode = source.Mode();
    options.encoding = encoding;
    options.source = {source.Descriptor(), file, source.Version()};
    if (!output.Open(outName, options, failure))
        return Say(kCommand, FailureText(failure), kFailure);
    bool lost = false;
    failure = TranslateDosText(
        source, output.fd(), decipher ? CaesarDecipherMap() : CaesarEncipherMap(),
        ProgressRule::AdvanceAfter, [&bar](std::uint64_t steps) { bar.Advance(steps); },
        translation, &lost);
    const int status = EndTextPass(kCommand, failure, input, output, bar);
    // As the 3V tab warns beside its result file.
    if (status == kSuccess && lost) {
        Say(kCommand,
            Tr("предупреждение: FILE не текст: после обратного шифрования он не восстановится",
               "warning: FILE is not plain text: it would not come back after deciphering"),
            kSuccess);
    }
    return status;
}

}  // namespace varn::cli
