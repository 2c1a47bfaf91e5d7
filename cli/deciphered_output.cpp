#include "cli/deciphered_output.h"

#include <cerrno>
#include <cstring>

#include "io/file_reader.h"

namespace varn::cli {

std::string WriteDeciphered(const std::string& path, const ByteMap& map, int descriptor,
                            Encoding encoding) {
    const InputFile file(path);
    if (!file.IsOpen()) return "cannot open " + path;
    DosTextOptions options;
    options.encoding = encoding;
    switch (TranslateDosText(file, descriptor, map, ProgressRule::AdvanceBefore, {}, options)) {
        case DosTextResult::Ok:
            return {};
        case DosTextResult::ReadFailed:
            return "cannot read " + path;
        default:
            return std::string("cannot write the output: ") + std::strerror(errno);
    }
}

}  // namespace varn::cli
