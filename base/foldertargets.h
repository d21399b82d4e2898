#pragma once
// For a program that writes a set of files into one folder (the skin painter's bitmaps,
// a theme's unpacked folder): every name is looked at before any file is written, so
// that a name that cannot be written stops the run with nothing written, rather than
// after part of the set has replaced the user's files.

#include <optional>
#include <string>
#include <vector>

namespace zd7240 {

struct RefusedTarget {
    std::string path; // the folder and the name joined, as the message shows it
    std::string why;  // "is a folder, not a file", "cannot be written: Permission denied"
};

// The first of `names` in the folder `dir` that is not to be written, or nothing when
// every one may be. Only regular files inside the folder are written: a symbolic link
// (which could lead out of the folder), a folder or a special file under one of the
// names is refused, and so is an existing file that cannot be opened for writing or a
// missing one in a folder where no file can be made.
std::optional<RefusedTarget> CheckFolderTargets(const std::string& dir,
                                                const std::vector<std::string>& names);

} // namespace zd7240
