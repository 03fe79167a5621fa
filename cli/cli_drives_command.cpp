#include "cli/cli_drives_command.h"

#include "cli/cli_exit_codes.h"
#include "output/table_writer.h"
#include "scan/drive_info.h"

#include <array>
#include <string>

namespace mirelon {

namespace {

constexpr int kDriveCount = 26;

constexpr std::array<OutputColumn, 7> kDriveColumns{{
    {"letter", false},
    {"type", false},
    {"root", false},
    {"label", false},
    {"file_system", false},
    {"total_bytes", true},
    {"free_bytes", true},
}};

} // namespace

int RunDrivesCommand(const CliRequest& request, const TcxDriveInfo& drives, CliStreams& streams) {
    const auto writer = MakeTableWriter(request.format, streams.out);
    writer->Start(kDriveColumns);
    for (int index = 0; index < kDriveCount; ++index) {
        const auto drive = drives.Drive(index);
        if (!drive->Exists()->Value()) {
            continue;
        }
        const auto space = drive->Space();
        const std::array<std::string, kDriveColumns.size()> cells{
            drive->Letter(),
            drive->DriveType()->Text(),
            drive->RootPath(),
            drive->VolumeName(),
            drive->FileSystem(),
            std::to_string(space->Total()->Value()),
            std::to_string(space->FreeAvailable()->Value()),
        };
        writer->Row(cells);
    }
    writer->Finish();
    return kExitSuccess;
}

} // namespace mirelon
