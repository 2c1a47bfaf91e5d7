#include "caesar/caesar_pass.h"

#include <sys/stat.h>

#include "analysis/file_reader.h"
#include "caesar/caesar_table.h"
#include "io/replacement.h"

namespace varn {

std::vector<CaesarMessage> RunCaesarPass(const std::string& fileName, bool decipher, bool replace,
                                         Progress& bar, const DosTextOptions& options) {
    const InputFile input(fileName);
    if (!input.IsOpen()) throw io::FileError(input.Failure());
    bar.SetMax(input.Size() / kProgressStep);
    bar.SetPosition(0);

    // Root may replace anything, so a file nobody may write is protected here by its mode alone.
    if (replace && (input.Mode() & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return {CaesarMessage::SourceNotRemoved};
    }
    io::Target target;
    if (replace) {
        target.path = fileName;
        // The version the pass starts from: the file is replaced only if it is still that one.
        struct stat info {};
        if (::fstat(input.Descriptor(), &info) != 0)
            throw io::FileError(io::FailureNow(io::FailureKind::Open, fileName));
        target.expected = io::VersionOf(info);
    } else {
        target.path = kCaesarResultFile;
        target.followLink = false;
        target.mode = input.Mode();
    }
    const CaesarMessage notRenamed =
        replace ? CaesarMessage::TempNotRenamedToSource : CaesarMessage::TempNotRenamedToCrypt;
    io::Failure failure;
    io::Replacement result;
    if (!result.Begin(target, kCaesarTempPrefix, failure)) {
        // The result's name itself is not a file that can be replaced (a folder, say).
        if (failure.kind == io::FailureKind::NotReplaceable) return {notRenamed};
        return {CaesarMessage::TempNotOpen};
    }

    switch (TranslateDosText(
        input, result.fd(), decipher ? CaesarDecipherMap() : CaesarEncipherMap(),
        ProgressRule::AdvanceAfter, [&bar](std::uint64_t steps) { bar.Advance(steps); }, options)) {
        case DosTextResult::Ok:
            break;
        case DosTextResult::ReadFailed:
            return {CaesarMessage::ReadFailed};
        default:
            return {CaesarMessage::TempNotOpen};
    }
    bar.Fill();

    if (!result.Commit(failure)) {
        if (failure.kind == io::FailureKind::Write) return {CaesarMessage::TempNotOpen};
        if (failure.kind == io::FailureKind::Changed) return {CaesarMessage::FileChanged};
        return {notRenamed};
    }
    if (replace) return {};
    return {decipher ? CaesarMessage::DoneDecrypt : CaesarMessage::DoneEncrypt};
}

}  // namespace varn
