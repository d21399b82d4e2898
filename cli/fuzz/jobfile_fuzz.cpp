// Fuzzes the job file reader and what runs on a read job without writing: whatever the
// bytes, the reader accepts or refuses with JobFileError, and for accepted jobs the
// summary computed from the ranges agrees with the walk (for short walks), the hints
// and the range check finish, and nothing crashes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "hints.h"
#include "jobfile.h"
#include "rangecheck.h"
#include "rangemath.h"

using namespace zd7240;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cli::JobFile file;
    // A --set for every job, as an operator's command line would give it.
    const cli::FieldSetting sets[] = {{"start-board", "1"}, {"lan-board", "1"}};
    try {
        file = cli::ParseJobFile(text, "fuzz.json", "/nonexistent-folder", sets);
    } catch (const cli::JobFileError&) {
        try {
            file = cli::ParseJobFile(text, "fuzz.json", "/nonexistent-folder");
        } catch (const cli::JobFileError&) {
            return 0;
        }
    }
    const std::vector<cli::JobEntry>& entries = file.jobs;
    std::vector<JobBindings> bindings;
    for (const cli::JobEntry& entry : entries) {
        if (FirstInvalidField(*entry.page, entry.fields))
            continue;
        try {
            Job job(*entry.page, entry.fields);
            job.SelectFormat(entry.fields);
            const WalkSummary summary = Summarize(job);
            (void)SanityHints(job, entry.fields);
            bindings.push_back(BindingsOf(job, entry.fields));
            (void)ChassisFindings(job, entry.fields, file.chassis, file.shape);
            if (summary.lines <= 4096) {
                LineCount lines = 0;
                StepValues last{};
                job.Walk([&](const LineRenderer&, const StepValues& v) {
                    if (lines == 0 &&
                        (v.counter != summary.first.counter || v.board != summary.first.board ||
                         v.slot != summary.first.slot || v.step != summary.first.step))
                        std::abort();
                    last = v;
                    ++lines;
                    return lines <= 4096;
                });
                if (lines != summary.lines ||
                    (lines > 0 &&
                     (last.counter != summary.last.counter || last.board != summary.last.board ||
                      last.slot != summary.last.slot || last.port != summary.last.port ||
                      last.step != summary.last.step)))
                    std::abort();
            }
        } catch (const ConversionError&) {
        }
    }
    (void)FindConflicts(bindings, 100);
    return 0;
}
