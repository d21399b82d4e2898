#include "foldertargets.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zd7240 {

std::optional<RefusedTarget> CheckFolderTargets(const std::string& dir,
                                                const std::vector<std::string>& names) {
    const std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    bool folderChecked = false;
    for (const std::string& name : names) {
        const std::string path = folder + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0) {
            if (S_ISLNK(st.st_mode))
                return RefusedTarget{path, "is a symbolic link, not a file"};
            if (S_ISDIR(st.st_mode))
                return RefusedTarget{path, "is a folder, not a file"};
            if (!S_ISREG(st.st_mode))
                return RefusedTarget{path, "is a special file, not a file"};
            // Opened without truncating, as the safe writer itself first probes it.
            const int probe = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
            if (probe < 0)
                return RefusedTarget{path,
                                     std::string("cannot be written: ") + std::strerror(errno)};
            close(probe);
            continue;
        }
        if (errno != ENOENT)
            return RefusedTarget{path, std::string("cannot be looked at: ") + std::strerror(errno)};
        // A missing file is made in the folder, which must let us add names.
        if (!folderChecked && access(dir.c_str(), W_OK | X_OK) != 0)
            return RefusedTarget{path, std::string("cannot be created: ") + std::strerror(errno)};
        folderChecked = true;
    }
    return std::nullopt;
}

} // namespace zd7240
