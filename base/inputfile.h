#pragma once
// An input file (a job file, a device's running configuration) opened for reading the
// way every program reads one: "-" and every name of one of the process's own
// descriptors (/dev/stdin, /dev/fd/N, /proc/self/fd/N) are read from that descriptor, a
// stream even when the shell redirected it from a file; a folder is refused.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zd7240 {

class InputFile {
public:
    explicit InputFile(const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Why the file cannot be read ("is a folder", or the system's words); empty when
    // it can.
    const std::string& problem() const { return problem_; }
    bool isFolder() const { return folder_; }
    // A plain file, whose size is known before it is read.
    bool regular() const { return regular_; }
    std::uint64_t size() const { return size_; }
    // Read from one of the process's own descriptors.
    bool stream() const { return stream_; }

    // Reads up to `capacity` bytes (again after a signal); 0 at the end. On a failure
    // returns -1 and sets problem().
    std::ptrdiff_t Read(char* buffer, std::size_t capacity);

private:
    int fd_ = -1;
    std::string problem_;
    bool folder_ = false;
    bool regular_ = false;
    bool stream_ = false;
    std::uint64_t size_ = 0;
};

} // namespace zd7240
