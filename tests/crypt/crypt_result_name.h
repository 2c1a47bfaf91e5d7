#pragma once

#include <string>

#include "crypt/crypt_result.h"

namespace varn::test {

// How a pass or an operation ended, in a word for the tests' tables: "ok", the refusal, or the
// kind of file failure.
inline std::string What(const CryptResult& result) {
    switch (result.refusal) {
        case CryptRefusal::TooLarge:
            return "too large";
        case CryptRefusal::NotEncrypted:
            return "not encrypted";
        case CryptRefusal::WrongPassword:
            return "wrong password";
        case CryptRefusal::None:
            break;
    }
    switch (result.failure.kind) {
        case io::FailureKind::None:
            return "ok";
        case io::FailureKind::Open:
        case io::FailureKind::NotRegular:
            return "open";
        case io::FailureKind::Create:
        case io::FailureKind::NotReplaceable:
            return "temporary";
        case io::FailureKind::Read:
            return "read";
        case io::FailureKind::Write:
            return "write";
        case io::FailureKind::Replace:
            return "rename";
        case io::FailureKind::Changed:
            return "changed";
        case io::FailureKind::NameTooLong:
            return "name too long";
        case io::FailureKind::Cancelled:
            return "cancelled";
    }
    return "?";
}

}  // namespace varn::test
