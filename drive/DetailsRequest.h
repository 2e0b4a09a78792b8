// A drive's probe with its details, made apart from the caller's thread: the one place where the
// details meet the drives' threads.
#pragma once

#include <functional>
#include <memory>

#include "drive/DriveInfo.h"
#include "drive/DriveQueries.h"
#include "drive/StorageQueries.h"
#include "runtime/DeadlineCall.h"

namespace drive {

// The letter's probe with its details (TDriveInfo::Details), asked on the calling thread.
std::unique_ptr<TDriveInfo> DetailedProbe(char letter, const TDriveQueries& queries,
                                          const TStorageQueries& storage);

using TDetailsCall = runtime::TDeadlineCall<std::shared_ptr<const TDriveInfo>>;

// The same on a thread of its own; answered runs on that thread once the probe is made or its making
// failed (a window posts itself a message there). The queries must outlive the thread.
TDetailsCall AskDetails(char letter, const TDriveQueries& queries, const TStorageQueries& storage,
                        std::function<void()> answered);

}  // namespace drive
