#pragma once

#include <string>
#include <vector>

namespace mirelon {

// Where the scan takes its excluded folders from, once at the start of every scan.
class IExclusionProvider {
public:
    virtual ~IExclusionProvider() = default;
    virtual std::vector<std::string> ExcludedFolderList() = 0;
};

// Until folders can be ticked, nothing is excluded.
class TEmptyExclusionProvider : public IExclusionProvider {
public:
    std::vector<std::string> ExcludedFolderList() override { return {}; }
};

// A fixed list, for the command line and tests.
class TFixedExclusionProvider : public IExclusionProvider {
public:
    explicit TFixedExclusionProvider(std::vector<std::string> folders)
        : folders_(std::move(folders)) {}
    std::vector<std::string> ExcludedFolderList() override { return folders_; }

private:
    std::vector<std::string> folders_;
};

} // namespace mirelon
