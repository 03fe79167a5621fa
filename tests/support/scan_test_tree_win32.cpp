#include "tests/support/scan_test_tree.h"

#include "base/wide_path.h"

#include <windows.h>

#include <stdexcept>

namespace mirelon::test {

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what + ": error " + std::to_string(::GetLastError()));
    }
}

// Creates every missing folder of `path` (long form), whatever its length.
void CreateFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 7); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    if (!::CreateDirectoryW(path.c_str(), nullptr)) {
        Check(::GetLastError() == ERROR_ALREADY_EXISTS, "create folder");
    }
}

// Empties and removes a folder through long paths, at any depth.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            }
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(path);
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(path.c_str());
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

} // namespace

// The temporary folder makes the root; only its removal needs the long paths.
ScanTestTree::ScanTestTree() = default;

ScanTestTree::~ScanTestTree() {
    // Deeper than a path may be long is beyond what the folder's own removal can do.
    RemoveTree(WidePath(Root()));
}

std::string ScanTestTree::Folder(const std::string& relative) const {
    CreateFolders(WidePath(Path(relative)));
    return Path(relative);
}

std::string ScanTestTree::File(const std::string& relative, const std::string& content) const {
    const std::string path = Path(relative);
    CreateFolders(WidePath(ParentOf(path)));
    const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "create " + path);
    DWORD written = 0;
    const bool ok =
        content.empty() ||
        (::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size());
    ::CloseHandle(file);
    Check(ok, "write " + path);
    return path;
}

void ScanTestTree::DeepChain(const std::string& relative, const std::string& name,
                             int levels) const {
    std::string path = Folder(relative);
    for (int level = 0; level < levels; ++level) {
        path += "\\" + name;
        Check(::CreateDirectoryW(WidePath(path).c_str(), nullptr) != FALSE, "create chain");
        const HANDLE file = ::CreateFileW(WidePath(path + "\\f").c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        Check(file != INVALID_HANDLE_VALUE, "create chain file");
        ::CloseHandle(file);
    }
}

} // namespace mirelon::test
