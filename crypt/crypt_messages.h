#pragma once

#include <string_view>

namespace varn {

// Failures the file encryption module reports. The window shows them titled kCryptMessageTitle,
// with the exclamation icon.
enum class CryptMessage {
    WriteFailed,      // a pass could not read its source to the end or write its result
    OverwriteFailed,  // the old file could not be opened to be overwritten
    RemoveFailed,     // the old file could not be deleted
    RenameFailed,     // the result could not be moved to its name
    TooLarge,         // the source is 2 GiB or more
    NotEncrypted,     // the size does not fit the stored length
};

inline constexpr std::string_view kCryptMessageTitle = "Error CryptModul";

struct CryptMessageTexts {
    CryptMessage message;
    std::string_view russian;  // UTF-8
    std::string_view english;
};

// Every message with both texts, in the order of the enum.
extern const CryptMessageTexts kCryptMessageTable[6];

// The text of a message in the interface language (UTF-8).
std::string_view CryptMessageText(CryptMessage message, bool russian);

}  // namespace varn
