// The range check alone, in process: 1,000 jobs of up to 2^31 lines each (the jobs of
// bench/jobs.sh), their endpoints taken and compared, best of several runs. The whole
// `zd7240-gen --check` process is timed by jobs.sh.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "jobfile.h"
#include "rangecheck.h"

using namespace zd7240;

int main() {
    std::string text = "{\"version\": 1, \"jobs\": [";
    for (int i = 0; i < 500; ++i) {
        const std::string n = std::to_string(i);
        text += (i ? "," : "") +
                std::string("{\"page\": \"lan-mmx\", \"fields\": {\"lan-board\": \"") + n +
                "\", \"lan-slot\": \"5\", \"start-vlan\": \"0\", \"end-vlan\": \"2147483646\", "
                "\"vpi\": \"1\", \"mmx-port\": \"" +
                n + "\", \"start-vci\": \"32\"}, \"output\": \"lan-" + n + ".txt\"}," +
                "{\"page\": \"adsl-mmx\", \"fields\": {\"start-board\": \"" +
                std::to_string(i * 1000) + "\", \"start-slot\": \"0\", \"end-board\": \"" +
                std::to_string(i * 1000 + 999) +
                "\", \"end-slot\": \"15\", \"port-number\": \"150000\", \"mmx-board\": \"1\", "
                "\"mmx-port\": \"" +
                n + "\", \"mmx-vpi\": \"1\", \"start-vci\": \"32\"}, \"output\": \"adsl-" + n +
                ".txt\"}";
    }
    text += "]}";
    std::vector<cli::JobEntry> entries = cli::ParseJobFile(text, "bench.json", "/tmp").jobs;
    std::vector<Job> jobs;
    for (cli::JobEntry& entry : entries) {
        jobs.emplace_back(*entry.page, entry.fields);
        jobs.back().SelectFormat(entry.fields);
    }
    double best = 1e9;
    std::size_t conflicts = 0;
    for (int run = 0; run < 10; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        std::vector<JobBindings> bindings;
        bindings.reserve(jobs.size());
        for (std::size_t i = 0; i < jobs.size(); ++i)
            bindings.push_back(BindingsOf(jobs[i], entries[i].fields));
        conflicts = FindConflicts(bindings).listed.size();
        const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
        best = std::min(best, ms.count());
    }
    std::printf("range check of %zu jobs (%zu conflicts): %.2f ms (best of 10, in process)\n",
                jobs.size(), conflicts, best);
    return 0;
}
