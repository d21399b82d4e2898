#include "jobcommand.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

#include "frameseams.h"
#include "hints.h"
#include "jobfile.h"
#include "messages.h"
#include "processguard.h"
#include "rangecheck.h"
#include "rangemath.h"
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

// Prints the job's hints, each after the entry's label when it comes from a job file.
std::size_t PrintHints(const Job& job, const FieldAccess& fields, const JobEntry* entry) {
    const std::vector<SanityHint> hints = SanityHints(job, fields);
    const std::string prefix = entry && !hints.empty() ? entry->Label() + ": " : "";
    for (const SanityHint& hint : hints) {
        // One write per line: standard error is unbuffered and there may be thousands.
        std::cerr << "zd7240-gen: " + prefix + "warning: " + KeyName(job.page(), *hint.field) +
                         ": " + hint.text + "\n";
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

// Why files cannot be created, judged before anything is written: a folder that is
// missing, not a folder or not writable (each folder judged once), or a path that is a
// folder itself. A FIFO, a device or a file that is there already is left to the writer.
class CreateCheck {
public:
    // Empty when a file can be created at `path`.
    std::string Problem(const std::string& path) {
        std::string folder, name;
        SplitPath(path, folder, name);
        if (folder.empty())
            folder = ".";
        auto it = folders_.find(folder);
        if (it == folders_.end())
            it = folders_.emplace(folder, Judge(folder)).first;
        const Folder& judged = it->second;
        if (!judged.problem.empty())
            return judged.problem;
        // Only names the folder lists as something other than a file need a look of
        // their own: a folder, or a link that may lead to one.
        if (judged.others.contains(name)) {
            struct stat st {};
            if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                return "is a folder";
        }
        return {};
    }

private:
    // The folder and the name of a path, as a path object's parent_path and filename
    // give them; a plain "folder/name" is split at its last slash rather than taken apart
    // by a path object, which costs more than the rest of the check for each output.
    static void SplitPath(const std::string& path, std::string& folder, std::string& name) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos) {
            folder.clear();
            name = path;
            return;
        }
        const std::string_view last = std::string_view(path).substr(slash + 1);
        if (!last.empty() && last != "." && last != ".." &&
            (slash == 0 || path[slash - 1] != '/')) {
            folder = slash == 0 ? "/" : path.substr(0, slash);
            name = last;
            return;
        }
        const std::filesystem::path target(path);
        folder = target.parent_path().string();
        name = target.filename().string();
    }

    struct Folder {
        std::string problem;
        std::unordered_set<std::string> others; // entries that are not plain files
    };

    // One listing per folder, rather than a look at each of thousands of outputs.
    static Folder Judge(const std::string& folder) {
        Folder judged{FolderProblem(folder), {}};
        if (!judged.problem.empty())
            return judged;
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                if (entry->d_type != DT_REG)
                    judged.others.insert(entry->d_name);
            }
            closedir(dir);
        }
        return judged;
    }

    static std::string FolderProblem(const std::string& folder) {
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0)
            return "its folder " + Quoted(folder) + ": " + std::strerror(errno);
        if (!S_ISDIR(st.st_mode))
            return Quoted(folder) + " is not a folder";
        if (access(folder.c_str(), W_OK | X_OK) != 0)
            return "its folder " + Quoted(folder) + ": " + std::strerror(errno);
        return {};
    }

    std::unordered_map<std::string, Folder> folders_;
};

// The jobs in the order their files are written: the jobs of one file together, in job
// order, the files in the order of their first job. Standard output is one such file.
std::vector<std::vector<std::size_t>> FileGroups(const std::vector<JobEntry>& entries) {
    std::vector<std::vector<std::size_t>> groups;
    std::unordered_map<std::string_view, std::size_t> byPlace; // place ("-": standard output)
    byPlace.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view place = entries[i].path == "-" ? entries[i].path : entries[i].place;
        const auto [it, fresh] = byPlace.emplace(place, groups.size());
        if (fresh)
            groups.emplace_back();
        groups[it->second].push_back(i);
    }
    return groups;
}

// Writes one file from its jobs, replacing it once when all of them are written.
int WriteGroup(const std::vector<JobEntry>& entries, std::vector<Job>& jobs,
               const std::vector<std::size_t>& group, bool progress, WriteBehind& behind) {
    const JobEntry& first = entries[group.front()];
    std::vector<std::string> ends;
    // An interrupt ends the process at once; it says which job was left.
    const auto note = [](const JobEntry& entry) {
        SetInterruptNote(" in " + entry.Label() + "; its file was left as it was, the " +
                         "files of the jobs before it are complete");
    };
    note(first); // opening a FIFO waits for its reader
    try {
        std::unique_ptr<ScriptWriter> writer = OpenScript(first.path, &behind);
        for (std::size_t i : group) {
            const JobEntry& entry = entries[i];
            note(entry);
            LineProgress monitor(progress, true); // the End line writes over the count
            std::uint64_t lines = 0;
            jobs[i].BuildRenderer(entry.fields);
            jobs[i].WriteTo(*writer, &monitor, &lines);
            jobs[i].DropRenderer();
            monitor.Finished();
            ends.push_back(entry.Label() + ": " + EndLine(*entry.page, jobs[i].endValue()) + "\n");
        }
        writer->Commit();
    } catch (const FileError& e) {
        std::cerr << "zd7240-gen: " + first.Label() + ": " + EscapeText(e.what()) + "\n";
        return e.kind() == FileError::Kind::Create ? kExitCantCreate : kExitIoError;
    }
    std::string text;
    for (const std::string& end : ends)
        text += end;
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

int RunJobFile(const JobCommandOptions& options, bool dryRun, bool progress) {
    PrepareHeapFor(options.jobFile);
    JobFile file;
    try {
        file = ReadJobFile(options.jobFile, options.sets);
    } catch (const JobFileUnreadable& e) {
        PrintLines(e.what());
        return kExitNoInput;
    } catch (const JobFileError& e) {
        PrintLines(e.what());
        return kExitData;
    }
    std::vector<JobEntry>& entries = file.jobs;

    // Everything is judged before anything is written: every field of every job, the
    // jobs against each other and against the chassis, and the folders of the outputs.
    // Any refusal writes nothing.
    std::vector<Job> jobs;
    jobs.reserve(entries.size());
    std::size_t refused = 0;
    for (JobEntry& entry : entries) {
        const std::vector<std::string> refusals = FieldRefusals(*entry.page, entry.fields);
        for (const std::string& refusal : refusals)
            std::cerr << "zd7240-gen: " + entry.Label() + ": " + refusal + "\n";
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
            std::cerr << "zd7240-gen: " + entry.Label() + ": " + EscapeText(e.what()) + "\n";
            ++refused;
        }
    }
    if (refused > 0) {
        std::cerr << "zd7240-gen: " << refused << " job(s) refused; nothing written\n";
        return kExitData;
    }

    std::size_t warnings = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i)
        warnings += PrintHints(jobs[i], entries[i].fields, &entries[i]);
    if (options.strict && warnings > 0) {
        std::cerr << "zd7240-gen: --strict: " << warnings << " warning(s); nothing written\n";
        return kExitData;
    }

    if (!options.noCheck) {
        std::vector<JobBindings> bindings;
        bindings.reserve(jobs.size());
        for (std::size_t i = 0; i < jobs.size(); ++i)
            bindings.push_back(BindingsOf(jobs[i], entries[i].fields));
        const std::vector<Conflict> conflicts = FindConflicts(bindings);
        std::size_t findings = conflicts.size();
        for (const Conflict& c : conflicts) {
            std::string line = "zd7240-gen: conflict: " + entries[c.first].Label();
            if (c.first == c.second) {
                line += " binds " + c.endpoint + " twice";
                if (c.wrapsAround)
                    line += " (its counter comes round after 2^32 lines)";
            } else {
                line += " and " + entries[c.second].Label() + " both bind " + c.endpoint;
            }
            std::cerr << line + "\n";
        }
        if (file.hasChassis) {
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                for (const std::string& finding :
                     ChassisFindings(jobs[i], entries[i].fields, file.chassis, options.strict)) {
                    std::cerr << "zd7240-gen: " + entries[i].Label() + ": " + finding + "\n";
                    ++findings;
                }
            }
        }
        if (findings > 0) {
            std::cerr << "zd7240-gen: " << findings
                      << " conflict(s) with other jobs or the chassis; nothing written\n";
            return kExitData;
        }
    }

    const std::vector<std::vector<std::size_t>> groups = FileGroups(entries);
    bool cannotCreate = false;
    CreateCheck createCheck;
    for (const std::vector<std::size_t>& group : groups) {
        const JobEntry& entry = entries[group.front()];
        if (entry.path == "-")
            continue;
        if (const std::string problem = createCheck.Problem(entry.path); !problem.empty()) {
            std::cerr << "zd7240-gen: " + entry.Label() + ": cannot create " +
                             Quoted(entry.output) + ": " + problem + "\n";
            cannotCreate = true;
        }
    }
    if (cannotCreate) {
        std::cerr << "zd7240-gen: nothing written\n";
        return kExitCantCreate;
    }

    if (dryRun) {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            jobs[i].BuildRenderer(entries[i].fields);
            PrintSummary(std::cout, jobs[i], entries[i].Label() + "\n");
            jobs[i].DropRenderer();
        }
        return kExitOk;
    }

    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    // One writer thread and one pair of buffers serve every file in turn.
    WriteBehind behind;
    for (const std::vector<std::size_t>& group : groups) {
        if (const int status = WriteGroup(entries, jobs, group, progress, behind);
            status != kExitOk)
            return status;
    }
    return kExitOk;
}

// Takes "--name VALUE" or "--name=VALUE" at args[i]; false when args[i] is another word.
// A second one is not taken; `repeated` is set instead.
bool TakeValue(std::vector<std::string_view>& args, std::size_t i, std::string_view name,
               std::string* value, bool* missing, bool* repeated) {
    const std::string_view arg = args[i];
    const bool matches = arg == name || (arg.size() > name.size() && arg.starts_with(name) &&
                                         arg[name.size()] == '=');
    if (matches && !value->empty()) {
        *repeated = true;
        return true;
    }
    if (arg == name) {
        if (i + 1 >= args.size()) {
            *missing = true;
        } else {
            *value = std::string(args[i + 1]);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        }
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        *value = std::string(arg.substr(name.size() + 1));
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

} // namespace

std::optional<int> TakeJobOptions(std::vector<std::string_view>& args, JobCommandOptions& options) {
    bool help = false;
    const auto erase = [&args](std::size_t i, std::size_t n) {
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + n));
    };
    for (std::size_t i = 0; i < args.size();) {
        const std::string_view arg = args[i];
        if (arg == "--")
            break; // what follows is not an option
        bool missing = false, repeated = false;
        if (TakeValue(args, i, "--job", &options.jobFile, &missing, &repeated) ||
            TakeValue(args, i, "--save-job", &options.saveJob, &missing, &repeated)) {
            if (repeated)
                return UsageError("option " + std::string(arg.substr(0, arg.find('='))) +
                                  " is given twice");
            if (missing || (options.jobFile.empty() && options.saveJob.empty()))
                return UsageError("option " + std::string(arg.substr(0, arg.find('='))) +
                                  " needs a file name");
            continue;
        }
        if (arg == "--set" || arg.starts_with("--set=")) {
            std::string_view setting;
            if (arg == "--set") {
                if (i + 1 >= args.size())
                    return UsageError("option --set needs KEY=VALUE");
                setting = args[i + 1];
                erase(i, 2);
            } else {
                setting = arg.substr(6);
                erase(i, 1);
            }
            const std::size_t equals = setting.find('=');
            if (equals == std::string_view::npos || equals == 0)
                return UsageError("--set " + std::string(setting) + ": write --set KEY=VALUE");
            options.sets.push_back(
                {std::string(setting.substr(0, equals)), std::string(setting.substr(equals + 1))});
            continue;
        }
        bool* flag = arg == "--check"      ? &options.check
                     : arg == "--no-check" ? &options.noCheck
                     : arg == "--strict"   ? &options.strict
                     : arg == "--append"   ? &options.append
                     : arg == "--force"    ? &options.force
                                           : nullptr;
        if (flag) {
            *flag = true;
            erase(i, 1);
            continue;
        }
        help = help || arg == "--help" || arg == "-h" || arg == "--version" || arg == "-V";
        ++i;
    }
    if (help)
        return std::nullopt;
    if ((options.append || options.force) && options.saveJob.empty())
        return UsageError(std::string(options.append ? "--append" : "--force") +
                          " says how --save-job treats an existing job file: give --save-job FILE");
    if (options.append && options.force)
        return UsageError("--append keeps the job file's jobs and --force replaces them: give one");
    if (options.jobFile.empty()) {
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
    return RunJobFile(options, dryRun, progress);
}

namespace {

// Judges the jobs of a job file about to be saved beyond what the reader judged: this is
// where the cross-job and chassis checks that --job runs belong, so that a saved file is
// refused as its run would be (65), and where --no-check skips them. Returns the exit
// status; kExitOk saves the file.
int CheckSavedJobFile([[maybe_unused]] const JobFile& saved, const JobCommandOptions& options) {
    if (options.noCheck)
        return kExitOk;
    // The reader has judged every job, the defaults and the chassis names; the checks of
    // the jobs against each other and against the chassis are run by RunJobFile alone
    // so far.
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
