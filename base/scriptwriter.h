#pragma once
// Writes a script (or any output file) safely. A regular file (or a missing one) is
// replaced atomically: the bytes go to a new file in the target's folder, which is
// synced and put in place only when everything was written. The new file has no name
// while it is written where the file system allows (a killed run leaves nothing);
// elsewhere it is a locked temporary ".NAME.zd7240-XXXXXX.tmp". On a failure or a cancel
// it is removed and the old file stays exactly as it was. The replacement keeps the old
// file's owner (when allowed) and permissions, set-user-ID and set-group-ID included.
// A symbolic link has the file it points to replaced; a link loop fails.
// A name of one of the process's own open descriptors (/dev/stdout, /dev/stderr,
// /dev/fd/N, /proc/self/fd/N, a link to one, or another name of the file standard
// output or standard error is open on) is written through that descriptor, where the
// shell put it (appending stays appending); a closed one fails with a write error.
// Another target that is not a regular file (a device, a FIFO, a terminal) is opened
// by the name given and written directly; opening a FIFO waits for its reader.
// A file that may be written but not replaced (its folder is not writable, or sticky
// and not ours) is rewritten in place; its old content is then not protected.
// Other names (hard links) of a replaced file keep the old content.
//
// Temporaries of ours left unlocked by a killed run are removed when a writer first
// writes into their folder; files of other names are never touched.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zd7240 {

class FileError : public std::runtime_error {
public:
    enum class Kind {
        Create, // the target cannot be created or opened for writing
        Write,  // writing, syncing or replacing failed
    };
    FileError(Kind kind, const std::string& message, int error)
        : std::runtime_error(message), kind_(kind), error_(error) {}
    Kind kind() const { return kind_; }
    int error() const { return error_; } // errno value
private:
    Kind kind_;
    int error_;
};

// How a target will be written, judged before anything is created (PlanTarget).
struct TargetPlan {
    enum class Kind {
        Replace,    // a regular file (or a new one), replaced atomically when complete
        InPlace,    // a file that may be written but not replaced: rewritten in place
        Direct,     // a device, FIFO or terminal, opened by its name and written into
        Descriptor, // one of the process's own open descriptors (standard output...)
    };
    Kind kind = Kind::Replace;
    std::string target;       // the name written, links followed
    int descriptor = -1;      // Descriptor: its number
    bool exists = false;      // Replace, InPlace: the file is there already
    std::uint64_t device = 0; // Replace: the file system its new file is made on
    std::uint64_t size = 0;   // Replace, InPlace: the old file's size
};

// What writing `path` will do, asking everything the writer asks before its first byte
// (links, folders, name length, permission, a closed descriptor) without creating or
// changing anything; a FIFO is not opened. Throws the FileError the writer would.
TargetPlan PlanTarget(const std::string& path);

// The number of this process's own open descriptor that `path` names, directly or
// through links (/dev/stdin, /dev/stdout, /dev/fd/N, /proc/self/fd/N), or -1.
int NamedDescriptor(const std::string& path);

// The file a new one replaces, compared with the new bytes as they are written, so
// that a file whose content does not change is left as it is (its inode, times and
// other names kept).
struct OldContent {
    int fd = -1;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;     // where the next bytes handed over go
    std::atomic<bool> same{true}; // every byte so far equals the old file's
    // Whether `size` bytes at `at` equal the old file's; `scratch` holds them.
    bool Matches(const char* data, std::size_t size, std::uint64_t at,
                 std::vector<char>& scratch) const;
    // Copies the old file's first `length` bytes to `to` at its position; an errno, or 0.
    int CopyTo(int to, std::uint64_t length) const;
};

// A thread that writes filled buffers to a file while the next ones are formatted, and
// the buffers it shares with the formatting side. It serves one ScriptWriter at a
// time; keeping one for a series of files (the jobs of a job file) spares each file a
// thread start and fresh buffers, which cost more than writing a small file. Buffers
// are not cleared when made: a small file touches only the pages it fills.
class WriteBehind {
public:
    // Several buffers, so that the thread finds the next one filled when it is done
    // with one, rather than sleeping until the formatting side hands it over; half of
    // them go to the system in one call. Small enough that all of them stay in the
    // processor's cache: formatting into a buffer the cache has let go of waits for
    // memory at every line.
    static constexpr std::size_t kBufferSize = 128 * 1024;
    static constexpr std::size_t kBuffers = 8;

    explicit WriteBehind(std::size_t bufferSize = kBufferSize, std::size_t buffers = kBuffers);
    ~WriteBehind(); // lets a write under way finish
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

private:
    friend class ScriptWriter;
    struct Buffer {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
    };
    class Queue;

    // The buffer to fill, of at least `atLeast` bytes; its size goes to *size.
    char* Front(std::size_t atLeast, std::size_t* size);
    // Queues the first `used` bytes of the front buffer to be written to `fd` and takes
    // a free buffer as the next front, waiting for one if need be; with `old`, the
    // thread compares them with the old file once written. Returns the errno of a write
    // that failed since the last Wait, else 0.
    int Submit(int fd, std::size_t used, OldContent* old = nullptr);
    // Waits until every queued buffer is written; returns the errno of a write that
    // failed since the last Wait, else 0.
    int Wait();
    // Closes `fd` on the background thread once the buffers queued before are written;
    // at once when the thread has not been started.
    void CloseLater(int fd);

    std::unique_ptr<Queue> queue_;
};

class ScriptWriter {
public:
    // Lines are formatted into one buffer while a background thread writes the others,
    // so formatting and the system's copying overlap. Memory stays a few buffers,
    // whatever the size of the script.
    static constexpr std::size_t kBufferSize = WriteBehind::kBufferSize;

    // Checks and opens the target; throws FileError(Create) with the system's
    // description when it may not be written. Nothing is written to the target yet.
    explicit ScriptWriter(const std::string& path, std::size_t bufferSize = kBufferSize);
    // The same, writing through `behind`, which must outlive this writer and serve no
    // other at the same time.
    ScriptWriter(const std::string& path, WriteBehind& behind);
    // Writes into an already open descriptor (standard output); `name` is used in error
    // messages. The descriptor is not closed.
    ScriptWriter(int fd, const std::string& name, std::size_t bufferSize = kBufferSize);
    ScriptWriter(int fd, const std::string& name, WriteBehind& behind);
    ~ScriptWriter(); // discards unless committed
    ScriptWriter(const ScriptWriter&) = delete;
    ScriptWriter& operator=(const ScriptWriter&) = delete;

    // Space for at least n bytes in the buffer; fill it, then call Advance.
    char* Reserve(std::size_t n) {
        if (capacity_ - used_ < n)
            MakeRoom(n);
        return data_ + used_;
    }
    void Advance(std::size_t n) { used_ += n; }

    void Write(std::string_view text);

    // Flushes, syncs and puts the file in place. Throws FileError(Write).
    void Commit();
    // Commit in two steps, so that many files can be written in full before any is put
    // in place: Finish writes out and syncs everything and leaves the target as it was
    // (a target written directly, a stream or a device, is complete after it); Place
    // then puts the new file in place. Both throw FileError(Write).
    void Finish();
    void Place();
    // After Finish: gives the finished file a temporary name in its folder and closes
    // its descriptor, so that thousands of finished files need no descriptor each.
    // Until Place, the temporary is removed on an interrupt or a Discard; it is no
    // longer locked, so a run killed meanwhile leaves it to the next writer's clean-up.
    void Release();
    // Drops what was written; the old file stays as it was.
    void Discard();

    std::uint64_t bytesWritten() const { return flushed_ + used_; }
    // After Finish: the new content equals the old file's byte for byte, so Place
    // leaves the old file as it is (nothing is renamed or touched).
    bool unchanged() const { return unchanged_; }
    const std::string& targetPath() const { return target_; }
    bool replacesAtomically() const { return unnamed_ || !tempPath_.empty(); }

private:
    void Open(const std::string& path);
    void OpenNamedTemporary(const std::string& dir);
    void NameUnnamed(bool asTemporary);
    void DropOld();
    void DropTemporary();
    void MakeRoom(std::size_t n);
    void Handoff();
    void Drain();
    void OpenDirect(const std::string& path, int flags);
    [[noreturn]] void Fail(FileError::Kind kind, const std::string& what, int error);

    std::unique_ptr<WriteBehind> ownBehind_; // when not given one
    WriteBehind* behind_;
    std::string path_;     // as given
    std::string target_;   // after following symbolic links
    std::string tempPath_; // empty when writing the target directly
    int tempSlot_ = -1;    // registration with the interrupt handler
    int fd_ = -1;
    char* data_ = nullptr; // the front buffer of behind_
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
    bool submitted_ = false; // a buffer went to the background thread
    bool done_ = false;
    bool ownsFd_ = true;
    bool unnamed_ = false;            // fd_ is a file without a name yet (O_TMPFILE)
    bool existed_ = false;            // the target existed when opened
    bool finished_ = false;           // Finish is done, Place is not
    bool background_ = false;         // the background thread wrote some of the file
    bool unchanged_ = false;          // the new bytes equal the old file's
    std::unique_ptr<OldContent> old_; // the file replaced, while compared
};

// Writes `bytes` as the whole new content of `path` through a ScriptWriter (a picture
// encoded in memory, for example). Throws FileError.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// "Cannot create file "x". No such file or directory" and the like.
std::string DescribeFileError(FileError::Kind kind, const std::string& path, int error);

} // namespace zd7240
