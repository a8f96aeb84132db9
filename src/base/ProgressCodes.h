#pragma once

namespace qlt {

// The codes of the progress event (UiPort::progress) that every layer sends;
// the value's meaning is noted where it has one. The front end turns them into
// captions through core/ProgressCaptions.
enum ProgressCode : int {
    kProgressRequestingData = 1,  // value: the message count
    kProgressScanning = 2,        // value: the message number just read
    kProgressScanEnd = 3,
    kProgressScanIncomplete = 5,
    kProgressAborting = 6,  // value: the message number being read
    kProgressNoNewMessages = 7,
    kProgressConnectionError = 8,
    kProgressNoMessages = 9,
    kProgressClear = 10,
    kProgressDeleteStart = 11,  // value: how many are to be deleted
    kProgressDeleting = 12,     // value: deleted so far
    kProgressDeleteEnd = 13,    // value: how many were deleted
    kProgressAccessingServer = 20,
    kProgressSentUser = 21,
    kProgressSentPass = 22,
    kProgressReceivingData = 24,
};

}  // namespace qlt
