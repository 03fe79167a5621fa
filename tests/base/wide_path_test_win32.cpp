#include "base/wide_path.h"

#include "base/utf8_path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace mirelon {
namespace {

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return std::wstring(buffer, length);
}

TEST(WidePath, FullPathsGetTheLongPrefixAndBackslashes) {
    EXPECT_EQ(WidePath("C:\\Windows\\notepad.exe"), L"\\\\?\\C:\\Windows\\notepad.exe");
    EXPECT_EQ(WidePath("c:/data/x.txt"), L"\\\\?\\c:\\data\\x.txt");
    EXPECT_EQ(WidePath("C:\\"), L"\\\\?\\C:\\");
    EXPECT_EQ(WidePath("\\\\server\\share\\a.txt"), L"\\\\?\\UNC\\server\\share\\a.txt");
    // Names the system would otherwise trim or take as devices stay as they are.
    EXPECT_EQ(WidePath("C:\\dir\\name. "), L"\\\\?\\C:\\dir\\name. ");
    EXPECT_EQ(WidePath("C:\\dir\\NUL"), L"\\\\?\\C:\\dir\\NUL");
    EXPECT_EQ(WidePath(""), L"");
}

TEST(WidePath, PrefixedAndDevicePathsPassUnchanged) {
    EXPECT_EQ(WidePath("\\\\?\\C:\\a/b"), L"\\\\?\\C:\\a/b");
    EXPECT_EQ(WidePath("\\\\.\\PhysicalDrive0"), L"\\\\.\\PhysicalDrive0");
    EXPECT_EQ(WidePath("NUL"), L"\\\\.\\NUL");
}

TEST(WidePath, RelativePathsAndDotsAreResolvedFirst) {
    const std::wstring here = CurrentFolder();
    const std::wstring base = here.back() == L'\\' ? here : here + L"\\";
    EXPECT_EQ(WidePath("sub/file.txt"), L"\\\\?\\" + base + L"sub\\file.txt");
    EXPECT_EQ(WidePath("C:\\a\\.\\b\\..\\c"), L"\\\\?\\C:\\a\\c");
    EXPECT_EQ(WidePath("C:\\a\\\\c"), L"\\\\?\\C:\\a\\c");
}

TEST(WidePath, TextIsUtf8InsideAndUtf16Outside) {
    EXPECT_EQ(WideText("caf\xC3\xA9 \xF0\x9F\x93\x81"), L"caf\u00E9 \U0001F4C1");
    EXPECT_EQ(Utf8Text(L"caf\u00E9 \U0001F4C1"), "caf\xC3\xA9 \xF0\x9F\x93\x81");
    const std::wstring unpaired = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_EQ(Utf8Text(unpaired), "a\xEF\xBF\xBD"
                                  "b");
}

// Wine makes no file whose name is no valid UTF-16, so the walk's part is taken here by hand: a
// name it noted leads back to itself from its UTF-8 text, and so do the files in a folder of
// such a name; other text with U+FFFD stays as it is.
TEST(WidePath, UnpairedSurrogatesNotedByTheWalkLeadBackToTheirFile) {
    const wchar_t high = static_cast<wchar_t>(0xD83D), low = static_cast<wchar_t>(0xDCC1);
    EXPECT_FALSE(HasUnpairedSurrogate(std::wstring(L"pair ") + high + low));
    EXPECT_TRUE(HasUnpairedSurrogate(std::wstring(L"lone ") + high));
    EXPECT_TRUE(HasUnpairedSurrogate(std::wstring(L"lone ") + low + L" low"));
    EXPECT_TRUE(HasUnpairedSurrogate(std::wstring(L"swapped ") + low + high));

    const std::wstring folder = std::wstring(L"\\\\?\\C:\\walked\\f") + high + L"lder";
    const std::wstring file = folder + L"\\caf\u00E9 " + low + L".txt";
    RememberUnpairedPath(folder);
    RememberUnpairedPath(file);
    const std::string folderText = "C:\\walked\\f\xEF\xBF\xBDlder";
    const std::string fileText = folderText + "\\caf\xC3\xA9 \xEF\xBF\xBD.txt";
    EXPECT_EQ(Utf8Text(file), "\\\\?\\" + fileText);
    EXPECT_EQ(WidePath(folderText), folder);
    EXPECT_EQ(WidePath(fileText), file);
    EXPECT_EQ(WidePath("C:/walked/f\xEF\xBF\xBDlder/caf\xC3\xA9 \xEF\xBF\xBD.txt"), file);
    EXPECT_TRUE(HasReplacedName(fileText));

    const std::string named = "C:\\walked\\a real \xEF\xBF\xBD.txt";
    EXPECT_EQ(WidePath(named), L"\\\\?\\C:\\walked\\a real \uFFFD.txt");
    EXPECT_FALSE(HasReplacedName(named));
    EXPECT_FALSE(HasReplacedName("C:\\walked\\plain.txt"));
}

TEST(WidePath, FilesPastThe260CharacterLimitCanBeMadeAndFound) {
    const std::string root = (std::filesystem::temp_directory_path() /
                              ("mirelon-wide-" + std::to_string(::GetCurrentProcessId())))
                                 .string();
    std::string path = root;
    ASSERT_TRUE(::CreateDirectoryW(WidePath(path).c_str(), nullptr));
    std::vector<std::string> folders;
    for (int level = 0; level < 5; ++level) {
        path += "\\" + std::string(70, static_cast<char>('k' + level)) + "\xC3\xA9";
        ASSERT_TRUE(::CreateDirectoryW(WidePath(path).c_str(), nullptr)) << ::GetLastError();
        folders.push_back(path);
    }
    const std::string file = path + "/last.txt";
    ASSERT_GT(file.size(), 360u);
    const HANDLE handle =
        ::CreateFileW(WidePath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ::CloseHandle(handle);
    EXPECT_NE(::GetFileAttributesW(WidePath(file).c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(::DeleteFileW(WidePath(file).c_str()));
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        EXPECT_TRUE(::RemoveDirectoryW(WidePath(*folder).c_str()));
    }
    EXPECT_TRUE(::RemoveDirectoryW(WidePath(root).c_str()));
}

} // namespace
} // namespace mirelon
