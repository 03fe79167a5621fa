// Windows only: the drive table is the system's own, from GetLogicalDrives and the volume calls.
#include "scan/drive_info.h"

#include "base/wide_path.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace mirelon {
namespace {

std::wstring RootOf(int index) {
    return std::wstring(1, static_cast<wchar_t>(L'A' + index)) + L":\\";
}

TEST(SystemDrives, EveryLetterAnswersAsTheSystemDoes) {
    const TcxDriveInfo drives;
    const DWORD present = ::GetLogicalDrives();
    ASSERT_NE(present, 0u);
    for (int index = 0; index < 26; ++index) {
        const auto drive = drives.Drive(index);
        const bool there = (present >> index) & 1;
        EXPECT_EQ(drive->Exists()->Value(), there) << drive->Letter();
        EXPECT_EQ(drive->Index(), index);
        EXPECT_EQ(drive->Letter(), std::string(1, static_cast<char>('A' + index)));
        EXPECT_EQ(drive->RootPath(), drive->Letter() + ":\\");
        const int type = static_cast<int>(::GetDriveTypeW(RootOf(index).c_str()));
        EXPECT_EQ(drive->DriveType()->Number(), type) << drive->Letter();
        if (!there) {
            EXPECT_EQ(drive->DriveType()->Text(), "No Drive");
            EXPECT_EQ(drive->FileSystem(), "");
            EXPECT_EQ(drive->SerialNumber(), "0");
        }
    }
}

TEST(SystemDrives, DriveCIsAFixedDiskWithItsVolumeFacts) {
    const auto c = TcxDriveInfo().Drive(2);
    ASSERT_TRUE(c->Exists()->Value());
    EXPECT_EQ(c->DriveType()->Number(), 3);
    EXPECT_EQ(c->DriveType()->Text(), "Fixed");
    EXPECT_EQ(c->Letter(), "C");

    wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    ASSERT_TRUE(::GetVolumeInformationW(L"C:\\", label, MAX_PATH + 1, &serial, &maxComponent,
                                        &flags, fileSystem, MAX_PATH + 1));
    EXPECT_EQ(c->FileSystem(), Utf8Text(fileSystem));
    EXPECT_NE(c->FileSystem(), "");
    EXPECT_EQ(c->SerialNumber(), std::to_string(serial));
    EXPECT_EQ(c->Features()->CaseSensitiveSearch()->Value(), (flags & 0x1) != 0);
    EXPECT_EQ(c->Features()->CasePreservedNames()->Value(), (flags & 0x2) != 0);
    EXPECT_EQ(c->Features()->UnicodeOnDisk()->Value(), (flags & 0x4) != 0);

    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", &available, &total, &free));
    const auto space = c->Space();
    EXPECT_EQ(space->Total()->Value(), static_cast<int64_t>(total.QuadPart));
    EXPECT_GT(space->Total()->Value(), 0);
    EXPECT_GE(space->Total()->Value(), space->Used()->Value());
    EXPECT_EQ(space->Used()->Value(), space->Total()->Value() - space->TotalFree()->Value());
}

TEST(SystemDrives, LetterWithoutADriveAsksForNothing) {
    const DWORD present = ::GetLogicalDrives();
    int missing = -1;
    for (int index = 25; index >= 0 && missing < 0; --index) {
        if (!((present >> index) & 1)) {
            missing = index;
        }
    }
    ASSERT_GE(missing, 0) << "every letter is taken";
    const auto drive = TcxDriveInfo().Drive(missing);
    EXPECT_FALSE(drive->Exists()->Value());
    EXPECT_EQ(drive->DriveType()->Number(), 1);
    EXPECT_EQ(drive->VolumeName(), "");
    EXPECT_EQ(drive->Space()->Total()->Value(), 0);
}

} // namespace
} // namespace mirelon
