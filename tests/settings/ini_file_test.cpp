#include "settings/rs_exception.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_ini_reader.h"
#include "settings/rs_ini_writer.h"
#include "settings/rs_storage.h"
#include "tests/settings/settings_folder_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

TrsValue ValueOf(TrsStorage& storage, const std::string& path) {
    EXPECT_GE(storage.FindKey(path, false), 0) << path;
    return storage.Key().Assigned() ? storage.Key().AsVariant() : TrsValue();
}

std::string RoundTrip(const std::string& text) {
    TrsStorage storage;
    ReadIniText(text, storage);
    return IniText(storage);
}

TEST(IniReader, BlanksAroundEqualsBelongToNameAndValue) {
    TrsStorage storage;
    ReadIniText("[s]\r\nkey = value\r\nkey=other\r\n", storage);
    EXPECT_EQ(ValueOf(storage, "s\\key "), TrsValue(std::string(" value")));
    EXPECT_EQ(ValueOf(storage, "s\\key"), TrsValue(std::string("other")));
}

TEST(IniReader, ValueTextsDecideTheType) {
    TrsStorage storage;
    ReadIniText("[s]\nint=12\nstr=\"12\"\nfloat=1.5\nmax=2147483647\nbig=2147483648\n"
                "min=-2147483648\nyes=tRUE\n",
                storage);
    EXPECT_EQ(ValueOf(storage, "s\\int"), TrsValue(int32_t{12}));
    EXPECT_EQ(ValueOf(storage, "s\\str"), TrsValue(std::string("12")));
    EXPECT_EQ(ValueOf(storage, "s\\float"), TrsValue(1.5));
    EXPECT_EQ(ValueOf(storage, "s\\max"), TrsValue(int32_t{INT32_MAX}));
    EXPECT_EQ(ValueOf(storage, "s\\big"), TrsValue(int64_t{2147483648}));
    EXPECT_EQ(ValueOf(storage, "s\\min"), TrsValue(int32_t{INT32_MIN}));
    EXPECT_EQ(ValueOf(storage, "s\\yes"), TrsValue(true));
}

TEST(IniReader, RepeatedKeyKeepsLastValueAndPreambleIsIgnored) {
    TrsStorage storage;
    ReadIniText("stray=1\r\n  [not a header either]\r\n[s]\r\nk=1\r\nK=2\r\n", storage);
    EXPECT_EQ(storage.KeyCount(), 1u);
    EXPECT_EQ(ValueOf(storage, "s\\k"), TrsValue(int32_t{2}));
    EXPECT_EQ(storage.RootSection(), "");
}

TEST(IniReader, LineEndsCommentsAndLinesWithoutEquals) {
    TrsStorage storage;
    ReadIniText("[a]\rx=1\n#c=1\r\n;c=2\r/c=3\n\\c=4\nno equals here\n\n  y=2  \r\n[b\\c]\nz=3",
                storage);
    EXPECT_EQ(storage.KeyCount(), 3u);
    EXPECT_EQ(ValueOf(storage, "a\\x"), TrsValue(int32_t{1}));
    EXPECT_EQ(ValueOf(storage, "a\\y"), TrsValue(int32_t{2}));
    EXPECT_EQ(ValueOf(storage, "b\\c\\z"), TrsValue(int32_t{3}));
}

TEST(IniReader, BinaryValueContinuesOverBrokenLines) {
    TrsStorage storage;
    ReadIniText("[s]\r\nb=hex:01,02,\\\r\n  03,\\\r\n  04\r\nnext=1\r\n", storage);
    EXPECT_EQ(ValueOf(storage, "s\\b"), TrsValue(TrsBinary{{1, 2, 3, 4}}));
    EXPECT_EQ(ValueOf(storage, "s\\next"), TrsValue(int32_t{1}));

    // A broken value followed by a line that is not indented does not take that line.
    TrsStorage cut;
    ReadIniText("[s]\r\nb=hex:01,\\\r\n[t]\r\nk=2\r\n", cut);
    EXPECT_EQ(ValueOf(cut, "s\\b"), TrsValue(std::string("hex:01,\\")));
    EXPECT_EQ(ValueOf(cut, "t\\k"), TrsValue(int32_t{2}));
}

TEST(IniWriter, LineBreakInStringIsEscapedAndReadsBack) {
    TrsStorage storage;
    storage.SetRootSection("s");
    storage.FindKey("k", true);
    storage.Key().WriteString("first\r\nsecond $5");
    const std::string text = IniText(storage);
    EXPECT_EQ(text, "[s]\r\nk=text:\"first$0D$0Asecond $$5\"\r\n\r\n");
    TrsStorage reread;
    ReadIniText(text, reread);
    EXPECT_EQ(ValueOf(reread, "s\\k"), TrsValue(std::string("first\r\nsecond $5")));
}

TEST(IniWriter, StringInQuotesIsWrittenAsItStands) {
    TrsStorage storage;
    storage.SetRootSection("s");
    storage.FindKey("k", true);
    storage.Key().WriteString("\"quoted\"");
    EXPECT_EQ(IniText(storage), "[s]\r\nk=\"quoted\"\r\n\r\n");
    TrsStorage reread;
    ReadIniText(IniText(storage), reread);
    EXPECT_EQ(ValueOf(reread, "s\\k"), TrsValue(std::string("quoted")));
}

TEST(IniWriter, SectionsAndKeysAreSortedIgnoringCase) {
    TrsStorage storage;
    for (const char* path : {"zeta\\b", "Alpha\\B2", "zeta\\A", "alpha\\a1", "Mid\\x"}) {
        storage.FindKey(path, true);
        storage.Key().WriteInteger(1);
    }
    storage.SetRootSection("empty section");
    EXPECT_EQ(IniText(storage), "[Alpha]\r\na1=1\r\nB2=1\r\n\r\n"
                                "[Mid]\r\nx=1\r\n\r\n"
                                "[zeta]\r\nA=1\r\nb=1\r\n\r\n");
}

TEST(IniWriter, RootKeysNestedSectionsAndEmptySections) {
    TrsStorage storage;
    storage.FindKey("top", true);
    storage.Key().WriteInteger(1);
    storage.FindKey("a\\b\\deep", true);
    storage.Key().WriteBoolean(false);
    const std::string text = IniText(storage);
    EXPECT_EQ(text, "[]\r\ntop=1\r\n\r\n[a\\b]\r\ndeep=False\r\n\r\n");
    EXPECT_EQ(RoundTrip(text), text);

    storage.SetOptions(soSaveOnClose | soSaveEmptySection);
    EXPECT_EQ(IniText(storage), "[]\r\ntop=1\r\n\r\n[a]\r\n\r\n[a\\b]\r\ndeep=False\r\n\r\n");
}

TEST_F(SettingsFolder, FileNameIsTheExecutableNameWithIni) {
    // The data folder with or without its trailing separator.
    EXPECT_EQ(SettingsFileName(temp_.Slashed(), "/usr/bin/mirelon"), PathOf("mirelon.ini"));
    EXPECT_EQ(SettingsFileName(temp_.Path(), "/x/tool.bin"), PathOf("tool.ini"));
    EXPECT_EQ(SettingsFileName(temp_.Path(), "/x/.hidden"), PathOf(".hidden.ini"));
    EXPECT_EQ(SettingsFileName(temp_.Slashed()), PathOf("settings_store_tests.ini"));
}

TEST_F(SettingsFolder, MissingFileGivesAnEmptyStoreAndFirstWriteCreatesIt) {
    const std::string path = PathOf("app.ini");
    {
        TrsStorage storage;
        Attach(storage, path);
        storage.SetActive(true);
        EXPECT_EQ(storage.KeyCount(), 0u);
        storage.SetRootSection("frmMain.PropSaver");
        storage.FindKey("seMonths.Value", true);
        storage.Key().WriteInteger(12);
    }
    EXPECT_EQ(ReadFile(path), "[frmMain.PropSaver]\r\nseMonths.Value=12\r\n\r\n");
}

TEST_F(SettingsFolder, UnreadableOrCutShortFileGivesWhatCouldBeRead) {
    TrsStorage storage;
    Attach(storage, PathOf("a folder.ini"));
    fs::create_directories(PathOf("a folder.ini"));
    testing::internal::CaptureStderr();
    storage.SetActive(true);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot read file"), std::string::npos);
    EXPECT_EQ(storage.KeyCount(), 0u);
    storage.SetOptions(0);
    storage.SetActive(false);

    const std::string path = PathOf("cut.ini");
    WriteFile(path, "[s]\r\nwhole=1\r\ncut=\"unfinished");
    Attach(storage, path);
    storage.Reload();
    EXPECT_EQ(ValueOf(storage, "s\\whole"), TrsValue(int32_t{1}));
    EXPECT_EQ(ValueOf(storage, "s\\cut"), TrsValue(std::string("\"unfinished")));
}

TEST_F(SettingsFolder, FlushKeepsUnlistedSectionsAndTheCurrentSection) {
    const std::string path = PathOf("app.ini");
    WriteFile(path, "[other]\r\nkeep=hex:0A\r\n\r\n[mine]\r\nk=1\r\n");
    TrsStorage storage;
    Attach(storage, path);
    storage.SetActive(true);
    storage.SetRootSection("mine");
    storage.FindKey("k", true);
    storage.Key().WriteInteger(2);
    storage.Flush();
    EXPECT_EQ(storage.RootSection(), "mine");
    EXPECT_EQ(ReadFile(path), "[mine]\r\nk=2\r\n\r\n[other]\r\nkeep=hex:0A\r\n\r\n");
}

TEST_F(SettingsFolder, WriteIntoMissingFolderRaisesCreateError) {
    WriteFile(PathOf("plain"), "x");
    const std::string path = PathOf("plain/app.ini");
    TrsStorage storage;
    Attach(storage, path);
    storage.FindKey("k", true);
    try {
        storage.Flush();
        FAIL();
    } catch (const EFCreateError& error) {
        // The system's own words follow ("Not a directory" on Linux).
        const std::string prefix = "Cannot create file \"" + path + "\". ";
        EXPECT_EQ(std::string(error.what()).rfind(prefix, 0), 0u) << error.what();
        EXPECT_GT(std::string(error.what()).size(), prefix.size() + 1) << error.what();
    }
    EXPECT_EQ(storage.KeyCount(), 1u);
}

TEST_F(SettingsFolder, DestructorWriteFailureGoesToStandardError) {
    testing::internal::CaptureStderr();
    {
        TrsStorage storage;
        Attach(storage, PathOf("no such folder/app.ini"));
        storage.SetActive(true);
        storage.FindKey("k", true);
    }
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message.rfind("Cannot create file", 0), 0u) << message;
}

} // namespace
} // namespace mirelon
