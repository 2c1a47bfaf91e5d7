#pragma once

// The user's request to stop the running pass. From the request on, every read of the file
// layer refuses (errno ECANCELED), so a pass ends at its next buffer through its own failure
// path: nothing replaced, its temporaries removed. Writes are never refused: the steps after a
// commit (the wipe of an old copy) always run to their end.

namespace varn::io {

// May be called from any thread.
void RequestCancel();
// Before the next operation starts.
void ClearCancel();
bool CancelRequested();
// True when a read has been refused since the last ClearCancel: the operation did not finish.
bool CancelTookEffect();

// Refuses a read when a cancel has been requested: true with errno ECANCELED.
bool RefuseCancelledRead();

}  // namespace varn::io
