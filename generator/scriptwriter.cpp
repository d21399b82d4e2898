#include "scriptwriter.h"

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zd7240 {

namespace {

std::string DirName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links to the file they name, which may not exist yet.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n < 0)
            return path;
        link.resize(static_cast<std::size_t>(n));
        path = (!link.empty() && link[0] == '/') ? link : DirName(path) + "/" + link;
    }
    return path; // a loop: opening it reports the system's error
}

mode_t CurrentUmask() {
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

} // namespace

// Writes handed-over buffers to the descriptor on a thread of its own, one at a time.
class ScriptWriter::Background {
public:
    explicit Background(int fd) : fd_(fd), thread_([this] { Run(); }) {}
    ~Background() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    // Waits until the previous buffer is written; the errno of a failed write, else 0.
    int Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return !busy_; });
        return error_;
    }

    // Swaps `data` with the thread's spare buffer and has its first `used` bytes written.
    // Call after Wait() answered 0.
    void Submit(std::vector<char>& data, std::size_t used) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            std::swap(data, pending_);
            used_ = used;
            busy_ = true;
        }
        wake_.notify_all();
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return busy_ || stop_; });
            if (!busy_)
                return;
            lock.unlock();
            int error = 0;
            std::size_t off = 0;
            while (off < used_) {
                const ssize_t n = ::write(fd_, pending_.data() + off, used_ - off);
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    error = errno;
                    break;
                }
                off += static_cast<std::size_t>(n);
            }
            lock.lock();
            if (error != 0 && error_ == 0)
                error_ = error;
            busy_ = false;
            idle_.notify_all();
        }
    }

    const int fd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<char> pending_;
    std::size_t used_ = 0;
    bool busy_ = false;
    bool stop_ = false;
    int error_ = 0;
    std::thread thread_; // last: starts once everything above is ready
};

std::string DescribeFileError(FileError::Kind kind, const std::string& path, int error) {
    const char* verb = kind == FileError::Kind::Create ? "Cannot create file" : "Cannot write file";
    return std::string(verb) + " \"" + path + "\". " + std::strerror(error);
}

ScriptWriter::ScriptWriter(const std::string& path, std::size_t bufferSize)
    : path_(path), buffer_(bufferSize < 4096 ? 4096 : bufferSize), bufferSize_(buffer_.size()) {
    if (path.empty())
        Fail(FileError::Kind::Create, path, ENOENT);
    target_ = FollowLinks(path);

    struct stat st {};
    const bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        // A device, pipe or terminal: there is nothing to replace, write straight into it.
        fd_ = open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            Fail(FileError::Kind::Create, path_, errno);
        return;
    }
    if (exists) {
        // The target itself must be writable, as truncating it in place would require.
        const int probe = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (probe < 0)
            Fail(FileError::Kind::Create, path_, errno);
        close(probe);
    }
    std::string temp = DirName(target_) + "/." + BaseName(target_) + ".XXXXXX";
    fd_ = mkstemp(temp.data());
    if (fd_ < 0)
        Fail(FileError::Kind::Create, path_, errno);
    tempPath_ = temp;
    fcntl(fd_, F_SETFD, FD_CLOEXEC);
    // The new file takes the old one's permissions, or those a plain create would give.
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (fchmod(fd_, mode) != 0) {
        // Not fatal: the file is still ours and readable by its owner.
    }
    if (exists && (fchown(fd_, st.st_uid, st.st_gid) != 0)) {
        // Only root may hand a file to another owner; keep ours otherwise.
    }
}

ScriptWriter::ScriptWriter(int fd, const std::string& name, std::size_t bufferSize)
    : path_(name), target_(name), fd_(fd), buffer_(bufferSize < 4096 ? 4096 : bufferSize),
      bufferSize_(buffer_.size()), ownsFd_(false) {}

ScriptWriter::~ScriptWriter() {
    if (!done_)
        Discard();
}

void ScriptWriter::Write(std::string_view text) {
    char* p = Reserve(text.size());
    std::memcpy(p, text.data(), text.size());
    Advance(text.size());
}

void ScriptWriter::MakeRoom(std::size_t n) {
    Handoff();
    if (buffer_.size() < n)
        buffer_.resize(n);
}

void ScriptWriter::Handoff() {
    if (used_ == 0)
        return;
    if (!background_)
        background_ = std::make_unique<Background>(fd_);
    if (const int error = background_->Wait())
        Fail(FileError::Kind::Write, path_, error);
    background_->Submit(buffer_, used_);
    flushed_ += used_;
    used_ = 0;
    if (buffer_.size() < bufferSize_)
        buffer_.resize(bufferSize_);
}

void ScriptWriter::Drain() {
    Handoff();
    if (background_) {
        const int error = background_->Wait();
        background_.reset();
        if (error != 0)
            Fail(FileError::Kind::Write, path_, error);
    }
}

void ScriptWriter::Commit() {
    if (done_)
        return;
    Drain();
    if (tempPath_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        done_ = true;
        if (ownsFd_ && close(fd) != 0 && errno != EINTR)
            Fail(FileError::Kind::Write, path_, errno);
        return;
    }
    if (fsync(fd_) != 0)
        Fail(FileError::Kind::Write, path_, errno);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 && errno != EINTR)
        Fail(FileError::Kind::Write, path_, errno);
    if (rename(tempPath_.c_str(), target_.c_str()) != 0)
        Fail(FileError::Kind::Write, path_, errno);
    tempPath_.clear();
    done_ = true;
    // Make the rename itself durable.
    const int dir = open(DirName(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

void ScriptWriter::Discard() {
    background_.reset(); // lets a write under way finish before the descriptor closes
    if (fd_ >= 0) {
        if (ownsFd_)
            close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    used_ = 0;
    done_ = true;
}

void ScriptWriter::Fail(FileError::Kind kind, const std::string& what, int error) {
    Discard();
    throw FileError(kind, DescribeFileError(kind, what, error), error);
}

} // namespace zd7240
