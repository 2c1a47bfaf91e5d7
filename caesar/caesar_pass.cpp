#include "caesar/caesar_pass.h"

#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "analysis/file_reader.h"
#include "caesar/caesar_table.h"
#include "crypt/move_file.h"

namespace varn {

namespace {

// Root may delete anything, so a file nobody may write is protected here by its mode alone.
bool MayBeReplaced(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return true;  // the deletion reports it
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

std::vector<CaesarMessage> RunCaesarPass(const std::string& fileName, bool decipher, bool replace,
                                         Progress& bar, const DosTextOptions& options) {
    std::uint64_t size = 0;
    {
        const InputFile file(fileName);
        if (!file.IsOpen()) throw std::runtime_error("Cannot open file " + fileName);
        size = file.Size();
    }
    bar.SetMax(size / kProgressStep);
    bar.SetPosition(0);

    const DosTextResult result = TranslateDosText(
        fileName, kCaesarTempFile, decipher ? CaesarDecipherMap() : CaesarEncipherMap(),
        ProgressRule::AdvanceAfter, [&bar](std::uint64_t steps) { bar.Advance(steps); }, options);
    switch (result) {
        case DosTextResult::Ok:
            break;
        case DosTextResult::InputOpenFailed:
            return {CaesarMessage::InputNotOpen};
        case DosTextResult::OutputCreateFailed:
            return {CaesarMessage::TempNotOpen};
        case DosTextResult::ReadFailed:
            // An incomplete result must never take the place of the file.
            ::unlink(kCaesarTempFile);
            return {CaesarMessage::InputNotOpen};
        case DosTextResult::WriteFailed:
            ::unlink(kCaesarTempFile);
            return {CaesarMessage::TempNotOpen};
    }
    bar.Fill();

    std::vector<CaesarMessage> messages;
    if (replace) {
        if (!MayBeReplaced(fileName) || ::unlink(fileName.c_str()) != 0)
            messages.push_back(CaesarMessage::SourceNotRemoved);
        if (!MoveFileNoReplace(kCaesarTempFile, fileName))
            messages.push_back(CaesarMessage::TempNotRenamedToSource);
        return messages;
    }
    ::unlink(kCaesarResultFile);
    if (!MoveFileNoReplace(kCaesarTempFile, kCaesarResultFile))
        messages.push_back(CaesarMessage::TempNotRenamedToCrypt);
    messages.push_back(decipher ? CaesarMessage::DoneDecrypt : CaesarMessage::DoneEncrypt);
    return messages;
}

}  // namespace varn
