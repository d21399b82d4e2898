#include "jobcommand.h"

#include <csignal>
#include <filesystem>
#include <iostream>

#include "hints.h"
#include "jobfile.h"
#include "messages.h"
#include "processguard.h"
#include "rangecheck.h"
#include "rangemath.h"
#include "scriptwriter.h"

namespace zd7240::cli {

namespace {

std::string JobName(const JobEntry& entry) {
    return "job " + std::to_string(entry.number) + " (" + EscapeText(entry.output) + ")";
}

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

std::size_t PrintHints(const Job& job, const FieldAccess& fields, const std::string& prefix) {
    const std::vector<SanityHint> hints = SanityHints(job, fields);
    for (const SanityHint& hint : hints) {
        // One write per line: standard error is unbuffered and there may be thousands.
        std::cerr << "zd7240-gen: " + prefix + "warning: " + std::string(hint.field->key) + " (" +
                         FieldName(job.page(), *hint.field) + "): " + hint.text + "\n";
    }
    return hints.size();
}

void PrintSummary(std::ostream& out, const Job& job) {
    const WalkSummary walk = Summarize(job);
    out << EndLine(job.page(), job.endValue()) << "\n"
        << "Lines: " << FormatLineCount(walk.lines) << "\n";
    if (walk.lines > 0) {
        auto line = [&](const StepValues& values) {
            std::string text = job.renderer()->RenderToString(values);
            return text.substr(0, text.size() - 2); // without CR LF
        };
        out << "First: " << line(walk.first) << "\n"
            << "Last: " << line(walk.last) << "\n";
    }
}

int RunOne(JobEntry& entry, bool progress, WriteBehind& behind) {
    const std::string prefix = JobName(entry) + ": ";
    FixedChooser chooser(entry.path);
    StderrMessages messages(prefix);
    LineProgress monitor(progress, true); // the End line writes over the count
    FrameSeams seams{entry.fields, chooser, messages, messages, &monitor};
    seams.open = [&behind](const std::string& path) { return OpenScript(path, &behind); };
    const FrameResult result = RunFrame(*entry.page, seams);
    return ReportOutcome(*entry.page, entry.fields, result, prefix, entry.output);
}

int RunJobFile(const JobCommandOptions& options, bool dryRun, bool progress) {
    std::vector<JobEntry> entries;
    try {
        entries = ReadJobFile(options.jobFile);
    } catch (const JobFileUnreadable& e) {
        std::cerr << "zd7240-gen: " << EscapeText(e.what()) << "\n";
        return kExitNoInput;
    } catch (const JobFileError& e) {
        std::cerr << "zd7240-gen: " << EscapeText(e.what()) << "\n";
        return kExitData;
    }

    // With --check, --strict or --dry-run every job is judged before any is written.
    if (options.check || options.strict || dryRun) {
        std::vector<Job> jobs;
        std::size_t warnings = 0;
        for (JobEntry& entry : entries) {
            Prepared prepared = Prepare(*entry.page, entry.fields);
            if (!prepared.job) {
                std::cerr << "zd7240-gen: " << JobName(entry) << ": " << prepared.refusal << "\n";
                return prepared.status;
            }
            warnings += PrintHints(*prepared.job, entry.fields, JobName(entry) + ": ");
            jobs.push_back(std::move(*prepared.job));
        }
        if (options.strict && warnings > 0) {
            std::cerr << "zd7240-gen: --strict: " << warnings << " warning(s); nothing written\n";
            return kExitData;
        }
        if (options.check) {
            std::vector<JobBindings> bindings;
            bindings.reserve(jobs.size());
            for (std::size_t i = 0; i < jobs.size(); ++i)
                bindings.push_back(BindingsOf(jobs[i], entries[i].fields));
            const std::vector<Conflict> conflicts = FindConflicts(bindings);
            for (const Conflict& c : conflicts) {
                std::string line = "zd7240-gen: conflict: " + JobName(entries[c.first]);
                if (c.first == c.second) {
                    line += " binds " + c.endpoint + " twice";
                    if (c.wrapsAround)
                        line += " (its counter comes round after 2^32 lines)";
                } else {
                    line += " and " + JobName(entries[c.second]) + " both bind " + c.endpoint;
                }
                std::cerr << line + "\n";
            }
            if (!conflicts.empty()) {
                std::cerr << "zd7240-gen: " << conflicts.size()
                          << " conflict(s); nothing written\n";
                return kExitData;
            }
        }
        if (dryRun) {
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                std::cout << JobName(entries[i]) << "\n";
                PrintSummary(std::cout, jobs[i]);
            }
            return kExitOk;
        }
    }

    // Over a file size limit, let the write fail and the old file stay, rather than die.
    std::signal(SIGXFSZ, SIG_IGN);
    const bool hintsShown = options.check || options.strict;
    // One writer thread and one pair of buffers serve every job in turn.
    WriteBehind behind;
    for (JobEntry& entry : entries) {
        // An interrupt ends the process at once; it says which job was left.
        SetInterruptNote(" in " + JobName(entry) + "; its file was left as it was, the files of " +
                         "the jobs before it are complete");
        if (!hintsShown) {
            const Prepared prepared = Prepare(*entry.page, entry.fields);
            if (prepared.job)
                PrintHints(*prepared.job, entry.fields, JobName(entry) + ": ");
        }
        if (const int status = RunOne(entry, progress, behind); status != kExitOk)
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
        if (arg == "--check" || arg == "--strict") {
            (arg == "--check" ? options.check : options.strict) = true;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        help = help || arg == "--help" || arg == "-h" || arg == "--version" || arg == "-V";
        ++i;
    }
    if (help)
        return std::nullopt;
    if (options.jobFile.empty()) {
        if (options.check)
            return UsageError("--check compares the jobs of a job file: give --job FILE");
        return std::nullopt;
    }
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

int SaveJob(const PageTable& page, const FieldAccess& fields, const std::string& output,
            const std::string& jobFile) {
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
    // The output is kept relative to the folder of the job file, as it is read back.
    std::string kept = output;
    if (output != "-" && std::filesystem::path(output).is_relative()) {
        std::error_code ec;
        const auto folder = std::filesystem::absolute(jobFile, ec).parent_path();
        const auto relative =
            std::filesystem::proximate(std::filesystem::absolute(output, ec), folder, ec);
        if (!ec)
            kept = relative.string();
    }
    std::string text;
    try {
        text = OneJobFile(page, fields, kept);
    } catch (const JobFileError& e) {
        std::cerr << "zd7240-gen: cannot save the job: " << e.what() << "\n";
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
    const std::size_t warnings = PrintHints(*prepared.job, fields, "");
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
