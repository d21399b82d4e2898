#pragma once
// Reads the files of --against: what a device already holds, as saved from it or as
// earlier scripts, into one running configuration.

#include <optional>
#include <string>
#include <vector>

#include "running.h"

namespace zd7240::cli {

// Reads every file (a stream for "-" and for the names of the process's own
// descriptors) line by line into `running`, in bounded memory: a line is held only up to
// the longest a page writes. Unknown "pvc" lines are printed with their file and line
// number (up to a hundred). Returns the exit status of a refusal (66 for a file that
// cannot be read, 65 for unknown lines), or nothing.
std::optional<int> ReadRunningFiles(const std::vector<std::string>& names, RunningConfig& running);

} // namespace zd7240::cli
