#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_streams.h"

namespace mirelon {

class TcxDriveInfo;

// `drives`: one row per drive letter in use: letter, type text, root path, label, file system,
// and the total and free bytes (free for the calling user, as df's "Avail").
int RunDrivesCommand(const CliRequest& request, const TcxDriveInfo& drives, CliStreams& streams);

} // namespace mirelon
