#include "jobcommand.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <map>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

#include "frameseams.h"
#include "hints.h"
#include "jobfile.h"
#include "messages.h"
#include "plan.h"
#include "processguard.h"
#include "rangecheck.h"
#include "rangemath.h"
#include "running.h"
#include "runningfiles.h"
#include "scriptwriter.h"

namespace zd7240::cli {

namespace {

// A page's fields checked and converted as "Make file" does, ready to be summed up,
// checked against other jobs or written; or why not, with the status for it.
struct Prepared {
    std::optional<Job> job;
    int status = kExitOk;
    std::string refusal;
};

Prepared Prepare(const PageTable& page, const FieldAccess& fields) {
    Prepared prepared;
    if (const FieldRow* bad = FirstInvalidField(page, fields)) {
        prepared.status = kExitData;
        prepared.refusal = std::string(kWarningCaption) + ": " + std::string(kWarningText) +
                           InvalidFieldNote(page, *bad, fields.Text(bad->name));
        return prepared;
    }
    try {
        prepared.job.emplace(page, fields);
        prepared.job->SelectFormat(fields);
    } catch (const ConversionError& e) {
        prepared.status = kExitData;
        prepared.refusal = EscapeText(e.what());
    }
    return prepared;
}

// Prints up to a hundred lines of a list, then how many more there were.
class BoundedReport {
public:
    explicit BoundedReport(std::string more) : more_(std::move(more)) {}
    ~BoundedReport() { Flush(); }
    // Prints how many lines were left out, once.
    void Flush() {
        if (skipped_ > 0)
            std::cerr << "zd7240-gen: \u2026 and " + std::string(atLeast_ ? "at least " : "") +
                             std::to_string(skipped_) + " " + more_ + "\n";
        skipped_ = 0;
    }
    BoundedReport(const BoundedReport&) = delete;
    BoundedReport& operator=(const BoundedReport&) = delete;

    static constexpr std::size_t kLimit = 100;
    bool Full() const { return printed_ >= kLimit; }
    // Counts a line; true when it is to be printed (and Print called).
    bool Take() {
        if (Full()) {
            ++skipped_;
            return false;
        }
        ++printed_;
        return true;
    }
    void Print(const std::string& line) {
        if (Take())
            std::cerr << "zd7240-gen: " + line + "\n";
    }
    // Counts lines found but never made; `atLeast` when there were more still.
    void Skip(std::size_t n, bool atLeast = false) {
        skipped_ += n;
        atLeast_ = atLeast_ || atLeast;
    }

private:
    std::string more_;
    std::size_t printed_ = 0;
    std::size_t skipped_ = 0;
    bool atLeast_ = false;
};

// Prints the job's hints, each after the entry's label when it comes from a job file,
// through `report` when one is given (a job file's thousands of jobs).
std::size_t PrintHints(const Job& job, const FieldAccess& fields, const JobEntry* entry,
                       BoundedReport* report = nullptr) {
    const std::vector<SanityHint> hints = SanityHints(job, fields);
    const std::string prefix = entry && !hints.empty() ? entry->Label() + ": " : "";
    for (const SanityHint& hint : hints) {
        const std::string line =
            prefix + "warning: " + KeyName(job.page(), *hint.field) + ": " + hint.text;
        if (report)
            report->Print(line);
        else // one write per line: standard error is unbuffered
            std::cerr << "zd7240-gen: " + line + "\n";
    }
    return hints.size();
}

// Made as one text, after `heading` (a job's label line), and written at once: a dry
// run prints thousands of them.
void PrintSummary(std::ostream& out, const Job& job, const std::string& heading = {}) {
    const WalkSummary walk = Summarize(job);
    std::string text = heading + EndLine(job.page(), job.endValue()) +
                       "\nLines: " + FormatLineCount(walk.lines) + "\n";
    if (walk.lines > 0) {
        const auto line = [&](std::string_view head, const StepValues& values) {
            const std::string rendered = job.renderer()->RenderToString(values);
            text += head;
            text.append(rendered, 0, rendered.size() - 2); // without CR LF
            text += '\n';
        };
        line("First: ", walk.first);
        line("Last: ", walk.last);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Prints each line of a multi-line message after "zd7240-gen: ".
void PrintLines(const std::string& text) {
    std::string out;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t to = text.find('\n', from);
        if (to == std::string::npos)
            to = text.size();
        out += "zd7240-gen: " + EscapeText(std::string_view(text).substr(from, to - from)) + "\n";
        from = to + 1;
    }
    std::cerr << out;
}

// How each output will be written, or why it cannot be, judged before anything is
// written by asking what the writer will ask (scriptwriter.h, PlanTarget). A folder is
// judged and listed once, so that the thousands of new files of a large job file need
// no look of their own; a name the folder already holds, or any name that is not a
// plain one, gets the writer's own full check.
class TargetCheck {
public:
    struct Judged {
        TargetPlan plan;
        std::string problem;          // empty: the output can be written
        int status = kExitCantCreate; // for a problem: 74 when the writer would fail writing
    };

    Judged Judge(const std::string& path) {
        Judged judged;
        if (path == "-") {
            judged.plan = StandardOutputPlan(judged.problem);
            judged.status = kExitIoError;
            return judged;
        }
        std::string folder, name;
        if (SplitPath(path, folder, name)) {
            if (folder.empty())
                folder = ".";
            auto it = folders_.find(folder);
            if (it == folders_.end())
                it = folders_.emplace(folder, JudgeFolder(folder)).first;
            const Folder& f = it->second;
            if (!f.problem.empty()) {
                judged.problem = f.problem;
                return judged;
            }
            if (f.writable && !f.names.contains(name) && name.size() <= f.nameMax) {
                judged.plan.kind = TargetPlan::Kind::Replace;
                judged.plan.target = path;
                judged.plan.device = f.device;
                return judged;
            }
        }
        try {
            judged.plan = PlanTarget(path);
        } catch (const FileError& e) {
            judged.problem = Reason(e);
            if (e.kind() == FileError::Kind::Write)
                judged.status = kExitIoError;
        }
        return judged;
    }

private:
    // Standard output as the writer takes it: closed (reopened read-only by the process
    // guard) or open for reading only, it cannot take a script.
    static TargetPlan StandardOutputPlan(std::string& problem) {
        TargetPlan plan;
        plan.kind = TargetPlan::Kind::Descriptor;
        plan.descriptor = STDOUT_FILENO;
        plan.target = "-";
        const int flags = fcntl(STDOUT_FILENO, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
            problem = "standard output is closed";
        return plan;
    }

    // "Cannot create file "x". No such file or directory" without the name, which the
    // caller's message gives as the job file wrote it.
    static std::string Reason(const FileError& e) { return std::strerror(e.error()); }

    // The folder and the name of a plain "folder/name" or "name"; false for anything
    // else ("d/", "a/../b", "x/.", doubled slashes), which the writer judges whole.
    static bool SplitPath(const std::string& path, std::string& folder, std::string& name) {
        const std::size_t slash = path.rfind('/');
        const std::string_view last = slash == std::string::npos
                                          ? std::string_view(path)
                                          : std::string_view(path).substr(slash + 1);
        if (last.empty() || last == "." || last == "..")
            return false;
        if (slash == std::string::npos) {
            folder.clear();
        } else if (slash > 0 && path[slash - 1] == '/') {
            return false;
        } else {
            folder = slash == 0 ? "/" : path.substr(0, slash);
        }
        name = last;
        return true;
    }

    struct Folder {
        std::string problem;
        bool writable = false;
        std::uint64_t device = 0;
        std::size_t nameMax = 255;
        std::unordered_set<std::string> names; // every entry, whatever it is
    };

    // One listing per folder, rather than a look at each of thousands of outputs.
    static Folder JudgeFolder(const std::string& folder) {
        Folder judged;
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0)
            judged.problem = "its folder " + Quoted(folder) + ": " + std::strerror(errno);
        else if (!S_ISDIR(st.st_mode))
            judged.problem = Quoted(folder) + " is not a folder";
        if (!judged.problem.empty())
            return judged;
        // A folder that takes no new file may still hold files that can be rewritten
        // in place: each of its names gets the writer's own check.
        judged.writable = access(folder.c_str(), W_OK | X_OK) == 0;
        judged.device = static_cast<std::uint64_t>(st.st_dev);
        if (const long max = pathconf(folder.c_str(), _PC_NAME_MAX); max > 0)
            judged.nameMax = static_cast<std::size_t>(max);
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir))
                judged.names.insert(entry->d_name);
            closedir(dir);
        }
        return judged;
    }

    std::unordered_map<std::string, Folder> folders_;
};

// One output of a run: the jobs that write it, in job order, and how it is written.
// Every spelling of one file is one output: "-", /dev/stdout and a file standard output
// is redirected to are all standard output.
struct Output {
    std::vector<std::size_t> jobs;
    TargetPlan plan;
    std::unique_ptr<ScriptWriter> writer;
    // A file replaced only once everything is written; streams and devices cannot be
    // taken back and are written once every such file is complete.
    bool staged() const { return plan.kind == TargetPlan::Kind::Replace; }
};

// The outputs of the jobs, in the order of their first job, each judged; the problems
// go to `problems` as "job N (x): cannot create "x": REASON".
std::vector<Output> JudgeOutputs(const std::vector<JobEntry>& entries,
                                 std::vector<std::string>& problems, int* status) {
    constexpr std::size_t kRefused = static_cast<std::size_t>(-1);
    std::vector<Output> outputs;
    std::unordered_map<std::string, std::size_t> byKey; // place, or "fd N"
    byKey.reserve(entries.size());
    TargetCheck check;
    std::unordered_map<std::string_view, std::size_t> byPlace; // before judging
    byPlace.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const JobEntry& entry = entries[i];
        const std::string_view place = entry.path == "-" ? entry.path : entry.place;
        if (const auto it = byPlace.find(place); it != byPlace.end()) {
            if (it->second != kRefused)
                outputs[it->second].jobs.push_back(i);
            continue;
        }
        TargetCheck::Judged judged = check.Judge(entry.path);
        if (!judged.problem.empty()) {
            problems.push_back(entry.Label() + ": cannot create " + Quoted(entry.output) + ": " +
                               judged.problem);
            byPlace.emplace(place, kRefused);
            if (problems.size() == 1)
                *status = judged.status;
            continue;
        }
        std::string key = judged.plan.kind == TargetPlan::Kind::Descriptor
                              ? "fd " + std::to_string(judged.plan.descriptor)
                              : std::string(place);
        const auto [it, fresh] = byKey.emplace(std::move(key), outputs.size());
        if (fresh) {
            outputs.emplace_back();
            outputs.back().plan = std::move(judged.plan);
        }
        outputs[it->second].jobs.push_back(i);
        byPlace.emplace(place, it->second);
    }
    // The jobs of an output that was reached by two spellings are written in job order.
    for (Output& output : outputs)
        std::sort(output.jobs.begin(), output.jobs.end());
    return outputs;
}

// The bytes a job writes at least: its lines, each as long as the shorter of its first
// and last (every walk's numbers grow from the first line to the last).
std::uint64_t LeastBytes(Job& job, const JobEntry& entry) {
    const WalkSummary walk = Summarize(job);
    if (walk.lines == 0)
        return 0;
    job.BuildRenderer(entry.fields);
    const std::size_t first = job.renderer()->RenderToString(walk.first).size();
    const std::size_t last = job.renderer()->RenderToString(walk.last).size();
    job.DropRenderer();
    const std::uint64_t line = std::min(first, last);
    const std::uint64_t lines = walk.lines;
    return lines > UINT64_MAX / line ? UINT64_MAX : lines * line;
}

// Refuses a run whose new files cannot fit their file systems: every new file is
// complete beside the old one before any is put in place, so each file system must
// hold all of the new files at once. One problem per file system that is short.
void CheckSpace(const std::vector<Output>& outputs, std::vector<Job>& jobs,
                const std::vector<JobEntry>& entries, std::vector<std::string>& problems) {
    struct Need {
        std::uint64_t bytes = 0;
        std::string folder; // one of its outputs' folders, to ask the file system
    };
    std::map<std::uint64_t, Need> needs;
    for (const Output& output : outputs) {
        if (!output.staged())
            continue;
        Need& need = needs[output.plan.device];
        for (std::size_t i : output.jobs) {
            const std::uint64_t bytes = LeastBytes(jobs[i], entries[i]);
            need.bytes = bytes > UINT64_MAX - need.bytes ? UINT64_MAX : need.bytes + bytes;
        }
        if (need.folder.empty()) {
            const std::string& target = output.plan.target;
            const std::size_t slash = target.rfind('/');
            need.folder = slash == std::string::npos ? "."
                          : slash == 0               ? "/"
                                                     : target.substr(0, slash);
        }
    }
    for (const auto& [device, need] : needs) {
        struct statvfs fs {};
        if (need.bytes == 0 || statvfs(need.folder.c_str(), &fs) != 0)
            continue;
        const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
        if (need.bytes > free)
            problems.push_back("the new files in " + Quoted(need.folder) + " need at least " +
                               FormatLineCount(need.bytes) + " bytes; its file system has " +
                               FormatLineCount(free) + " bytes free");
    }
}

// Writes one output from its jobs; the writer is kept, finished, for Place.
void WriteOutput(const std::vector<JobEntry>& entries, std::vector<Job>& jobs, Output& output,
                 bool progress, WriteBehind& behind, std::vector<std::string>& ends) {
    const JobEntry& first = entries[output.jobs.front()];
    SetInterruptNote(" in " + first.Label() + "; no file was replaced"); // a FIFO's open waits
    output.writer = OpenScript(first.path, &behind);
    for (std::size_t i : output.jobs) {
        const JobEntry& entry = entries[i];
        SetInterruptNote(" in " + entry.Label() + "; no file was replaced");
        LineProgress monitor(progress, true); // the End line writes over the count
        std::uint64_t lines = 0;
        jobs[i].BuildRenderer(entry.fields);
        jobs[i].WriteTo(*output.writer, &monitor, &lines);
        jobs[i].DropRenderer();
        monitor.Finished();
        ends[i] = entry.Label() + ": " + EndLine(*entry.page, jobs[i].endValue()) + "\n";
    }
    output.writer->Finish();
}

// How many finished files may keep their descriptors until they are put in place: the
// open-file limit (raised to its ceiling for this) less room for everything else.
std::size_t HeldDescriptors() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur < limit.rlim_max) {
        struct rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    const rlim_t room = 64;
    return limit.rlim_cur > room ? static_cast<std::size_t>(limit.rlim_cur - room) : 0;
}

// All or nothing: every file is written in full beside its old self first, then the
// streams and devices (which cannot be taken back), and only when all of that worked
// are the files put in place. A failure before that point, a full disk or an interrupt
// included, leaves every file as it was.
int WriteOutputs(const std::vector<JobEntry>& entries, std::vector<Job>& jobs,
                 std::vector<Output>& outputs, bool progress) {
    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    // One writer thread and one set of buffers serve every file in turn.
    WriteBehind behind;
    std::vector<std::string> ends(entries.size());
    const std::size_t hold = HeldDescriptors();
    std::size_t held = 0;
    const auto run = [&](bool staged) {
        for (Output& output : outputs) {
            if (output.staged() != staged)
                continue;
            const JobEntry& first = entries[output.jobs.front()];
            try {
                WriteOutput(entries, jobs, output, progress, behind, ends);
                if (staged && ++held > hold)
                    output.writer->Release();
            } catch (const FileError& e) {
                std::cerr << "zd7240-gen: " + first.Label() + ": " + EscapeText(e.what()) + "\n";
                return e.kind() == FileError::Kind::Create ? kExitCantCreate : kExitIoError;
            }
        }
        return kExitOk;
    };
    int status = run(true);
    if (status == kExitOk)
        status = run(false);
    if (status != kExitOk) {
        // The writers' destructors take back every file not yet in place.
        std::cerr << "zd7240-gen: no file was replaced\n";
        return status;
    }
    SetInterruptNote(" while putting the files in place; some may hold their new scripts");
    std::size_t placed = 0;
    std::vector<char> unchanged(outputs.size(), 0);
    for (Output& output : outputs) {
        if (!output.staged())
            continue;
        try {
            output.writer->Place();
            unchanged[&output - outputs.data()] = output.writer->unchanged();
            placed += output.writer->unchanged() ? 0 : 1;
        } catch (const FileError& e) {
            std::cerr << "zd7240-gen: " + entries[output.jobs.front()].Label() + ": " +
                             EscapeText(e.what()) + "\n";
            std::cerr << "zd7240-gen: " << placed
                      << " file(s) were already replaced; the others are as they were\n";
            return kExitIoError;
        }
        output.writer.reset();
    }
    // Each file says whether it was written or, its bytes being the old file's, left
    // untouched (times, inode and other names kept, so that make and rsync see no change).
    std::string text;
    for (const Output& output : outputs) {
        for (std::size_t i : output.jobs)
            text += ends[i];
        if (output.staged())
            text += EscapeText(entries[output.jobs.front()].output) +
                    (unchanged[&output - outputs.data()] ? ": unchanged\n" : ": written\n");
    }
    std::cerr << text;
    return kExitOk;
}

// A job file's pre-pass makes a few small blocks per job, about 1 KB a job in all: on
// 4 KiB pages that was a page fault every four jobs, some 30,000 for 100,000 jobs and a
// fifth of the run. Before a large file is read, the heap is grown at once by about
// eight times the file's size and that room is marked for huge pages, so that the
// blocks of the run fill it with a page fault per 2 MiB. Blocks up to 32 MiB (the file's
// text, the list of jobs) are taken from the same room rather than mapped apart, and
// the room is kept when blocks are let go. Only advice: without huge pages the room is
// address space that nothing touches.
void PrepareHeapFor(const std::string& jobFile) {
    struct stat st {};
    if (stat(jobFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < (1 << 20))
        return;
    constexpr std::size_t kHugePage = 2u << 20;
    const std::size_t room = static_cast<std::size_t>(st.st_size) * 8 + kHugePage;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(std::min<std::size_t>(room * 2, 1u << 30)));
    mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(room, 1u << 30)));
    char* const before = static_cast<char*>(sbrk(0));
    void* grow = std::malloc(8 << 20); // more than the heap holds: it grows by the pad
    char* const after = static_cast<char*>(sbrk(0));
    // From the first huge page boundary of the new room on.
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(before) % kHugePage;
    char* const from = before + (misalignment == 0 ? 0 : kHugePage - misalignment);
    // (The block is asked about, so that the compiler keeps it.)
    if (grow && malloc_usable_size(grow) > 0 && after > from)
        madvise(from, static_cast<std::size_t>(after - from), MADV_HUGEPAGE);
    std::free(grow);
    mallopt(M_TOP_PAD, 128 << 10); // later growth as usual
}

// The running configuration of --against, with the names of the files it was read from.
struct Against {
    const std::vector<std::string>& names;
    const RunningConfig& running;
};

// What the checks found, kept for a plan.
struct CheckRecord {
    std::vector<JobBindings> bindings;  // per job
    std::vector<LineCount> configured;  // per job: lines the device holds already
    std::vector<std::size_t> conflicts; // per job, of the conflicts listed
    std::vector<PlannedConflict> listed;
    std::size_t more = 0;
    bool atLeast = false;
    std::vector<std::string> chassisFindings;
};

// The jobs against each other, against the running configuration and against the file's
// chassis, every finding printed (up to a hundred of each kind) and then the count with
// `outcome`; returns the count. `jobs[i]` is the converted job of `entries[i]`.
std::size_t CrossCheck(const std::vector<const JobFile*>& files,
                       const std::vector<const JobEntry*>& entries, std::vector<Job>& jobs,
                       bool strict, const char* outcome, const Against* against = nullptr,
                       CheckRecord* record = nullptr) {
    std::vector<JobBindings> bindings;
    bindings.reserve(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i)
        bindings.push_back(BindingsOf(jobs[i], entries[i]->fields));
    // The running lines that no job writes exactly follow the jobs, held against them
    // but not against each other: a device's own lines are what they are.
    RunningMatch match;
    if (against) {
        std::vector<const FieldAccess*> fields;
        fields.reserve(entries.size());
        for (const JobEntry* entry : entries)
            fields.push_back(&entry->fields);
        match = MatchRunning(against->running, jobs, fields);
        bindings.insert(bindings.end(), std::make_move_iterator(match.rest.begin()),
                        std::make_move_iterator(match.rest.end()));
    }
    const ConflictReport conflicts = FindConflicts(bindings, BoundedReport::kLimit, jobs.size());
    std::size_t findings = conflicts.listed.size() + conflicts.more;
    if (record) {
        record->conflicts.assign(jobs.size(), 0);
        record->configured = match.configured;
        record->configured.resize(jobs.size(), 0);
        record->more = conflicts.more;
        record->atLeast = conflicts.atLeast;
    }
    {
        BoundedReport report("more conflicts");
        for (const Conflict& c : conflicts.listed) {
            PlannedConflict planned{c.first, std::nullopt, {}, 0, c.endpoint, c.wrapsAround};
            std::string line = "conflict: " + entries[c.first]->Label();
            if (c.first == c.second) {
                line += " binds " + c.endpoint + " twice";
                if (c.wrapsAround)
                    line += " (its counter comes round after 2^32 lines)";
            } else if (c.second >= jobs.size()) {
                const RunningMatch::Origin& origin = match.origins[c.second - jobs.size()];
                planned.runningFile = against->names[origin.file];
                planned.runningLine = RunningLineOf(bindings[c.second], origin, c);
                line += " binds " + c.endpoint + ", which " + EscapeText(planned.runningFile) +
                        " line " + std::to_string(planned.runningLine) + " binds already";
            } else {
                planned.other = c.second;
                line += " and " + entries[c.second]->Label() + " both bind " + c.endpoint;
            }
            report.Print(line);
            if (record) {
                ++record->conflicts[c.first];
                if (planned.other)
                    ++record->conflicts[*planned.other];
                record->listed.push_back(std::move(planned));
            }
        }
        report.Skip(conflicts.more, conflicts.atLeast);
    }
    // Each job is held against the chassis of its own file. What only --strict refuses
    // (a slot the chassis does not name, one beyond its shape) is a warning otherwise.
    {
        BoundedReport report("more chassis faults");
        BoundedReport warnings("more chassis warnings");
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const JobFile& file = *files[entries[i]->file];
            if (!file.hasChassis)
                continue;
            const ChassisFindingList found =
                ChassisFindings(jobs[i], entries[i]->fields, file.chassis, file.shape);
            const bool strictHere = strict || file.strict;
            for (const std::vector<std::string>* list : {&found.faults, &found.loose}) {
                if (list == &found.loose && !strictHere) {
                    for (const std::string& finding : *list)
                        warnings.Print(entries[i]->Label() + ": warning: " + finding);
                    continue;
                }
                for (const std::string& finding : *list) {
                    report.Print(entries[i]->Label() + ": " + finding);
                    if (record)
                        record->chassisFindings.push_back(entries[i]->Label() + ": " + finding);
                    ++findings;
                }
            }
        }
    }
    if (findings > 0)
        std::cerr << "zd7240-gen: " << (conflicts.atLeast ? "at least " : "") << findings
                  << " conflict(s) with other jobs"
                  << (against ? ", the running configuration" : "") << " or the chassis; "
                  << outcome << "\n";
    if (record) {
        bindings.resize(jobs.size());
        record->bindings = std::move(bindings);
    }
    return findings;
}

// Reads every job file of the run, each with its own folder, defaults and chassis; the
// --sets apply to all of them. The jobs of all files become one list, each naming its
// file when there are several. Returns the exit status of a refusal, or nothing.
std::optional<int> ReadJobFiles(const JobCommandOptions& options, std::vector<JobFile>& files,
                                std::vector<JobEntry>& entries) {
    const bool several = options.jobFiles.size() > 1;
    JobReadOptions read;
    read.sets = options.sets;
    read.outputFolder = options.outputDir;
    read.checkSets = !several;
    int status = kExitOk;
    for (const std::string& name : options.jobFiles) {
        try {
            files.push_back(ReadJobFile(name, read));
        } catch (const JobFileUnreadable& e) {
            PrintLines(e.what());
            status = kExitNoInput;
        } catch (const JobFileError& e) {
            PrintLines(e.what());
            if (status == kExitOk)
                status = kExitData;
        }
    }
    if (status != kExitOk)
        return status;
    std::size_t count = 0;
    for (const JobFile& file : files)
        count += file.jobs.size();
    entries.reserve(count);
    std::unordered_map<std::string, std::size_t> jobFilePlaces; // a job file's own place
    for (std::size_t f = 0; f < files.size(); ++f) {
        char resolved[PATH_MAX];
        if (realpath(options.jobFiles[f].c_str(), resolved))
            jobFilePlaces.emplace(resolved, f);
        for (JobEntry& entry : files[f].jobs) {
            entry.file = f;
            if (several)
                entry.source = options.jobFiles[f];
            entries.push_back(std::move(entry));
        }
        std::vector<JobEntry>().swap(files[f].jobs);
    }
    if (!several)
        return std::nullopt;
    // What one file cannot see of the others: an output that is another job file, and a
    // --set that no job of any file has.
    bool refused = false;
    for (const JobEntry& entry : entries) {
        if (const auto it = jobFilePlaces.find(entry.place);
            !entry.place.empty() && it != jobFilePlaces.end()) {
            std::cerr << "zd7240-gen: " + entry.Label() + ": would write over the job file " +
                             Quoted(options.jobFiles[it->second]) + "\n";
            refused = true;
        }
    }
    for (const FieldSetting& set : options.sets) {
        const bool used = std::any_of(entries.begin(), entries.end(), [&](const JobEntry& e) {
            return FindField(*e.page, set.key) || FindSelector(*e.page, set.key);
        });
        if (!used) {
            std::cerr << "zd7240-gen: --set: no job's page has a field " + Quoted(set.key) + "\n";
            refused = true;
        }
    }
    if (refused) {
        std::cerr << "zd7240-gen: nothing written\n";
        return kExitData;
    }
    return std::nullopt;
}

// Reads the files of --against, when there are any.
std::optional<int> ReadAgainst(const JobCommandOptions& options, RunningConfig& running) {
    if (options.against.empty())
        return std::nullopt;
    return ReadRunningFiles(options.against, running);
}

// The plan of a run that passed every check it could: per job and per output, printed
// and, with --report, written as JSON. Returns `status`, or the report's failure.
int FinishPlan(const JobCommandOptions& options, const std::vector<JobEntry>& entries,
               std::vector<Job>& jobs, const std::vector<Output>& outputs, CheckRecord& record,
               const RunningConfig* running, int status) {
    Plan plan;
    plan.status = status;
    if (running) {
        plan.against = true;
        plan.runningLines = running->pvcLines();
        plan.otherLines = running->otherLines();
        plan.runningRuns = running->runs().size();
    }
    if (record.bindings.size() != jobs.size()) { // --no-check: the endpoints all the same
        record.bindings.clear();
        for (std::size_t i = 0; i < jobs.size(); ++i)
            record.bindings.push_back(BindingsOf(jobs[i], entries[i].fields));
    }
    record.configured.resize(jobs.size(), 0);
    record.conflicts.resize(jobs.size(), 0);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        PlannedJob job;
        job.label = entries[i].Label();
        job.name = entries[i].name;
        job.page = std::string(entries[i].page->slug);
        job.output = entries[i].output;
        job.lines = Summarize(jobs[i]).lines;
        job.configured = record.configured[i];
        job.conflicts = record.conflicts[i];
        for (const SanityHint& hint : SanityHints(jobs[i], entries[i].fields))
            job.warnings.push_back(KeyName(*entries[i].page, *hint.field) + ": " + hint.text);
        job.bindings = std::move(record.bindings[i]);
        plan.jobs.push_back(std::move(job));
    }
    plan.conflicts = std::move(record.listed);
    plan.moreConflicts = record.more;
    plan.atLeastMore = record.atLeast;
    plan.chassisFindings = std::move(record.chassisFindings);
    for (const Output& output : outputs) {
        std::vector<Job*> own;
        std::vector<const FieldAccess*> fields;
        for (std::size_t j : output.jobs) {
            own.push_back(&jobs[j]);
            fields.push_back(&entries[j].fields);
        }
        PlannedOutput planned =
            PlanOutput(output.plan, entries[output.jobs.front()].output, own, fields);
        planned.jobs = output.jobs;
        plan.outputs.push_back(std::move(planned));
    }
    // The report is written where the plan says nothing is written: never over a
    // script the run would write.
    if (options.report && *options.report != "-") {
        std::error_code ec;
        const std::string place =
            std::filesystem::weakly_canonical(std::filesystem::absolute(*options.report, ec), ec)
                .string();
        for (const JobEntry& entry : entries) {
            if (!entry.place.empty() && entry.place == place) {
                std::cerr << "zd7240-gen: --report " + EscapeText(*options.report) +
                                 " is the output of " + entry.Label() + "; nothing written\n";
                return kExitCantCreate;
            }
        }
    }
    if (options.report != "-")
        PrintPlan(plan, std::cout);
    if (options.report) {
        if (const int failed = WriteReport(plan, *options.report))
            return failed;
    }
    return status;
}

// Runs the jobs of a run (a job file's, several files', or one page's): everything is
// judged first, then the outputs are written all or nothing, or the plan is said.
int RunJobs(const JobCommandOptions& options, std::vector<JobFile>& files,
            std::vector<JobEntry>& entries, bool dryRun, bool progress) {
    const bool plan = options.plan || options.report;
    std::vector<const JobFile*> filePointers;
    for (const JobFile& file : files)
        filePointers.push_back(&file);
    RunningConfig running;
    if (const std::optional<int> refused = ReadAgainst(options, running))
        return *refused;
    // A plan goes on past a finding, to say all of what the run would do.
    int status = kExitOk;
    const char* outcome = plan ? "the run would write nothing" : "nothing written";
    // Everything is judged before anything is written: every field of every job, the
    // jobs against each other and against the chassis, and the folders of the outputs.
    // Any refusal writes nothing.
    std::vector<Job> jobs;
    jobs.reserve(entries.size());
    std::size_t refused = 0;
    BoundedReport refusalReport("more refusals");
    for (JobEntry& entry : entries) {
        const std::vector<std::string> refusals = FieldRefusals(*entry.page, entry.fields);
        for (const std::string& refusal : refusals)
            refusalReport.Print(entry.Label() + ": " + refusal);
        if (!refusals.empty()) {
            ++refused;
            continue;
        }
        // Every checked field has passed FieldRefusals, so only the conversion is left.
        // The renderer is built when the job is printed or written.
        try {
            Job job(*entry.page, entry.fields);
            job.ChooseFormat(entry.fields);
            jobs.push_back(std::move(job));
        } catch (const ConversionError& e) {
            refusalReport.Print(entry.Label() + ": " + EscapeText(e.what()));
            ++refused;
        }
    }
    refusalReport.Flush();
    if (refused > 0) {
        std::cerr << "zd7240-gen: " << refused << " job(s) refused; " << outcome << "\n";
        return kExitData;
    }

    std::size_t warnings = 0;
    {
        BoundedReport report("more warnings");
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const std::size_t hints = PrintHints(jobs[i], entries[i].fields, &entries[i], &report);
            if (options.strict || files[entries[i].file].strict)
                warnings += hints;
        }
    }
    if (warnings > 0) {
        std::cerr << "zd7240-gen: --strict: " << warnings << " warning(s); " << outcome << "\n";
        if (!plan)
            return kExitData;
        status = kExitData;
    }

    CheckRecord record;
    if (!options.noCheck) {
        std::vector<const JobEntry*> checked;
        checked.reserve(entries.size());
        for (const JobEntry& entry : entries)
            checked.push_back(&entry);
        const Against against{options.against, running};
        if (CrossCheck(filePointers, checked, jobs, options.strict, outcome,
                       options.against.empty() ? nullptr : &against,
                       plan ? &record : nullptr) > 0) {
            if (!plan)
                return kExitData;
            status = kExitData;
        }
    }

    // Every output judged as the writer will judge it, and the room the new files need.
    std::vector<std::string> problems;
    int cannot = kExitCantCreate;
    std::vector<Output> outputs = JudgeOutputs(entries, problems, &cannot);
    // Room is short only once every output could be made: a plan still says those.
    bool roomOnly = false;
    if (problems.empty()) {
        CheckSpace(outputs, jobs, entries, problems);
        roomOnly = !problems.empty();
    }
    if (!problems.empty()) {
        {
            BoundedReport report("more outputs that cannot be created");
            for (const std::string& problem : problems)
                report.Print(problem);
        }
        std::cerr << "zd7240-gen: " << outcome << "\n";
        if (!plan || !roomOnly)
            return cannot;
        if (status == kExitOk)
            status = cannot;
    }
    if (plan)
        return FinishPlan(options, entries, jobs, outputs, record,
                          options.against.empty() ? nullptr : &running, status);

    if (dryRun) {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            jobs[i].BuildRenderer(entries[i].fields);
            PrintSummary(std::cout, jobs[i], entries[i].Label() + "\n");
            jobs[i].DropRenderer();
        }
        return kExitOk;
    }
    return WriteOutputs(entries, jobs, outputs, progress);
}

int RunJobFile(const JobCommandOptions& options, bool dryRun, bool progress) {
    PrepareHeapFor(options.jobFiles.front());
    std::vector<JobFile> files;
    std::vector<JobEntry> entries;
    if (const std::optional<int> refused = ReadJobFiles(options, files, entries))
        return *refused;
    return RunJobs(options, files, entries, dryRun, progress);
}

// Takes "--name VALUE" or "--name=VALUE" at args[i] into *value, advancing i past it;
// false when args[i] is another word. A second one is not taken; `repeated` is set.
bool TakeValue(const std::vector<std::string_view>& args, std::size_t& i, std::string_view name,
               std::string* value, bool* missing, bool* repeated) {
    const std::string_view arg = args[i];
    const bool joined =
        arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=';
    if (arg != name && !joined)
        return false;
    if (!value->empty()) {
        *repeated = true;
        return true;
    }
    if (joined) {
        *value = std::string(arg.substr(name.size() + 1));
        i += 1;
    } else if (i + 1 >= args.size()) {
        *missing = true;
        i += 1;
    } else {
        *value = std::string(args[i + 1]);
        i += 2;
    }
    return true;
}

// The field each --set names, on every page that has it; two --sets of one field (by
// the same key, or by its key and its control's name) are refused, as every other
// option given twice is. A hash of what was named keeps many --sets linear.
std::optional<int> RefuseRepeatedSets(const std::vector<FieldSetting>& sets) {
    std::unordered_map<std::string, std::size_t> seen; // "page/control" -> its --set
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const std::string& key = sets[k].key;
        for (const PageTable& page : Pages()) {
            std::string_view control;
            if (const FieldRow* field = FindField(page, key))
                control = field->name;
            else if (const SelectorRow* selector = FindSelector(page, key))
                control = selector->name;
            else
                continue;
            const auto [it, fresh] =
                seen.emplace(std::string(page.slug) + "/" + std::string(control), k);
            if (!fresh && it->second != k) {
                const std::string& earlier = sets[it->second].key;
                if (earlier == key)
                    return UsageError("--set " + Shortened(key) + " is given twice: give one");
                return UsageError("--set " + Shortened(earlier) + " and --set " + Shortened(key) +
                                  " set the same field " + std::string(control) + ": give one");
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> TakeJobOptions(std::vector<std::string_view>& args, JobCommandOptions& options) {
    bool help = false;
    // The words that are not this function's are kept, in order, in one pass: erasing
    // each option taken would cost the square of many --sets.
    std::vector<std::string_view> rest;
    rest.reserve(args.size());
    std::size_t i = 0;
    for (; i < args.size();) {
        const std::string_view arg = args[i];
        if (arg == "--")
            break; // what follows is not an option
        bool missing = false, repeated = false;
        std::string jobFile;
        if (TakeValue(args, i, "--job", &jobFile, &missing, &repeated)) {
            // Several job files make one run; one file named twice is a mistake.
            if (missing || jobFile.empty())
                return UsageError("option --job needs a file name");
            if (std::find(options.jobFiles.begin(), options.jobFiles.end(), jobFile) !=
                options.jobFiles.end())
                return UsageError("--job " + jobFile + " is given twice");
            options.jobFiles.push_back(std::move(jobFile));
            continue;
        }
        std::string againstFile;
        if (TakeValue(args, i, "--against", &againstFile, &missing, &repeated)) {
            // Many running files make one configuration; one file named twice is a mistake
            // (and standard input read twice would be empty the second time).
            if (missing || againstFile.empty())
                return UsageError("option --against needs a file name ('-' for standard input)");
            if (std::find(options.against.begin(), options.against.end(), againstFile) !=
                options.against.end())
                return UsageError("--against " + againstFile + " is given twice");
            options.against.push_back(std::move(againstFile));
            continue;
        }
        std::string report = options.report.value_or("");
        if (TakeValue(args, i, "--report", &report, &missing, &repeated)) {
            if (repeated)
                return UsageError("option --report is given twice");
            if (missing || report.empty())
                return UsageError("option --report needs a file name ('-' for standard output)");
            options.report = report;
            continue;
        }
        std::string outputDir = options.outputDir.value_or("");
        if (TakeValue(args, i, "--save-job", &options.saveJob, &missing, &repeated) ||
            TakeValue(args, i, "--output-dir", &outputDir, &missing, &repeated)) {
            if (repeated)
                return UsageError("option " + std::string(arg.substr(0, arg.find('='))) +
                                  " is given twice");
            if (missing || (options.saveJob.empty() && outputDir.empty()))
                return UsageError("option " + std::string(arg.substr(0, arg.find('='))) +
                                  " needs a " +
                                  (arg.starts_with("--output-dir") ? "folder" : "file name"));
            if (!outputDir.empty())
                options.outputDir = outputDir;
            continue;
        }
        if (arg == "--set" || arg.starts_with("--set=")) {
            std::string_view setting;
            if (arg == "--set") {
                if (i + 1 >= args.size())
                    return UsageError("option --set needs KEY=VALUE");
                setting = args[i + 1];
                i += 2;
            } else {
                setting = arg.substr(6);
                i += 1;
            }
            const std::size_t equals = setting.find('=');
            if (equals == std::string_view::npos || equals == 0)
                return UsageError("--set " + Shortened(setting) + ": write --set KEY=VALUE");
            options.sets.push_back(
                {std::string(setting.substr(0, equals)), std::string(setting.substr(equals + 1))});
            continue;
        }
        bool* flag = arg == "--check"      ? &options.check
                     : arg == "--no-check" ? &options.noCheck
                     : arg == "--strict"   ? &options.strict
                     : arg == "--append"   ? &options.append
                     : arg == "--force"    ? &options.force
                     : arg == "--plan"     ? &options.plan
                                           : nullptr;
        if (flag) {
            *flag = true;
            ++i;
            continue;
        }
        help = help || arg == "--help" || arg == "-h" || arg == "--version" || arg == "-V";
        rest.push_back(arg);
        ++i;
    }
    rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    args = std::move(rest);
    if (const std::optional<int> refused = RefuseRepeatedSets(options.sets))
        return refused;
    if (help)
        return std::nullopt;
    if ((options.append || options.force) && options.saveJob.empty())
        return UsageError(std::string(options.append ? "--append" : "--force") +
                          " says how --save-job treats an existing job file: give --save-job FILE");
    if (options.append && options.force)
        return UsageError("--append keeps the job file's jobs and --force replaces them: give one");
    const bool plan = options.plan || options.report;
    if (!options.saveJob.empty() && (plan || !options.against.empty()))
        return UsageError(std::string(plan ? "--plan and --report say" : "--against checks") +
                          " what a run would write: it does not go with --save-job");
    if (!options.against.empty() && options.noCheck)
        return UsageError("--against is a check and --no-check skips the checks: give one");
    if (std::count(options.against.begin(), options.against.end(), "-") +
            std::count(options.jobFiles.begin(), options.jobFiles.end(), "-") >
        1)
        return UsageError("standard input is given twice: as --job and as --against");
    if (options.report && *options.report != "-") {
        for (const auto* inputs : {&options.jobFiles, &options.against}) {
            if (std::find(inputs->begin(), inputs->end(), *options.report) != inputs->end())
                return UsageError("--report " + *options.report + " is also " +
                                  (inputs == &options.jobFiles ? "a job file" : "a running file"));
        }
    }
    if (options.jobFiles.empty()) {
        if (options.outputDir)
            return UsageError("--output-dir says where a job file's outputs go: give --job FILE");
        if ((options.check || options.noCheck) && options.saveJob.empty())
            return UsageError(std::string(options.check ? "--check" : "--no-check") +
                              " is about the jobs of a job file: give --job FILE or --save-job "
                              "FILE");
        if (options.check && options.noCheck)
            return UsageError("--check and --no-check say the opposite: give one");
        if (!options.sets.empty())
            return UsageError("--set sets a field in every job of a job file: give --job FILE "
                              "(for one page, give KEY=VALUE)");
        return std::nullopt;
    }
    if (options.check && options.noCheck)
        return UsageError("--check and --no-check say the opposite: give one");
    if (!options.saveJob.empty())
        return UsageError("--save-job writes the job of one page; it does not go with --job");
    bool dryRun = false, progress = false;
    for (std::string_view arg : args) {
        if (arg == "--dry-run")
            dryRun = true;
        else if (arg == "--progress")
            progress = true;
        else
            return UsageError("'" + std::string(arg) +
                              "' does not go with --job: the job file names pages and fields");
    }
    if (dryRun && plan)
        return UsageError("--plan says more than --dry-run: give one");
    return RunJobFile(options, dryRun, progress);
}

namespace {

// Judges the jobs of a job file about to be saved beyond what the reader judged: this is
// where the cross-job and chassis checks that --job runs belong, so that a saved file is
// refused as its run would be (65), and where --no-check skips them. Returns the exit
// status; kExitOk saves the file.
// The saved file's jobs against each other and against its chassis, as a run of it
// would judge them: a file that --job would refuse for a conflict is not saved (65).
// Jobs whose fields are not complete yet (a file built up job by job) take no part.
int CheckSavedJobFile(const JobFile& saved, const JobCommandOptions& options) {
    if (options.noCheck)
        return kExitOk;
    std::vector<const JobEntry*> checked;
    std::vector<Job> jobs;
    for (const JobEntry& entry : saved.jobs) {
        if (!FieldRefusals(*entry.page, entry.fields).empty())
            continue;
        try {
            Job job(*entry.page, entry.fields);
            job.ChooseFormat(entry.fields);
            jobs.push_back(std::move(job));
            checked.push_back(&entry);
        } catch (const ConversionError&) {
        }
    }
    if (CrossCheck({&saved}, checked, jobs, options.strict || saved.strict,
                   "nothing saved (--no-check saves anyway)") > 0)
        return kExitData;
    return kExitOk;
}

} // namespace

int SaveJob(const PageTable& page, const FieldAccess& fields, const std::string& output,
            const JobCommandOptions& options) {
    const std::string& jobFile = options.saveJob;
    // A job file that could not run is refused before it is written: one that would be
    // its own output, and one named "-" (job files are read from a file, not written to
    // standard output).
    if (jobFile == "-")
        return UsageError("--save-job needs a file name; '-' would make a file named -");
    if (output != "-") {
        std::error_code ec;
        const auto place = [&ec](const std::string& path) {
            return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
        };
        if (place(output) == place(jobFile))
            return UsageError("--save-job " + EscapeText(jobFile) +
                              " is also the output: the job would write over its own file");
    }
    // The output is kept relative to the folder of the job file, as it is read back,
    // and its braces doubled: the job file fills in {FIELD}s, the command line does not.
    std::string kept = output;
    if (output != "-" && std::filesystem::path(output).is_relative()) {
        std::error_code ec;
        const auto folder = std::filesystem::absolute(jobFile, ec).parent_path();
        const auto relative =
            std::filesystem::proximate(std::filesystem::absolute(output, ec), folder, ec);
        if (!ec)
            kept = relative.string();
    }
    kept = LiteralOutput(kept);
    // Relative outputs of the saved file are read from its folder, as ReadJobFile does.
    const std::filesystem::path folder = std::filesystem::path(jobFile).parent_path();
    // An existing job file is never replaced without being asked: --append adds the job
    // to it, --force replaces it. Streams and devices are written into as before.
    struct stat st {};
    const bool exists = stat(jobFile.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (exists && !options.append && !options.force) {
        std::cerr << "zd7240-gen: " + Quoted(jobFile) +
                         " exists: give --append to add the job to it or --force to replace "
                         "it; nothing written\n";
        return kExitCantCreate;
    }
    std::string text;
    try {
        if (exists && options.append) {
            std::ifstream in(jobFile, std::ios::binary);
            std::string existing;
            if (static_cast<std::uintmax_t>(st.st_size) > (64u << 20))
                throw JobFileError(jobFile + ": larger than 64 MiB; not a job file");
            existing.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (!in.good() && !in.eof()) {
                std::cerr << "zd7240-gen: " + Quoted(jobFile) + ": " + std::strerror(errno) + "\n";
                return kExitNoInput;
            }
            text = AppendedJobFile(existing, jobFile, folder, page, fields, kept);
        } else {
            text = OneJobFile(page, fields, kept);
        }
        // The file as it will be saved, judged as --job judges it.
        const JobFile saved = ParseJobFile(text, jobFile, folder);
        if (const int status = CheckSavedJobFile(saved, options); status != kExitOk)
            return status;
    } catch (const JobFileError& e) {
        PrintLines("cannot save the job: " + std::string(e.what()));
        return kExitData;
    }
    try {
        ScriptWriter writer(jobFile);
        writer.Write(text);
        writer.Commit();
    } catch (const FileError& e) {
        std::cerr << "zd7240-gen: " << EscapeText(e.what()) << "\n";
        return e.kind() == FileError::Kind::Create ? kExitCantCreate : kExitIoError;
    }
    return kExitOk;
}

int ReportHints(const PageTable& page, const FieldAccess& fields, bool strict) {
    const Prepared prepared = Prepare(page, fields);
    if (!prepared.job)
        return kExitOk;
    const std::size_t warnings = PrintHints(*prepared.job, fields, nullptr);
    if (strict && warnings > 0) {
        std::cerr << "zd7240-gen: --strict: " << warnings << " warning(s); nothing written\n";
        return kExitData;
    }
    return kExitOk;
}

std::optional<int> CheckOnePage(const PageTable& page, const PageFields& fields,
                                const std::string& output, const JobCommandOptions& options) {
    // The page's command is one job of a run without a job file: the same checks, the
    // same plan.
    std::vector<JobFile> files(1);
    std::vector<JobEntry> entries(1, JobEntry{1, &page, fields, {}, output, output, {}, {}, 0});
    if (output != "-") {
        std::error_code ec;
        entries[0].place =
            std::filesystem::weakly_canonical(std::filesystem::absolute(output, ec), ec).string();
    }
    if (options.plan || options.report)
        return RunJobs(options, files, entries, false, false);
    Prepared prepared = Prepare(page, fields);
    if (!prepared.job)
        return std::nullopt; // the frame reports it
    RunningConfig running;
    if (const std::optional<int> refused = ReadAgainst(options, running))
        return refused;
    std::vector<Job> jobs;
    jobs.push_back(std::move(*prepared.job));
    const Against against{options.against, running};
    if (CrossCheck({&files[0]}, {&entries[0]}, jobs, options.strict, "nothing written", &against) >
        0)
        return kExitData;
    return std::nullopt;
}

int PrintDryRun(const PageTable& page, const FieldAccess& fields) {
    const Prepared prepared = Prepare(page, fields);
    if (!prepared.job) {
        std::cerr << "zd7240-gen: " << prepared.refusal << "\n";
        return prepared.status;
    }
    PrintSummary(std::cout, *prepared.job);
    return kExitOk;
}

} // namespace zd7240::cli
