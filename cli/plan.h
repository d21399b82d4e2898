#pragma once
// What a run would do, said before anything is written: per job the lines it writes,
// those the device already holds and its conflicts; per output whether it is new,
// changed (with the lines added and removed) or unchanged. Printed for people (--plan)
// or written as JSON for review bots and inventory tools (--report).

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rangecheck.h"
#include "rangemath.h"
#include "scriptwriter.h"

namespace zd7240 {
class FieldAccess;
class Job;
} // namespace zd7240

namespace zd7240::cli {

// The version of the report's layout; raised when a field changes meaning or goes.
inline constexpr int kReportVersion = 1;

struct PlannedJob {
    std::string label;  // "job 3 (adsl-0.txt)"
    std::string name;   // the job's "name", or empty
    std::string page;   // "adsl-mmx"
    std::string output; // as written in the job file or on the command line
    LineCount lines = 0;
    LineCount configured = 0; // lines the device already holds exactly (--against)
    std::size_t conflicts = 0;
    std::vector<std::string> warnings;
    JobBindings bindings;
};

struct PlannedConflict {
    std::size_t job = 0;
    std::optional<std::size_t> other; // another job of the run that binds the endpoint
    std::string runningFile;          // or the running line that binds it
    std::uint64_t runningLine = 0;
    std::string endpoint;
    bool wrapsAround = false; // the job binds it twice: its counter comes round
};

enum class OutputState { New, Changed, Unchanged, Stream };

struct PlannedOutput {
    std::string name;
    std::vector<std::size_t> jobs;
    OutputState state = OutputState::New;
    bool counted = false; // added and removed are known
    std::uint64_t added = 0;
    std::uint64_t removed = 0;
};

struct Plan {
    std::vector<PlannedJob> jobs;
    std::vector<PlannedOutput> outputs;
    std::vector<PlannedConflict> conflicts; // the first hundred
    std::size_t moreConflicts = 0;
    bool atLeastMore = false; // moreConflicts is a least count
    std::vector<std::string> chassisFindings;
    bool against = false; // the run was held against a running configuration
    std::uint64_t runningLines = 0, otherLines = 0, runningRuns = 0;
    int status = 0; // the exit status the run would have
};

// Whether an output would be new, changed or unchanged, found by rendering its jobs'
// lines (jobs[i] with fields[i]) and comparing them with the old file, writing nothing.
// Lines added and removed are counted for files of up to a few hundred MB.
PlannedOutput PlanOutput(const TargetPlan& target, const std::string& name,
                         std::span<Job* const> jobs, std::span<const FieldAccess* const> fields);

void PrintPlan(const Plan& plan, std::ostream& out);

// Writes the plan as JSON to `target` ("-": standard output) through the safe writer.
// Returns the exit status of a failure, or 0.
int WriteReport(const Plan& plan, const std::string& target);

} // namespace zd7240::cli
