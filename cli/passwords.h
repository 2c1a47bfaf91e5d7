#pragma once

// Passwords for the cipher: never from the command line itself.

#include <QString>
#include <string>
#include <vector>

namespace varn::cli {

struct PasswordSource {
    std::string file;  // --passphrase-file: one password a line
    int fd = -1;       // --passphrase-fd: the same from an open descriptor
    // Neither: asked on the controlling terminal without echo.
};

// Reads `count` passwords in the terminal's encoding and gives them as Windows-1251 bytes, as the
// cipher tab's fields hold them. On the terminal, `confirm` asks each one twice. False with what
// went wrong in `error`.
bool ReadPasswords(const PasswordSource& source, std::size_t count, bool confirm,
                   std::vector<std::string>& passwords, QString& error);

}  // namespace varn::cli
