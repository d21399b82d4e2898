#include "scriptwriter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <set>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <thread>
#include <tuple>
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

bool IsDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool IsAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The target of one symbolic link as a path, or an empty string when `path` is no link.
std::string ReadLink(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return {};
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), link.data(), link.size());
    if (n <= 0)
        return {};
    link.resize(static_cast<std::size_t>(n));
    return link[0] == '/' ? link : DirName(path) + "/" + link;
}

// Follows a chain of symbolic links to the file they name, which may not exist yet.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::string next = ReadLink(path);
        if (next.empty())
            return path;
        path = std::move(next);
    }
    return path; // a loop: opening it reports the system's error
}

// When `path` names one of this process's own open descriptors, directly or through
// links (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N, /proc/PID/fd/N), its
// number; otherwise -1. Such a name must be written through the descriptor: opened
// anew it would truncate a file the shell opened for appending, or replace the file
// behind it while the shell and the rest of the command line go on writing the old one.
int OwnDescriptor(std::string path) {
    const std::string self = "/proc/" + std::to_string(getpid());
    for (int hops = 0; hops < 40; ++hops) {
        const std::string base = BaseName(path);
        if (IsDecimal(base)) {
            char resolved[PATH_MAX];
            if (realpath(DirName(path).c_str(), resolved)) {
                const std::string_view dir = resolved;
                if (dir == self + "/fd" ||
                    (dir.starts_with(self + "/task/") && dir.ends_with("/fd")))
                    return std::stoi(base);
            }
        }
        std::string next = ReadLink(path);
        if (next.empty())
            return -1;
        path = std::move(next);
    }
    return -1;
}

// Standard output or standard error when the file `st` describes is the one either
// leads to (the target was named by another of its names), else -1.
int StandardStreamOf(const struct stat& st) {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (fstat(fd, &open) == 0 && open.st_dev == st.st_dev && open.st_ino == st.st_ino)
            return fd;
    }
    return -1;
}

// Temporaries are named ".NAME.zd7240-XXXXXX.tmp": a name a person does not pick by
// chance, so the clean-up below never takes a file of theirs. NAME is cut short where
// the whole would pass the file system's 255 bytes, so any target name can be written.
constexpr std::string_view kTempTag = ".zd7240-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kTempRandom = 6;
constexpr std::size_t kNameMax = 255;

std::string TempPrefix(const std::string& base) {
    const std::size_t room = kNameMax - 1 - kTempTag.size() - kTempRandom - kTempSuffix.size();
    return "." + base.substr(0, room) + std::string(kTempTag);
}

bool IsOurTemporary(std::string_view name) {
    const std::size_t tail = kTempTag.size() + kTempRandom + kTempSuffix.size();
    if (name.size() < 1 + tail || name[0] != '.' || !name.ends_with(kTempSuffix))
        return false;
    const std::string_view tag = name.substr(name.size() - tail);
    if (!tag.starts_with(kTempTag))
        return false;
    for (const char c : tag.substr(kTempTag.size(), kTempRandom)) {
        if (!IsAlnum(c))
            return false;
    }
    return true;
}

// Six random letters and digits for a temporary's name.
std::string RandomTag() {
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[kTempRandom];
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        static std::atomic<unsigned> counter{0};
        const unsigned seed = static_cast<unsigned>(getpid()) * 2654435761u + counter++;
        for (std::size_t i = 0; i < kTempRandom; ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
    std::string tag;
    for (const unsigned char b : bytes)
        tag += kAlphabet[b % (sizeof kAlphabet - 1)];
    return tag;
}

// Removes temporaries left in `dir` by a run that was killed: our own names only, and
// only those nobody holds locked (a live writer holds the lock on its temporary for as
// long as it exists). Each folder is read once per process, so writing many files
// into one folder does not read it again for each.
void RemoveStaleTemporaries(const std::string& dir) {
    static std::mutex mutex;
    // Keyed by the name too: a folder removed and another made may reuse its inode.
    static std::set<std::tuple<dev_t, ino_t, std::string>> done;
    struct stat folderStat {};
    if (stat(dir.c_str(), &folderStat) != 0)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!done.insert({folderStat.st_dev, folderStat.st_ino, dir}).second)
            return;
    }
    DIR* folder = opendir(dir.c_str());
    if (!folder)
        return;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (!IsOurTemporary(name))
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

// Gives the unnamed file open as `fd` the name `path`, which must not exist.
bool LinkUnnamed(int fd, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT || access("/proc/self/fd", F_OK) == 0)
        return false;
    // Without /proc, by the descriptor itself (allowed to privileged processes only).
    return linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
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

// Where a target leads and how it will be written, found without creating or opening
// anything but a regular file's probe. Every reason the writer has to refuse a target
// before its first byte is asked here, so that a check made ahead of writing (a dry
// run, a run of many files) refuses what writing would.
struct Resolved {
    TargetPlan plan;
    struct stat st {}; // the existing file, when plan.exists
};

Resolved Resolve(const std::string& path) {
    const auto fail = [&path](FileError::Kind kind, int error) -> Resolved {
        throw FileError(kind, DescribeFileError(kind, path, error), error);
    };
    Resolved r;
    TargetPlan& plan = r.plan;
    if (path.empty())
        return fail(FileError::Kind::Create, ENOENT);
    const auto descriptor = [&](int fd) {
        // A descriptor open for reading only cannot take the script: that is also what
        // a closed standard stream has become (processguard.h), and its script would be
        // lost.
        const int flags = fcntl(fd, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
            fail(FileError::Kind::Write, EBADF);
        plan.kind = TargetPlan::Kind::Descriptor;
        plan.descriptor = fd;
        plan.target = path;
        return r;
    };
    if (const int fd = OwnDescriptor(path); fd >= 0)
        return descriptor(fd);

    // What the name leads to, links followed: a link loop, a folder that cannot be
    // searched, a plain file used as a folder or a name too long fail here with the
    // system's description.
    plan.exists = stat(path.c_str(), &r.st) == 0;
    if (!plan.exists && errno != ENOENT)
        return fail(FileError::Kind::Create, errno);
    if (plan.exists) {
        if (const int fd = StandardStreamOf(r.st); fd >= 0)
            return descriptor(fd);
        if (S_ISDIR(r.st.st_mode))
            return fail(FileError::Kind::Create, EISDIR);
        if (!S_ISREG(r.st.st_mode)) {
            // A device, pipe or terminal: nothing to replace; written straight into,
            // opened by the name as given. Opening a FIFO would wait for its reader,
            // so only the permission is asked here.
            if (access(path.c_str(), W_OK) != 0)
                return fail(FileError::Kind::Create, errno);
            plan.kind = TargetPlan::Kind::Direct;
            plan.target = path;
            return r;
        }
    }
    plan.target = FollowLinks(path);
    const std::string base = BaseName(plan.target);
    // "d/", "d//" and "d/." name a folder (existing or not), never a file in it.
    if (base.empty() || base == "." || base == "..")
        return fail(FileError::Kind::Create, EISDIR);
    const std::string dir = DirName(plan.target);
    if (plan.exists) {
        // The target itself must be writable, as truncating it in place would require.
        const int probe = open(plan.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (probe < 0)
            return fail(FileError::Kind::Create, errno);
        close(probe);
        if (CannotReplace(dir, r.st)) {
            plan.kind = TargetPlan::Kind::InPlace;
            plan.size = static_cast<std::uint64_t>(r.st.st_size);
            return r;
        }
    } else {
        // A new file: its folder must be there, be a folder and take a file of this
        // name (a dangling link's target may lie in a folder that is none of these).
        struct stat folder {};
        if (stat(dir.c_str(), &folder) != 0)
            return fail(FileError::Kind::Create, errno);
        if (!S_ISDIR(folder.st_mode))
            return fail(FileError::Kind::Create, ENOTDIR);
        if (access(dir.c_str(), W_OK | X_OK) != 0)
            return fail(FileError::Kind::Create, errno);
        const long nameMax = pathconf(dir.c_str(), _PC_NAME_MAX);
        if ((nameMax > 0 && base.size() > static_cast<std::size_t>(nameMax)) ||
            plan.target.size() >= PATH_MAX)
            return fail(FileError::Kind::Create, ENAMETOOLONG);
    }
    plan.kind = TargetPlan::Kind::Replace;
    struct stat folder {};
    if (stat(dir.c_str(), &folder) == 0)
        plan.device = static_cast<std::uint64_t>(folder.st_dev);
    plan.size = plan.exists ? static_cast<std::uint64_t>(r.st.st_size) : 0;
    return r;
}

} // namespace

bool OldContent::Matches(const char* data, std::size_t size, std::uint64_t at,
                         std::vector<char>& scratch) const {
    if (at + size > this->size)
        return false;
    if (size == 0)
        return true; // (an empty vector may hold no memory to compare)
    if (scratch.size() < size)
        scratch.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, scratch.data() + got, size - got, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return std::memcmp(scratch.data(), data, size) == 0;
}

int OldContent::CopyTo(int to, std::uint64_t length) const {
    loff_t from = 0;
    while (length > 0) {
        const ssize_t n = copy_file_range(fd, &from, to, nullptr, length, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            break; // copied by hand below
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO; // the old file became shorter meanwhile
        length -= static_cast<std::uint64_t>(n);
    }
    char buffer[65536];
    while (length > 0) {
        const std::size_t want =
            length < sizeof buffer ? static_cast<std::size_t>(length) : sizeof buffer;
        const ssize_t n = pread(fd, buffer, want, from);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        if (const int error = WriteAll(to, buffer, static_cast<std::size_t>(n)))
            return error;
        from += n;
        length -= static_cast<std::uint64_t>(n);
    }
    return 0;
}

// The buffers, the queue of filled ones and the thread that writes them, in order.
// The formatting side waits only when every buffer is queued; the thread sleeps only
// when none is. Each side wakes the other only when it sleeps, and only once half the
// buffers are ready for it: a sleep and a wake cost more than writing a buffer (each is
// a trip through the scheduler), so they are paid once per half of the buffers, and the
// thread writes the buffers that wait in one call.
class WriteBehind::Queue {
public:
    Queue(std::size_t bufferSize, std::size_t buffers)
        : bufferSize_(bufferSize), batch_(buffers / 2) {
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

    int Submit(int fd, std::size_t used, OldContent* old) {
        if (!thread_.joinable())
            Start();
        std::unique_lock<std::mutex> lock(mutex_);
        filled_.push_back({front_, fd, used, old, old ? old->offset : 0});
        if (writerSleeps_ && filled_.size() >= batch_)
            work_.notify_one();
        if (free_.empty()) {
            formatterSleeps_ = true;
            room_.wait(lock, [this] { return free_.size() >= batch_; });
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
            if (writerSleeps_)
                work_.notify_one();
            room_.wait(lock, [this] { return filled_.empty() && !writing_; });
            formatterSleeps_ = draining_ = false;
        }
        return std::exchange(error_, 0);
    }

    // Only called once Submit has started the thread. The descriptor is closed with the
    // next buffers written, or when the thread ends.
    void CloseLater(int fd) {
        std::lock_guard<std::mutex> lock(mutex_);
        filled_.push_back({kClose, fd, 0, nullptr, 0});
    }

private:
    static constexpr std::size_t kClose = static_cast<std::size_t>(-1);
    struct Task {
        std::size_t buffer; // kClose: close fd
        int fd;
        std::size_t size;
        OldContent* old;         // compared with the bytes, when given
        std::uint64_t oldOffset; // where the bytes go in the file
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

    // A buffer written as it is, without a comparison to make first.
    static bool Plain(const Task& task) {
        return task.buffer != kClose &&
               (!task.old || !task.old->same.load(std::memory_order_relaxed));
    }

    // Writes one task's buffer, comparing it with the old file first while the new
    // bytes are still the old file's; an errno, or 0.
    int WriteTask(const Task& task) {
        const char* data = buffers_[task.buffer].data.get();
        // While the new bytes are the old file's, nothing is written: an unchanged file
        // costs a read. At the first difference the equal part is copied from the old
        // file, and writing goes on as usual.
        if (task.old && task.old->same.load(std::memory_order_relaxed)) {
            if (task.old->Matches(data, task.size, task.oldOffset, scratch_))
                return 0;
            task.old->same.store(false, std::memory_order_relaxed);
            if (const int error = task.old->CopyTo(task.fd, task.oldOffset))
                return error;
        }
        return WriteAll(task.fd, data, task.size);
    }

    // Writes the buffers of `tasks` (plain ones, all to one descriptor) in as few calls
    // as the system takes; an errno, or 0.
    int WriteTasks(const std::vector<Task>& tasks) {
        iovecs_.clear();
        for (const Task& task : tasks)
            iovecs_.push_back({buffers_[task.buffer].data.get(), task.size});
        std::size_t first = 0;
        while (first < iovecs_.size()) {
            const int count =
                static_cast<int>(std::min<std::size_t>(iovecs_.size() - first, IOV_MAX));
            const ssize_t n = ::writev(tasks[0].fd, iovecs_.data() + first, count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            // Past what was written: whole buffers, then into the first one left.
            std::size_t done = static_cast<std::size_t>(n);
            while (first < iovecs_.size() && done >= iovecs_[first].iov_len)
                done -= iovecs_[first++].iov_len;
            if (done > 0) {
                iovecs_[first].iov_base = static_cast<char*>(iovecs_[first].iov_base) + done;
                iovecs_[first].iov_len -= done;
            }
        }
        return 0;
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        std::vector<Task> batch;
        for (;;) {
            if (filled_.empty() ||
                (filled_.size() < batch_ && !draining_ && !stop_ && !formatterSleeps_)) {
                writerSleeps_ = true;
                work_.wait(lock, [this] {
                    return filled_.size() >= batch_ || (!filled_.empty() && draining_) || stop_;
                });
                writerSleeps_ = false;
                if (filled_.empty())
                    return;
            }
            // The buffers waiting for the same descriptor go in one call; a buffer to
            // compare with the old file, or a descriptor to close, goes alone.
            batch.clear();
            batch.push_back(filled_.front());
            filled_.pop_front();
            if (Plain(batch[0])) {
                while (!filled_.empty() && Plain(filled_.front()) &&
                       filled_.front().fd == batch[0].fd) {
                    batch.push_back(filled_.front());
                    filled_.pop_front();
                }
            }
            writing_ = true;
            // After a failure the rest of that file is dropped, not written.
            const bool skip = error_ != 0;
            lock.unlock();
            int error = 0;
            if (batch[0].buffer == kClose)
                close(batch[0].fd);
            else if (!skip)
                error = batch.size() == 1 ? WriteTask(batch[0]) : WriteTasks(batch);
            lock.lock();
            if (error != 0 && error_ == 0)
                error_ = error;
            writing_ = false;
            for (const Task& task : batch) {
                if (task.buffer != kClose)
                    free_.push_back(task.buffer);
            }
            if (formatterSleeps_ &&
                (draining_ ? filled_.empty() : free_.size() >= batch_ || filled_.empty()))
                room_.notify_one();
        }
    }

    const std::size_t bufferSize_;
    const std::size_t batch_; // buffers ready before a sleeping side is woken
    std::vector<Buffer> buffers_;
    std::vector<iovec> iovecs_; // the batch being written, on the thread
    std::vector<char> scratch_; // the old bytes being compared, on the thread
    std::size_t front_ = 0;     // being filled
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

int WriteBehind::Submit(int fd, std::size_t used, OldContent* old) {
    return queue_->Submit(fd, used, old);
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

int NamedDescriptor(const std::string& path) {
    return OwnDescriptor(path);
}

TargetPlan PlanTarget(const std::string& path) {
    return Resolve(path).plan;
}

void ScriptWriter::Open(const std::string& path) {
    Resolved r;
    try {
        r = Resolve(path);
    } catch (const FileError&) {
        Discard();
        throw;
    }
    const TargetPlan& plan = r.plan;
    target_ = plan.target;
    switch (plan.kind) {
    case TargetPlan::Kind::Descriptor:
        fd_ = plan.descriptor;
        ownsFd_ = false;
        return;
    case TargetPlan::Kind::Direct:
        OpenDirect(path, O_TRUNC);
        return;
    case TargetPlan::Kind::InPlace:
        // As `echo > file` would: the file is rewritten in place, so a failure on the
        // way leaves it cut short rather than as it was.
        OpenDirect(target_, O_TRUNC);
        return;
    case TargetPlan::Kind::Replace:
        break;
    }
    const bool exists = plan.exists;
    const struct stat& st = r.st;
    const std::string dir = DirName(target_);
    existed_ = exists;
    if (exists) {
        // Compared with the new bytes as they are written: an unchanged file is kept.
        const int oldFd = open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (oldFd >= 0) {
            old_ = std::make_unique<OldContent>();
            old_->fd = oldFd;
            old_->size = static_cast<std::uint64_t>(st.st_size);
        }
    }
    RemoveStaleTemporaries(dir);
    // Preferably a file without a name, which a killed run cannot leave behind; it is
    // named only when complete. Where the file system has no such files, a named
    // temporary, locked while it is written so that no clean-up takes it.
    fd_ = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        unnamed_ = true;
        flock(fd_, LOCK_EX);
    } else {
        OpenNamedTemporary(dir);
    }
    // The new file takes the old one's owner and permissions (set-user-ID and
    // set-group-ID bits included, which a change of owner would clear, hence the
    // order), or those a plain create would give.
    if (exists && (fchown(fd_, st.st_uid, st.st_gid) != 0)) {
        // Only root may hand a file to another owner; keep ours otherwise.
    }
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (fchmod(fd_, mode) != 0) {
        // Not fatal: the file is still ours and readable by its owner.
    }
}

void ScriptWriter::OpenNamedTemporary(const std::string& dir) {
    for (int attempt = 0;; ++attempt) {
        std::string temp =
            dir + "/" + TempPrefix(BaseName(target_)) + "XXXXXX" + std::string(kTempSuffix);
        fd_ = mkostemps(temp.data(), static_cast<int>(kTempSuffix.size()), O_CLOEXEC);
        if (fd_ < 0)
            Fail(FileError::Kind::Create, path_, errno);
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
}

// Names the complete unnamed file: as the target straight away when there was none,
// otherwise as a temporary then renamed over the target.
void ScriptWriter::NameUnnamed(bool asTemporary) {
    if (!asTemporary && !existed_ && LinkUnnamed(fd_, target_))
        return;
    const std::string dir = DirName(target_);
    for (int attempt = 0;; ++attempt) {
        std::string temp =
            dir + "/" + TempPrefix(BaseName(target_)) + RandomTag() + std::string(kTempSuffix);
        if (LinkUnnamed(fd_, temp)) {
            tempPath_ = std::move(temp);
            tempSlot_ = RegisterTemporary(tempPath_);
            return;
        }
        if (errno != EEXIST || attempt == 8)
            Fail(FileError::Kind::Write, path_, errno);
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
    // Handed over while the file may still equal the old one; the thread decides.
    OldContent* old = nullptr;
    if (old_ && old_->same.load(std::memory_order_relaxed)) {
        old_->offset = flushed_;
        old = old_.get();
    }
    const int error = behind_->Submit(fd_, used_, old);
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
        // All of it fits one buffer: compared and written here, without waking the
        // thread; a file whose bytes are the old file's is not written at all.
        if (old_) {
            std::vector<char> scratch;
            if (used_ == old_->size && old_->Matches(data_, used_, 0, scratch)) {
                flushed_ += used_;
                used_ = 0;
                unchanged_ = true;
                return;
            }
            old_->same.store(false, std::memory_order_relaxed);
        }
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
    Finish();
    Place();
}

void ScriptWriter::Finish() {
    if (done_ || finished_)
        return;
    background_ = submitted_;
    Drain();
    if (tempPath_.empty() && !unnamed_) {
        // Written into the target itself: nothing is left to put in place.
        const int fd = fd_;
        fd_ = -1;
        done_ = true;
        if (ownsFd_ && close(fd) != 0 && errno != EINTR)
            Fail(FileError::Kind::Write, path_, errno);
        return;
    }
    if (old_) {
        const bool same = old_->same.load(std::memory_order_relaxed);
        unchanged_ = unchanged_ || (same && bytesWritten() == old_->size);
        // Shorter than the old file but equal so far: the bytes held back until now
        // are copied from it.
        if (same && !unchanged_)
            if (const int error = old_->CopyTo(fd_, bytesWritten()))
                Fail(FileError::Kind::Write, path_, error);
        DropOld();
    }
    if (unchanged_) {
        // Nothing to put in place: the new file is let go of at once.
        DropTemporary();
        finished_ = true;
        return;
    }
    if (fsync(fd_) != 0)
        Fail(FileError::Kind::Write, path_, errno);
    finished_ = true;
}

void ScriptWriter::DropOld() {
    if (old_) {
        close(old_->fd);
        old_.reset();
    }
}

void ScriptWriter::DropTemporary() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    unnamed_ = false;
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        ForgetTemporary(tempSlot_);
        tempSlot_ = -1;
        tempPath_.clear();
    }
}

void ScriptWriter::Release() {
    if (done_ || !finished_ || fd_ < 0)
        return;
    if (unnamed_) {
        NameUnnamed(true);
        unnamed_ = false;
    }
    close(fd_);
    fd_ = -1;
}

void ScriptWriter::Place() {
    if (done_)
        return;
    Finish();
    if (done_)
        return;
    if (unchanged_) {
        done_ = true;
        return;
    }
    if (unnamed_) {
        NameUnnamed(false);
        unnamed_ = false;
    }
    if (!tempPath_.empty()) {
        // The file being replaced is let go of when its last name and descriptor are
        // gone, and on tmpfs that frees each of its pages there and then. A descriptor
        // held on it and closed by the background thread, after the rename, moves that
        // work off this side, where the next file is already being formatted.
        const int old = background_ ? open(target_.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1;
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
    }
    // Closed only now: the lock held through the descriptor keeps a named temporary
    // from other runs' clean-up until it is in place.
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    done_ = true;
    // Make the new name durable.
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
    DropOld();
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

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    ScriptWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

void ScriptWriter::Fail(FileError::Kind kind, const std::string& what, int error) {
    Discard();
    throw FileError(kind, DescribeFileError(kind, what, error), error);
}

} // namespace zd7240
