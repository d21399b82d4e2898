#pragma once
// A device's running configuration: the "pvc" lines it already holds, read from a file
// saved from the device or from earlier scripts. Lines are held as runs, each a stretch
// of consecutive lines that one page could have written one after the other (the same
// fields, the walk values counting up), so that a million lines of earlier scripts cost
// what their few thousand runs cost.
//
// The jobs of a run are held against it: a line a job would write exactly as the device
// holds it is already configured; every other running line that binds an endpoint a job
// binds is a conflict, found by the same box check that holds jobs against each other.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "rangecheck.h"
#include "rangemath.h"

namespace zd7240 {

class FieldAccess;
class Job;

enum class RunningLineKind : std::uint8_t {
    Other,   // not a "pvc" command: counted and ignored
    Pvc,     // a "pvc" line one of the pages writes
    Unknown, // a "pvc" line in no page's format (or too long to be one)
};

class RunningConfig {
public:
    // No page writes a line anywhere near this long.
    static constexpr std::size_t kMaxLine = 4096;

    RunningConfig();

    // Reads one line of file `file`, numbered `line` from 1 in that file. Its end (LF,
    // CR LF), blanks around it and runs of blanks within it do not matter. A line that
    // does not start with the command "pvc" is counted and ignored. For an Unknown line,
    // *why says what is wrong with it.
    RunningLineKind Add(std::uint32_t file, std::uint64_t line, std::string_view text,
                        std::string* why);

    // A stretch of consecutive lines of one file written in one format with the same
    // fields, whose walk values count up by one from line to line.
    struct Run {
        std::uint32_t signature = 0; // index into the run's fields, below
        std::uint32_t file = 0;
        std::uint64_t firstLine = 0;
        std::uint64_t count = 0;
        std::int64_t board = 0, slot = 0, port = 0, step = 0, counter = 0; // of the first line
    };
    const std::vector<Run>& runs() const { return runs_; }
    std::uint64_t pvcLines() const { return pvcLines_; }
    std::uint64_t otherLines() const { return otherLines_; }

    // The page, format and field texts every line of a run shares.
    struct Signature {
        std::uint16_t page = 0; // index into Pages()
        std::uint8_t format = 0;
        std::uint8_t varying = 0; // WalkValue bits that count up along a run
        std::string fields;       // the copied fields' texts in line order, '\n' between
    };
    const std::vector<Signature>& signatures() const { return signatures_; }

    // The signature a job's lines would have; -1 when no running line has it.
    std::int64_t SignatureOf(const Job& job, const FieldAccess& fields) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::vector<Run> runs_;
    std::vector<Signature> signatures_;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> signatureIds_;
    std::uint64_t pvcLines_ = 0;
    std::uint64_t otherLines_ = 0;
    std::string line_; // the line being read, blanks collapsed
    std::string key_;  // its signature key
};

// The running lines against the jobs of a run.
struct RunningMatch {
    // Per job: how many of its lines the device already holds exactly.
    std::vector<LineCount> configured;
    // The running lines no job writes exactly, as bindings to hold against the jobs'
    // (FindConflicts with foreignFrom), each with the file and line it starts at.
    std::vector<JobBindings> rest;
    struct Origin {
        std::uint32_t file = 0;
        std::uint64_t firstLine = 0;
    };
    std::vector<Origin> origins;
};

// `fields[i]` are the fields of `jobs[i]`, whose format has been chosen.
RunningMatch MatchRunning(const RunningConfig& running, std::span<const Job> jobs,
                          std::span<const FieldAccess* const> fields);

// The running line that binds the endpoint of a conflict whose second party is `piece`,
// a part of RunningMatch::rest that starts at `origin`.
std::uint64_t RunningLineOf(const JobBindings& piece, const RunningMatch::Origin& origin,
                            const Conflict& conflict);

} // namespace zd7240
