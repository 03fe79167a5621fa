#include "scan/directory_listing.h"

#include "base/wide_path.h"

#include <windows.h>

#include <system_error>

namespace mirelon {

namespace {

// Says why, in the system's words. A file given as a folder ("a.txt\") has an invalid name.
void Fail(DWORD error, FolderOpenFailure* failure) {
    if (failure != nullptr) {
        failure->missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                           error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME;
        failure->reason = std::system_category().message(static_cast<int>(error));
    }
}

} // namespace

struct DirectoryListing::OpenFolder {
    std::wstring path; // long form, ending in '\'
    HANDLE find = INVALID_HANDLE_VALUE;
    bool started = false;
    bool ended = false;
    WIN32_FIND_DATAW found{};
    std::wstring currentWide; // the entry last handed out, as the file system spells it
    std::string currentName;  // the same in UTF-8
    bool unpaired = false;    // its path holds a name that no UTF-8 text can hold

    // Starts the listing at once, so that a folder that cannot be listed is known at its opening.
    bool Start(FolderOpenFailure* failure) {
        find = ::FindFirstFileExW((path + L"*").c_str(), FindExInfoBasic, &found,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            // An empty drive root has not even "." and "..".
            ended = true;
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND) {
                return true;
            }
            Fail(error, failure);
            return false;
        }
        return true;
    }

    // The entry just listed is named by its own wide name, which survives names that are no
    // valid UTF-16 (their UTF-8 form has U+FFFD in place of an unpaired surrogate).
    // A name read back from a parked listing finds its real path where the walk noted it.
    std::wstring ChildPath(std::string_view name) const {
        if (name == currentName) {
            return path + currentWide;
        }
        const std::wstring readBack = path + WideText(name);
        return readBack.find(L'\uFFFD') == std::wstring::npos ? readBack
                                                              : WidePath(Utf8Text(readBack));
    }
};

void DirectoryListing::OpenFolderCloser::operator()(OpenFolder* folder) const {
    if (folder->find != INVALID_HANDLE_VALUE) {
        ::FindClose(folder->find);
    }
    delete folder;
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Links, junctions and mounted folders are reparse points: never followed, so the walk stays on
// the drive it started on.
EntryKind KindOf(DWORD attributes) {
    if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) {
        return EntryKind::Other;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
}

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// The identity of the folder at `path`; empty when it is none, and then `failure`, if given,
// says why. `followLinks` false looks at a link itself.
std::optional<FolderIdentity> FolderIdentityAt(const std::wstring& path, bool followLinks,
                                               FolderOpenFailure* failure = nullptr) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(::GetLastError(), failure);
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool read = ::GetFileInformationByHandle(handle, &information) != FALSE;
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (!read) {
        Fail(error, failure);
        return std::nullopt;
    }
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(ERROR_DIRECTORY, failure);
        return std::nullopt;
    }
    return FolderIdentity{information.dwVolumeSerialNumber,
                          (static_cast<uint64_t>(information.nFileIndexHigh) << 32) |
                              information.nFileIndexLow};
}

std::wstring WithSeparator(std::wstring path) {
    if (path.empty() || path.back() != L'\\') {
        path += L'\\';
    }
    return path;
}

} // namespace

std::unique_ptr<DirectoryListing> DirectoryListing::OpenRoot(const std::string& path,
                                                             FolderOpenFailure* failure) {
    if (path.empty()) {
        Fail(ERROR_PATH_NOT_FOUND, failure);
        return nullptr;
    }
    OpenFolderPtr open(new OpenFolder);
    open->path = WithSeparator(WidePath(path));
    const auto identity = FolderIdentityAt(open->path, true, failure);
    if (!identity || !open->Start(failure)) {
        return nullptr;
    }
    return std::unique_ptr<DirectoryListing>(new DirectoryListing(std::move(open), *identity));
}

std::unique_ptr<DirectoryListing> DirectoryListing::OpenChild(std::string_view name,
                                                              FolderOpenFailure* failure) const {
    if (!open_) {
        Fail(ERROR_PATH_NOT_FOUND, failure);
        return nullptr;
    }
    OpenFolderPtr child(new OpenFolder);
    child->path = WithSeparator(open_->ChildPath(name));
    child->unpaired = HasUnpairedSurrogate(child->path);
    const auto identity = FolderIdentityAt(child->path, false, failure);
    if (!identity || !child->Start(failure)) {
        return nullptr;
    }
    return std::unique_ptr<DirectoryListing>(new DirectoryListing(std::move(child), *identity));
}

std::optional<FolderIdentity> DirectoryListing::ChildIdentity(std::string_view name) const {
    if (!open_) {
        return std::nullopt;
    }
    const std::wstring path = open_->ChildPath(name);
    if (const auto identity = FolderIdentityAt(path, false)) {
        return identity;
    }
    // A folder that refuses even its attributes: without a reparse point it lies on this drive.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || KindOf(attributes) != EntryKind::Folder) {
        return std::nullopt;
    }
    return FolderIdentity{identity_.device, 0};
}

// Entries are opened by their full paths in the long form, which reaches past 260 characters.
FileLocation DirectoryListing::EntryLocation(std::string fullPath, std::string_view) const {
    return FileLocation(std::move(fullPath));
}

bool DirectoryListing::ReadNext(DirectoryEntry& entry) {
    if (!open_) {
        return false;
    }
    OpenFolder& folder = *open_;
    for (;;) {
        if (folder.ended) {
            return false;
        }
        if (folder.started && !::FindNextFileW(folder.find, &folder.found)) {
            // The end, or a read error: either way this listing is over.
            incomplete_ = ::GetLastError() != ERROR_NO_MORE_FILES;
            folder.ended = true;
            return false;
        }
        folder.started = true;
        if (IsDotOrDotDot(folder.found.cFileName)) {
            continue;
        }
        folder.currentWide = folder.found.cFileName;
        folder.currentName = Utf8Text(folder.currentWide);
        // Its UTF-8 path, with U+FFFD in place of each unpaired surrogate, must still lead here.
        if (folder.unpaired || HasUnpairedSurrogate(folder.currentWide)) {
            RememberUnpairedPath(folder.path + folder.currentWide);
        }
        entry.name = folder.currentName;
        entry.kind = KindOf(folder.found.dwFileAttributes);
        return true;
    }
}

bool DirectoryListing::Reopen(const DirectoryListing& child) {
    if (open_) {
        return true;
    }
    if (!child.open_) {
        return false;
    }
    // The parent of the child's folder: its path without the last name.
    std::wstring path = child.open_->path;
    path.pop_back();
    const size_t separator = path.rfind(L'\\');
    if (separator == std::wstring::npos) {
        return false;
    }
    path.resize(separator + 1);
    if (FolderIdentityAt(path, false) != identity_) {
        return false; // moved away meanwhile: its sub-folders are no longer reachable from here
    }
    OpenFolderPtr open(new OpenFolder);
    open->path = std::move(path);
    open->unpaired = HasUnpairedSurrogate(open->path);
    open->ended = true; // the rest of the listing is already in memory
    open_ = std::move(open);
    return true;
}

} // namespace mirelon
