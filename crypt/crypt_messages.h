#pragma once

namespace varn {

// Failures the file encryption module reports; the window words them.
enum class CryptMessage {
    WriteFailed,      // a pass could not write its result, or the result could not be flushed
    OverwriteFailed,  // the old file could not be overwritten with "0" characters
    RemoveFailed,     // the old file could not be deleted (no longer arises: nothing is deleted)
    RenameFailed,     // the result could not be moved to its name (taken, or the rename failed)
    TooLarge,         // the source is 2 GiB or more
    NotEncrypted,     // the size does not fit the stored length
    ReadFailed,       // a pass could not read its source to the end
    WrongPassword,    // the last block's padding did not decipher to zeros: nothing was changed
    FileChanged,      // the file changed during the operation: nothing was replaced
    NameTooLong,      // the result's name is longer than the file system allows
};

}  // namespace varn
