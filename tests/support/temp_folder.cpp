#include "tests/support/temp_folder.h"

#include "base/utf8_path.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace mirelon::test {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

} // namespace

TTempFolder::TTempFolder(const std::filesystem::path& parent) {
    std::random_device entropy;
    std::filesystem::path folder;
    do {
        folder = parent / ("mirelon-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(folder));
    path_ = Utf8FromPath(std::filesystem::canonical(folder));
}

TTempFolder::~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(PathFromUtf8(path_), ignored);
}

std::string TTempFolder::File(const std::string& relative) const {
    std::string file = path_ + kSeparator + relative;
    std::replace(file.begin() + static_cast<std::ptrdiff_t>(path_.size()), file.end(), '/',
                 kSeparator);
    return file;
}

std::string TTempFolder::Write(const std::string& relative, std::string_view content) const {
    const std::string file = File(relative);
    std::filesystem::create_directories(PathFromUtf8(file).parent_path());
    std::ofstream out(PathFromUtf8(file), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file);
    }
    return file;
}

std::string TTempFolder::Write(const std::string& relative,
                               const std::vector<uint8_t>& bytes) const {
    return Write(relative,
                 std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TTempFolder::MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(PathFromUtf8(File(relative)));
    return File(relative);
}

} // namespace mirelon::test
