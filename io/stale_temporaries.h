#pragma once

#include <string>
#include <string_view>

namespace varn::io {

// A temporary younger than this is never taken for one left behind (see the .cpp).
inline constexpr int kStaleTemporaryAgeSeconds = 60;

// Removes from `folder` the temporaries of `prefix` (names as TemporaryFile makes them) that a
// killed or crashed run left behind: plain files (links and anything else are left alone),
// unlocked, and last modified at least kStaleTemporaryAgeSeconds ago. A temporary that another
// running copy holds is locked and stays. Failures are ignored: at worst a stale file stays.
void RemoveStaleTemporaries(const std::string& folder, std::string_view prefix);

}  // namespace varn::io
