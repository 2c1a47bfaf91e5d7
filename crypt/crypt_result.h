#pragma once

#include "io/failure.h"

namespace varn {

// What the encrypted file format refuses; every other failure is a file failure.
enum class CryptRefusal {
    None,
    TooLarge,       // encryption: the source is 2 GiB or more (the length field is 32-bit)
    NotEncrypted,   // decryption: the size does not fit the stored length (or that length is < 0)
    WrongPassword,  // decryption: the last block's padding did not decipher to zeros, as under a
                    // wrong password or in a damaged file; nothing was written
};

// How a pass or a whole operation ended. A pass sees descriptors only: its failures carry the
// kind and the errno of the call that failed, on whichever thread that was, and the operation
// adds the name.
struct CryptResult {
    CryptRefusal refusal = CryptRefusal::None;
    io::Failure failure;
    // An operation only: the result is in place, but the old content of the file it replaced
    // could not be overwritten with "0" characters (Write, with the file's name and errno).
    io::Failure wipe;
    bool ok() const { return refusal == CryptRefusal::None && !failure; }
};

}  // namespace varn
