#pragma once

#include <string>

namespace varn {

// Moves `from` to `to` without ever replacing an existing `to`, also across file systems (there by
// copy and delete). True on success; on failure `from` is untouched, no partial `to` is left and
// errno tells why (EEXIST when `to` exists).
bool MoveFileNoReplace(const std::string& from, const std::string& to);

}  // namespace varn
