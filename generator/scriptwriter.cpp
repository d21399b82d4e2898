#include "scriptwriter.h"

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "processguard.h"

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

// Removes temporaries of `base` left in `dir` by a run that was killed: ".BASE.XXXXXX"
// files that nobody holds locked. A live writer holds the lock on its temporary for as
// long as it writes it, so its file is never taken.
void RemoveStaleTemporaries(const std::string& dir, const std::string& base) {
    DIR* folder = opendir(dir.c_str());
    if (!folder)
        return;
    const std::string prefix = "." + base + ".";
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
            continue;
        bool pattern = true;
        for (const char c : name.substr(prefix.size()))
            pattern = pattern &&
                      ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
        if (!pattern)
            continue;
        const std::string path = dir + "/" + std::string(name);
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {
        }, named{};
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            unlink(path.c_str());
        close(fd);
    }
    closedir(folder);
}

// True when `path` names a file that can be written but not replaced by a rename:
// its folder is not writable, or it is sticky and neither the file nor the folder
// belongs to us.
bool CannotReplace(const std::string& dir, const struct stat& file) {
    if (access(dir.c_str(), W_OK | X_OK) != 0)
        return errno == EACCES || errno == EROFS || errno == EPERM;
    struct stat folder {};
    if (stat(dir.c_str(), &folder) != 0)
        return false;
    const uid_t me = geteuid();
    return (folder.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && folder.st_uid != me;
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

    // What the name leads to, links followed: a link loop or a folder that cannot be
    // searched fails here with the system's description.
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        Fail(FileError::Kind::Create, path_, errno);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device, pipe or terminal: there is nothing to replace, write straight into
        // it, opened by the name as given (/dev/stdout and /proc/self/fd/1 lead to a
        // pipe that has no name of its own).
        target_ = path;
        OpenDirect(path, O_TRUNC);
        return;
    }
    target_ = FollowLinks(path);
    const std::string dir = DirName(target_);
    if (exists) {
        // The target itself must be writable, as truncating it in place would require.
        const int probe = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (probe < 0)
            Fail(FileError::Kind::Create, path_, errno);
        close(probe);
        if (CannotReplace(dir, st)) {
            // As `echo > file` would: the file is rewritten in place, so a failure on
            // the way leaves it cut short rather than as it was.
            OpenDirect(target_, O_TRUNC);
            return;
        }
    }
    RemoveStaleTemporaries(dir, BaseName(target_));
    for (int attempt = 0;; ++attempt) {
        std::string temp = dir + "/." + BaseName(target_) + ".XXXXXX";
        fd_ = mkstemp(temp.data());
        if (fd_ < 0)
            Fail(FileError::Kind::Create, path_, errno);
        fcntl(fd_, F_SETFD, FD_CLOEXEC);
        // Held until the file is renamed or removed: another run's clean-up leaves it
        // alone. Should a clean-up have taken the name between creation and locking,
        // start again with a new one.
        struct stat held {
        }, named{};
        if (flock(fd_, LOCK_EX) == 0 && fstat(fd_, &held) == 0 &&
            lstat(temp.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            tempPath_ = temp;
            break;
        }
        close(fd_);
        fd_ = -1;
        if (attempt == 3)
            Fail(FileError::Kind::Create, path_, EAGAIN);
    }
    tempSlot_ = RegisterTemporary(tempPath_);
    // The new file takes the old one's permissions, or those a plain create would give.
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (fchmod(fd_, mode) != 0) {
        // Not fatal: the file is still ours and readable by its owner.
    }
    if (exists && (fchown(fd_, st.st_uid, st.st_gid) != 0)) {
        // Only root may hand a file to another owner; keep ours otherwise.
    }
}

void ScriptWriter::OpenDirect(const std::string& path, int flags) {
    fd_ = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags);
    if (fd_ < 0)
        Fail(FileError::Kind::Create, path_, errno);
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
    ForgetTemporary(tempSlot_);
    tempSlot_ = -1;
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
        ForgetTemporary(tempSlot_);
        tempSlot_ = -1;
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
