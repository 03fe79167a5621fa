#include "tests/scan/walk_order.h"

#include "scan/path_separator.h"

#include <filesystem>
#include <map>
#include <set>

namespace mirelon::testing {

namespace {

std::string ParentFolder(const std::string& path) {
    const size_t end = path.back() == PathSeparator() ? path.size() - 1 : path.size();
    return path.substr(0, path.rfind(PathSeparator(), end - 1) + 1);
}

std::vector<std::string> ListedChildren(const std::string& folder) {
    std::vector<std::string> children;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto type = entry.symlink_status().type();
        const std::string name = entry.path().filename().string();
        if (type == std::filesystem::file_type::regular) {
            children.push_back(folder + name);
        } else if (type == std::filesystem::file_type::directory) {
            children.push_back(folder + name + PathSeparator());
        }
    }
    return children;
}

} // namespace

std::string DepthFirstOrderProblem(const std::vector<std::string>& events) {
    if (events.empty() || events.front().rfind("D ", 0) != 0) {
        return "the walk does not start with its root folder";
    }
    const std::string root = events.front().substr(2);
    std::vector<std::string> open{root};
    std::map<std::string, std::vector<std::string>> seen{{root, {}}};
    for (size_t i = 1; i < events.size(); ++i) {
        if (events[i] == "E") {
            continue;
        }
        const std::string path = events[i].substr(2);
        const std::string parent = ParentFolder(path);
        while (!open.empty() && open.back() != parent) {
            open.pop_back();
        }
        if (open.empty()) {
            return "not depth-first at " + path;
        }
        seen[parent].push_back(path);
        if (events[i][0] == 'D') {
            if (seen.count(path) != 0) {
                return "folder listed twice: " + path;
            }
            seen[path] = {};
            open.push_back(path);
        }
    }
    for (const auto& [folder, children] : seen) {
        if (children != ListedChildren(folder)) {
            return "entries of " + folder + " not in listing order";
        }
    }
    return "";
}

} // namespace mirelon::testing
