#pragma once
// The parts of zd7240-gen beyond one page: running job files (--job, with --check and
// --dry-run), saving a command as a job file (--save-job), the sanity hints (--strict)
// and the dry run computed from the ranges.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "jobfile.h"
#include "pagefields.h"
#include "pagetable.h"

namespace zd7240::cli {

struct JobCommandOptions {
    std::vector<std::string> jobFiles;    // --job FILE, each one given
    std::optional<std::string> outputDir; // --output-dir DIR
    std::string saveJob;                  // --save-job FILE
    bool check = false;                   // --check (the checks run anyway; kept for scripts)
    bool noCheck = false;                 // --no-check: no cross-job and chassis checks
    bool strict = false;                  // --strict
    bool append = false;                  // --append: --save-job adds to an existing file
    bool force = false;                   // --force: --save-job replaces an existing file
    std::vector<FieldSetting> sets;       // --set KEY=VALUE, in order
    std::vector<std::string> against;     // --against FILE: what the device holds, each one given
    bool plan = false;                    // --plan: say what a run would do, write nothing
    std::optional<std::string> report;    // --report FILE|-: the plan as JSON (implies --plan)
};

// Takes --job, --check, --strict and --save-job out of `args`. With --job (and no --help
// or --version) it runs the job file with the options left and returns the exit status;
// otherwise it returns nothing and the caller goes on with one page.
std::optional<int> TakeJobOptions(std::vector<std::string_view>& args, JobCommandOptions& options);

// Writes the page's fields as a job file: a new file, or with `append` the job added to
// an existing one, or with `force` an existing one replaced; an existing file is
// otherwise refused (73). Returns the exit status.
int SaveJob(const PageTable& page, const FieldAccess& fields, const std::string& output,
            const JobCommandOptions& options);

// Prints the sanity hints of a page whose fields pass the check and the conversion, as
// warnings on standard error; returns 65 when `strict` and there were any, else 0. When
// the fields do not pass, prints nothing: the frame reports that.
int ReportHints(const PageTable& page, const FieldAccess& fields, bool strict);

// One page's command with --against or --plan: holds its job against the running
// configuration and, for a plan, says what the run would do. Returns the exit status
// when the command ends here (a plan, a refusal), nothing when the page is to be
// written as usual.
std::optional<int> CheckOnePage(const PageTable& page, const PageFields& fields,
                                const std::string& output, const JobCommandOptions& options);

// The dry run of one page: End value, line count, first and last line, computed from the
// ranges. Returns the exit status.
int PrintDryRun(const PageTable& page, const FieldAccess& fields);

} // namespace zd7240::cli
