// Fuzzes the reader of a device's running lines and the match against jobs: whatever
// the text, reading never crashes, every running line a conflict names is a line that
// was read as a page's, and no job has more lines configured than it writes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "frame.h"
#include "rangemath.h"
#include "running.h"

namespace {

using namespace zd7240;

// Every field "1" (the Aiu range end "3", two ports a card): small jobs of every page
// whose lines the seeds hold.
class OnesFields : public FieldAccess {
public:
    explicit OnesFields(const PageTable& page) {
        for (const FieldRow& field : page.fields)
            texts_[std::string(field.name)] = field.key == "aiu-end-vci"   ? "3"
                                              : field.key == "port-number" ? "2"
                                                                           : "1";
    }
    std::string Text(std::string_view control) const override {
        const auto it = texts_.find(std::string(control));
        return it == texts_.end() ? std::string() : it->second;
    }
    void SetText(std::string_view control, const std::string& text) override {
        texts_[std::string(control)] = text;
    }
    int ItemIndex(std::string_view) const override { return 0; }

private:
    std::map<std::string, std::string> texts_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RunningConfig running;
    std::vector<RunningLineKind> kinds{RunningLineKind::Other}; // numbered from 1
    std::string why;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        kinds.push_back(running.Add(0, kinds.size(), text.substr(from, end - from), &why));
        from = end + 1;
    }
    static std::vector<OnesFields> fields;
    static std::vector<Job> jobs;
    if (jobs.empty()) {
        for (const PageTable& page : Pages())
            fields.emplace_back(page);
        for (std::size_t i = 0; i < Pages().size(); ++i) {
            jobs.emplace_back(Pages()[i], fields[i]);
            jobs.back().SelectFormat(fields[i]);
        }
    }
    std::vector<const FieldAccess*> access;
    for (const OnesFields& f : fields)
        access.push_back(&f);
    const RunningMatch match = MatchRunning(running, jobs, access);
    std::vector<JobBindings> all;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (match.configured[i] > Summarize(jobs[i]).lines)
            std::abort();
        all.push_back(BindingsOf(jobs[i], fields[i]));
    }
    all.insert(all.end(), match.rest.begin(), match.rest.end());
    for (const Conflict& c : FindConflicts(all, 50, jobs.size()).listed) {
        if (c.second < jobs.size())
            continue;
        const std::size_t k = c.second - jobs.size();
        const std::uint64_t line = RunningLineOf(match.rest[k], match.origins[k], c);
        if (line == 0 || line >= kinds.size() || kinds[line] != RunningLineKind::Pvc)
            std::abort();
    }
    return 0;
}
