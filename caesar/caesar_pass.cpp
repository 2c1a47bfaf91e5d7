#include "caesar/caesar_pass.h"

#include <sys/stat.h>

#include "caesar/caesar_table.h"
#include "io/file_reader.h"
#include "io/replacement.h"
#include "text/detect_encoding.h"

namespace varn {

Encoding CaesarTextEncoding(const std::string& fileName, bool decipher) {
    bool cut = false;
    std::string sample;
    try {
        sample = ReadDetectionSample(fileName, cut);
    } catch (const io::FileError& error) {
        // A file that cannot be read is the pass's to report, in its own words.
        if (error.failure().kind != io::FailureKind::Read) throw;
        return Encoding::Windows1251;
    }
    if (DetectEncoding(sample, cut) == Encoding::Utf8) return Encoding::Utf8;
    if (decipher) {
        for (char& c : sample) c = static_cast<char>(CaesarDecipher(static_cast<unsigned char>(c)));
    }
    return DetectEncoding(sample, cut);
}

DosTextOptions CaesarOptions(Encoding encoding) {
    DosTextOptions options;
    options.encoding = encoding;
    options.mapBytes = true;
    return options;
}

CaesarOutcome RunCaesarPass(const std::string& fileName, bool decipher, bool replace, Progress& bar,
                            const DosTextOptions& options) {
    const InputFile input(fileName);
    if (!input.IsOpen()) throw io::FileError(input.Failure());
    bar.SetMax(input.Size() / kProgressStep);
    bar.SetPosition(0);

    CaesarOutcome outcome;
    // Root may replace anything, so a file nobody may write is protected here by its mode alone.
    if (replace && (input.Mode() & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        outcome.notWritable = true;
        return outcome;
    }
    io::Target target;
    if (replace) {
        target.path = fileName;
        // The version the pass starts from: the file is replaced only if it is still that one.
        target.expected = input.Version();
    } else {
        target.path = kCaesarResultFile;
        target.followLink = false;
        target.mode = input.Mode();
        target.source = {input.Descriptor(), fileName, input.Version()};
    }
    io::Replacement result;
    if (!result.Begin(target, kCaesarTempPrefix, outcome.failure)) return outcome;
    outcome.failure = TranslateDosText(
        input, result.fd(), decipher ? CaesarDecipherMap() : CaesarEncipherMap(),
        ProgressRule::AdvanceAfter, [&bar](std::uint64_t steps) { bar.Advance(steps); }, options,
        &outcome.notPlainText);
    if (outcome.failure.kind == io::FailureKind::Write)
        outcome.failure.path = result.temporaryPath();
    if (outcome.failure) return outcome;
    // Only a file that comes back may be replaced by its ciphertext: the result of one that
    // would not is dropped with its temporary.
    if (outcome.notPlainText && replace) {
        outcome.notRestorable = true;
        return outcome;
    }
    bar.Fill();
    result.Commit(outcome.failure);
    return outcome;
}

}  // namespace varn
