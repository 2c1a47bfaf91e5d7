#pragma once

// The user's request to stop the running pass. From the request on, every read of the file
// layer refuses (errno ECANCELED, reported as FailureKind::Cancelled) and no result is committed,
// so a pass ends at its next buffer through its own failure path: nothing replaced, its
// temporaries removed. Writes are never refused: the steps after a commit (the wipe of an old
// copy) always run to their end.

#include <string>

namespace varn::io {

// May be called from any thread.
void RequestCancel();
// Before the next operation starts.
void ClearCancel();
bool CancelRequested();

// Refuses a read when a cancel has been requested: true with errno ECANCELED.
bool RefuseCancelledRead();

// For a pass's last step before it changes what the user has: throws FileError (Cancelled, with
// `path`) when a cancel has been requested, however late, so that a cancel that came after the
// last read still changes nothing.
void EndIfCancelled(const std::string& path);

}  // namespace varn::io
