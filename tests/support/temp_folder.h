#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon::test {

// A fresh folder for one test, under the system's temporary folder unless another parent is
// given, removed with everything in it when it goes. Its path is canonical, since programs
// report paths that way.
class TTempFolder {
public:
    explicit TTempFolder(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // Without a trailing separator. Paths come back with the platform's separator ('\' on
    // Windows, where a relative path's '/' turns into it too).
    const std::string& Path() const { return path_; }
    // With a trailing separator, the way the data directory is passed around.
    std::string Slashed() const { return File(""); }
    // The full path of `relative` in the folder; the folder itself, slashed, for "".
    std::string File(const std::string& relative) const;
    std::string operator/(const std::string& relative) const { return File(relative); }

    // Writes the file, making its folders; returns its full path. Throws when it cannot.
    std::string Write(const std::string& relative, std::string_view content) const;
    std::string Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    // Makes the folder and its parents; returns its full path.
    std::string MakeFolder(const std::string& relative) const;

private:
    std::string path_;
};

} // namespace mirelon::test
