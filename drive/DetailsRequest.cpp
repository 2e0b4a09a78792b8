#include "drive/DetailsRequest.h"

#include "drive/StorageDetails.h"

namespace drive {

std::unique_ptr<TDriveInfo> DetailedProbe(char letter, const TDriveQueries& queries,
                                          const TStorageQueries& storage) {
  auto probe = std::make_unique<TDriveInfo>(letter, queries);
  probe->Details =
      std::make_shared<const TStorageDetails>(AskStorageDetails(probe->Letter, probe->DriveType, storage));
  return probe;
}

TDetailsCall AskDetails(char letter, const TDriveQueries& queries, const TStorageQueries& storage,
                        std::function<void()> answered) {
  return TDetailsCall(
      [letter, &queries, &storage] {
        return std::shared_ptr<const TDriveInfo>(DetailedProbe(letter, queries, storage));
      },
      std::move(answered));
}

}  // namespace drive
