#pragma once
// Running zd7240-gen from the job file tests: in a folder, with standard output and
// error captured.

#include <filesystem>
#include <string>
#include <vector>

#include "process.h"

namespace zd7240::test {

inline Result GenIn(const std::filesystem::path& cwd, const std::vector<std::string>& args) {
    Launch launch;
    launch.cwd = cwd.string();
    return RunProcess(ZD7240_GEN, args, launch);
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace zd7240::test
