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
    const io::Failure failure =
        TranslateDosText(file, descriptor, map, ProgressRule::AdvanceBefore, {}, options);
    if (failure.kind == io::FailureKind::Read) return "cannot read " + path;
    if (failure) return std::string("cannot write the output: ") + std::strerror(failure.error);
    return {};
}

}  // namespace varn::cli
