#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace mirelon::test {

// A fresh folder under /tmp for one test, removed with everything in it afterwards.
class TCliTestFolder {
public:
    TCliTestFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mirelon-cli-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        // Paths come back canonical from the program, so they are compared that way.
        path_ = std::filesystem::canonical(pattern).string();
    }
    ~TCliTestFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TCliTestFolder(const TCliTestFolder&) = delete;
    TCliTestFolder& operator=(const TCliTestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    // Writes the file, making its folders; returns its full path.
    std::string Write(const std::string& relative, const std::string& content) const {
        const std::filesystem::path file = *this / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

    std::string MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(*this / relative);
        return *this / relative;
    }

private:
    std::string path_;
};

} // namespace mirelon::test
