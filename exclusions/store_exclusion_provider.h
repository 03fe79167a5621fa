#pragma once

#include "exclusions/check_state_store.h"

#include "scan/exclusion_provider.h"

#include <memory>

namespace mirelon {

class TcxDriveInfo;

// The scan's exclusions straight from an exclusion panel's live store, so ticks count from the
// next scan on whether or not the panel was left with "Ok".
class TStoreExclusionProvider : public IExclusionProvider {
public:
    TStoreExclusionProvider(std::shared_ptr<const TCheckStateStore> store,
                            std::shared_ptr<const TcxDriveInfo> drives);
    std::vector<std::string> ExcludedFolderList() override;

private:
    std::shared_ptr<const TCheckStateStore> store_;
    std::shared_ptr<const TcxDriveInfo> drives_;
};

} // namespace mirelon
