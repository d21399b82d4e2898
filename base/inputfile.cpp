#include "inputfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scriptwriter.h"

namespace zd7240 {

InputFile::InputFile(const std::string& name) {
    const int named = name == "-" ? STDIN_FILENO : NamedDescriptor(name);
    stream_ = named >= 0;
    fd_ = stream_ ? fcntl(named, F_DUPFD_CLOEXEC, 3) : open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        problem_ = std::strerror(errno);
        return;
    }
    struct stat st {};
    if (fstat(fd_, &st) != 0) {
        problem_ = std::strerror(errno);
        return;
    }
    if (S_ISDIR(st.st_mode)) {
        folder_ = true;
        problem_ = "is a folder";
        return;
    }
    regular_ = S_ISREG(st.st_mode);
    size_ = regular_ ? static_cast<std::uint64_t>(st.st_size) : 0;
}

InputFile::~InputFile() {
    if (fd_ >= 0)
        close(fd_);
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t capacity) {
    if (!problem_.empty())
        return -1;
    for (;;) {
        const ssize_t n = read(fd_, buffer, capacity);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            problem_ = std::strerror(errno);
            return -1;
        }
    }
}

} // namespace zd7240
