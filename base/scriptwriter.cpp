#include "scriptwriter.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

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

// Writes all of a buffer, going on after an interrupted call; the errno of a failure,
// else 0.
int WriteAll(int fd, const char* data, std::size_t size) {
    std::size_t off = 0;
    while (off < size) {
        const ssize_t n = ::write(fd, data + off, size - off);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        off += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

// The buffers, the queue of filled ones and the thread that writes them, in order.
// The formatting side waits only when every buffer is queued; the thread sleeps only
// when none is. Each side wakes the other only when it sleeps.
class WriteBehind::Queue {
public:
    Queue(std::size_t bufferSize, std::size_t buffers) : bufferSize_(bufferSize) {
        buffers_.resize(buffers);
        for (std::size_t i = 1; i < buffers; ++i)
            free_.push_back(i);
    }
    ~Queue() {
        if (!thread_.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        work_.notify_one();
        thread_.join();
    }

    char* Front(std::size_t atLeast, std::size_t* size) {
        Buffer& front = buffers_[front_];
        const std::size_t wanted = atLeast > bufferSize_ ? atLeast : bufferSize_;
        if (front.size < wanted) {
            front.data.reset(new char[wanted]);
            front.size = wanted;
        }
        *size = front.size;
        return front.data.get();
    }

    int Submit(int fd, std::size_t used) {
        if (!thread_.joinable())
            Start();
        std::unique_lock<std::mutex> lock(mutex_);
        filled_.push_back({front_, fd, used});
        if (writerSleeps_)
            work_.notify_one();
        if (free_.empty()) {
            formatterSleeps_ = true;
            room_.wait(lock, [this] { return !free_.empty(); });
            formatterSleeps_ = false;
        }
        front_ = free_.front();
        free_.pop_front();
        return error_;
    }

    int Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!filled_.empty() || writing_) {
            formatterSleeps_ = draining_ = true;
            room_.wait(lock, [this] { return filled_.empty() && !writing_; });
            formatterSleeps_ = draining_ = false;
        }
        return std::exchange(error_, 0);
    }

    // Only called once Submit has started the thread.
    void CloseLater(int fd) {
        std::lock_guard<std::mutex> lock(mutex_);
        filled_.push_back({kClose, fd, 0});
        if (writerSleeps_)
            work_.notify_one();
    }

private:
    static constexpr std::size_t kClose = static_cast<std::size_t>(-1);
    struct Task {
        std::size_t buffer; // kClose: close fd
        int fd;
        std::size_t size;
    };

    // The thread takes no interrupt: SIGINT, SIGTERM and SIGHUP go to the formatting
    // side, so an interrupt handler never runs while that side goes on registering or
    // renaming temporaries (processguard.h).
    void Start() {
        sigset_t interrupts, previous;
        sigemptyset(&interrupts);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&interrupts, signal);
        pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (...) {
            pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            throw;
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (filled_.empty()) {
                writerSleeps_ = true;
                work_.wait(lock, [this] { return !filled_.empty() || stop_; });
                writerSleeps_ = false;
                if (filled_.empty())
                    return;
            }
            const Task task = filled_.front();
            filled_.pop_front();
            writing_ = true;
            // After a failure the rest of that file is dropped, not written.
            const bool skip = error_ != 0;
            lock.unlock();
            int error = 0;
            if (task.buffer == kClose)
                close(task.fd);
            else if (!skip)
                error = WriteAll(task.fd, buffers_[task.buffer].data.get(), task.size);
            lock.lock();
            if (error != 0 && error_ == 0)
                error_ = error;
            writing_ = false;
            if (task.buffer != kClose)
                free_.push_back(task.buffer);
            if (formatterSleeps_ && (!draining_ || filled_.empty()))
                room_.notify_one();
        }
    }

    const std::size_t bufferSize_;
    std::vector<Buffer> buffers_;
    std::size_t front_ = 0; // being filled
    std::mutex mutex_;
    std::condition_variable work_; // the thread waits for a filled buffer
    std::condition_variable room_; // the formatting side waits for a free one
    std::deque<Task> filled_;
    std::deque<std::size_t> free_;
    bool writing_ = false;
    bool writerSleeps_ = false;
    bool formatterSleeps_ = false;
    bool draining_ = false; // the formatting side waits for every buffer
    bool stop_ = false;
    int error_ = 0;
    std::thread thread_; // started by the first Submit
};

WriteBehind::WriteBehind(std::size_t bufferSize, std::size_t buffers)
    : queue_(std::make_unique<Queue>(bufferSize < 4096 ? 4096 : bufferSize,
                                     buffers < 2 ? 2 : buffers)) {}

WriteBehind::~WriteBehind() = default;

char* WriteBehind::Front(std::size_t atLeast, std::size_t* size) {
    return queue_->Front(atLeast, size);
}

int WriteBehind::Submit(int fd, std::size_t used) {
    return queue_->Submit(fd, used);
}

int WriteBehind::Wait() {
    return queue_->Wait();
}

void WriteBehind::CloseLater(int fd) {
    queue_->CloseLater(fd);
}

std::string DescribeFileError(FileError::Kind kind, const std::string& path, int error) {
    const char* verb = kind == FileError::Kind::Create ? "Cannot create file" : "Cannot write file";
    return std::string(verb) + " \"" + path + "\". " + std::strerror(error);
}

ScriptWriter::ScriptWriter(const std::string& path, std::size_t bufferSize)
    : ownBehind_(std::make_unique<WriteBehind>(bufferSize)), behind_(ownBehind_.get()),
      path_(path) {
    Open(path);
}

ScriptWriter::ScriptWriter(const std::string& path, WriteBehind& behind)
    : behind_(&behind), path_(path) {
    Open(path);
}

void ScriptWriter::Open(const std::string& path) {
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
    : ownBehind_(std::make_unique<WriteBehind>(bufferSize)), behind_(ownBehind_.get()), path_(name),
      target_(name), fd_(fd), ownsFd_(false) {}

ScriptWriter::ScriptWriter(int fd, const std::string& name, WriteBehind& behind)
    : behind_(&behind), path_(name), target_(name), fd_(fd), ownsFd_(false) {}

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
    data_ = behind_->Front(n, &capacity_);
}

void ScriptWriter::Handoff() {
    if (used_ == 0)
        return;
    const int error = behind_->Submit(fd_, used_);
    submitted_ = true;
    flushed_ += used_;
    used_ = 0;
    data_ = nullptr; // now the background thread's; the next Reserve takes another
    capacity_ = 0;
    if (error != 0)
        Fail(FileError::Kind::Write, path_, error);
}

void ScriptWriter::Drain() {
    if (!submitted_) {
        // All of it fits one buffer: written here, without waking the thread.
        if (const int error = WriteAll(fd_, data_, used_))
            Fail(FileError::Kind::Write, path_, error);
        flushed_ += used_;
        used_ = 0;
        return;
    }
    Handoff();
    submitted_ = false;
    if (const int error = behind_->Wait())
        Fail(FileError::Kind::Write, path_, error);
}

void ScriptWriter::Commit() {
    if (done_)
        return;
    const bool background = submitted_;
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
    // The file being replaced is let go of when its last name and descriptor are gone,
    // and on tmpfs that frees each of its pages there and then. A descriptor held on it
    // and closed by the background thread, after the rename, moves that work off this
    // side, where the next file is already being formatted.
    const int old = background ? open(target_.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1;
    const bool renamed = rename(tempPath_.c_str(), target_.c_str()) == 0;
    const int error = errno;
    if (old >= 0) {
        if (renamed)
            behind_->CloseLater(old);
        else
            close(old);
    }
    if (!renamed)
        Fail(FileError::Kind::Write, path_, error);
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
    if (submitted_) {
        behind_->Wait(); // lets a write under way finish before the descriptor closes
        submitted_ = false;
    }
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
