#include "analysis/size_notice.h"

#include "analysis/number_format.h"

namespace varn {

std::string SizeNotice(std::uint64_t size, bool russian) {
    if (russian) return "Размер файла больше 0xFFFF байт : " + FormatNumber(size) + " байт";
    return "File size > 0xFFFF : " + FormatNumber(size) + " b";
}

}  // namespace varn
