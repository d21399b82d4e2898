// The running configuration: every page's lines read back as that page's, runs merged,
// lines that are not the pages' refused or ignored, and the jobs held against the lines:
// identical lines configured, others conflicts that name their line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "frame.h"
#include "rangemath.h"
#include "running.h"

namespace zd7240 {
namespace {

using test::MapFields;

// The lines a job writes, without their CR LF.
std::vector<std::string> LinesOf(const Job& job) {
    std::vector<std::string> lines;
    job.Walk([&](const LineRenderer& renderer, const StepValues& values) {
        std::string line = renderer.RenderToString(values);
        line.resize(line.size() - 2);
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

struct Prepared {
    MapFields fields;
    Job job;
};

Prepared Make(const PageTable& page, const std::vector<std::pair<const char*, const char*>>& set,
              std::vector<int> indices = {}) {
    MapFields fields(page);
    ResetToDefaults(page, fields);
    // Fields without a default text get one, so that every side binds its endpoints.
    for (const FieldRow& field : page.fields) {
        if (field.role != FieldRole::End && fields.texts[std::string(field.name)].empty())
            fields.texts[std::string(field.name)] = field.key == "aiu-end-vci" ? "5" : "1";
    }
    fields.Set(set, page);
    for (std::size_t i = 0; i < indices.size(); ++i)
        fields.indices[std::string(page.selectors[i].name)] = indices[i];
    Job job(page, fields);
    job.SelectFormat(fields);
    return {std::move(fields), std::move(job)};
}

// Reads `lines` as file 0 from line 1; every line must be a page's.
RunningConfig Read(const std::vector<std::string>& lines) {
    RunningConfig running;
    std::string why;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(running.Add(0, i + 1, lines[i], &why), RunningLineKind::Pvc) << lines[i] << why;
    return running;
}

RunningMatch MatchOne(const RunningConfig& running, const Prepared& p) {
    std::vector<Job> jobs;
    jobs.push_back(Job(p.job.page(), p.fields));
    jobs.back().SelectFormat(p.fields);
    const FieldAccess* fields[] = {&p.fields};
    return MatchRunning(running, jobs, fields);
}

TEST(Running, EveryPageAndFormatReadsBackAsItsOwnJob) {
    for (const PageTable& page : Pages()) {
        // Every card type of every box, so that every line format is met.
        for (int mask = 0; mask < (1 << page.selectors.size()); ++mask) {
            std::vector<int> indices;
            for (std::size_t s = 0; s < page.selectors.size(); ++s)
                indices.push_back((mask >> s) & 1);
            const Prepared p = Make(page, {}, indices);
            SCOPED_TRACE(std::string(page.slug) + " format " + std::to_string(p.job.format()));
            const std::vector<std::string> lines = LinesOf(p.job);
            ASSERT_FALSE(lines.empty());
            const RunningConfig running = Read(lines);
            EXPECT_EQ(running.pvcLines(), lines.size());
            // One run per card of a chassis walk, one for a range.
            EXPECT_LE(running.runs().size(), 16u * 3);
            const RunningMatch match = MatchOne(running, p);
            EXPECT_EQ(match.configured[0], lines.size());
            EXPECT_TRUE(match.rest.empty());

            // The same lines written by a job that starts its counter one later are
            // other lines on the same endpoints: no line is configured, all conflict.
            const FieldRow* counter = FindField(page, page.walkFields.back());
            MapFields shifted = p.fields;
            shifted.texts[std::string(counter->name)] =
                std::to_string(std::stoll(p.fields.Text(counter->name)) + 1);
            Job other(page, shifted);
            other.SelectFormat(shifted);
            std::vector<Job> jobs;
            jobs.push_back(std::move(other));
            const FieldAccess* fields[] = {&shifted};
            const RunningMatch moved = MatchRunning(running, jobs, fields);
            EXPECT_EQ(moved.configured[0], 0u);
            std::vector<JobBindings> all{BindingsOf(jobs[0], shifted)};
            all.insert(all.end(), moved.rest.begin(), moved.rest.end());
            EXPECT_FALSE(FindConflicts(all, 100, 1).listed.empty());
        }
    }
}

TEST(Running, ConflictsNameTheRunningLine) {
    const PageTable& page = *FindPage("lan-mmx");
    const Prepared held = Make(page, {{"lan-board", "0"},
                                      {"lan-slot", "5"},
                                      {"vpi", "1"},
                                      {"start-vlan", "200"},
                                      {"end-vlan", "255"},
                                      {"start-vci", "40"}});
    std::vector<std::string> lines = LinesOf(held.job);
    lines.insert(lines.begin(), "hostname shelf-0"); // line numbers count every line
    lines.push_back(lines[20]);                      // a line the device shows twice
    RunningConfig running;
    std::string why;
    for (std::size_t i = 0; i < lines.size(); ++i)
        running.Add(0, i + 1, lines[i], &why);
    EXPECT_EQ(running.otherLines(), 1u);
    EXPECT_EQ(running.pvcLines(), 57u);

    struct Case {
        const char* what;
        const char* startVlan;
        const char* endVlan;
        const char* startVci;
        LineCount configured;
        std::string endpoint; // empty: no conflict
        std::uint64_t line;
    };
    const Case cases[] = {
        {"the same lines", "200", "255", "40", 56, "", 0},
        {"a part of them", "210", "219", "50", 10, "", 0},
        {"the same VLANs to other VCIs", "250", "260", "1000", 0, "VLAN id 250 on Lan card 0/5",
         52},
        {"past the end, the overlap written alike", "250", "260", "90", 6, "", 0},
        {"other VLANs to VCIs the device holds", "300", "310", "60", 0,
         "VPI 1 VCI 60 on card 0/7 port 0", 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Prepared p = Make(page, {{"lan-board", "0"},
                                       {"lan-slot", "5"},
                                       {"vpi", "1"},
                                       {"start-vlan", c.startVlan},
                                       {"end-vlan", c.endVlan},
                                       {"start-vci", c.startVci}});
        const RunningMatch match = MatchOne(running, p);
        EXPECT_EQ(match.configured[0], c.configured);
        std::vector<JobBindings> all{BindingsOf(p.job, p.fields)};
        all.insert(all.end(), match.rest.begin(), match.rest.end());
        const ConflictReport report = FindConflicts(all, 100, 1);
        if (c.endpoint.empty()) {
            EXPECT_TRUE(report.listed.empty()) << report.listed.front().endpoint;
            continue;
        }
        ASSERT_EQ(report.listed.size(), 1u);
        const Conflict& conflict = report.listed.front();
        EXPECT_EQ(conflict.endpoint, c.endpoint);
        const std::size_t k = conflict.second - 1;
        EXPECT_EQ(RunningLineOf(match.rest[k], match.origins[k], conflict), c.line);
    }
}

TEST(Running, ChassisWalkLinesMatchTheirCards) {
    // Cards 0/6, 0/9 and 0/10 (7 and 8 hold none), four ports each.
    const PageTable& page = *FindPage("adsl-mmx");
    const auto make = [&](const char* startSlot, const char* endSlot, const char* vci) {
        return Make(page, {{"start-board", "0"},
                           {"start-slot", startSlot},
                           {"end-board", "0"},
                           {"end-slot", endSlot},
                           {"port-number", "4"},
                           {"start-vci", vci}});
    };
    const Prepared held = make("6", "10", "100");
    const RunningConfig running = Read(LinesOf(held.job));
    EXPECT_EQ(running.runs().size(), 3u);
    // The card 0/9 alone, from the counter the walk gives it: its lines exactly.
    EXPECT_EQ(MatchOne(running, make("9", "9", "104")).configured[0], 4u);
    // From another counter: the same ports with other VCIs.
    const Prepared moved = make("9", "9", "200");
    const RunningMatch match = MatchOne(running, moved);
    EXPECT_EQ(match.configured[0], 0u);
    std::vector<JobBindings> all{BindingsOf(moved.job, moved.fields)};
    all.insert(all.end(), match.rest.begin(), match.rest.end());
    const ConflictReport report = FindConflicts(all, 100, 1);
    ASSERT_FALSE(report.listed.empty());
    const Conflict& conflict = report.listed.front();
    const std::size_t k = conflict.second - 1;
    EXPECT_EQ(RunningLineOf(match.rest[k], match.origins[k], conflict), 5u); // 0/9 port 0
}

TEST(Running, LinesThatAreNotThePagesAreIgnoredOrRefused) {
    const std::string good = "pvc lan 0/5 vlanid 200 off atm 0/7/0 optic 1 40 1 1 000 000";
    struct Case {
        std::string line;
        RunningLineKind kind;
        const char* why;
    };
    const Case cases[] = {
        {"", RunningLineKind::Other, ""},
        {"  \t ", RunningLineKind::Other, ""},
        {"hostname shelf-0", RunningLineKind::Other, ""},
        {"no pvc lan 0/5 vlanid 200", RunningLineKind::Other, ""},
        {"pvcs are below", RunningLineKind::Other, ""},
        {std::string("\0\xff\x01pvc", 6), RunningLineKind::Other, ""},
        {"  " + good + "  \r", RunningLineKind::Pvc, ""},
        {"pvc  lan\t0/5 vlanid 200   off atm 0/7/0 optic 1 40 1 1 000 000\r", RunningLineKind::Pvc,
         ""},
        // An empty copied field, as the pages write it: two blanks in a row.
        {"pvc lan 0/5 vlanid 200 off atm 0/7/0 optic  40 1 1 000 000", RunningLineKind::Pvc, ""},
        {"pvc", RunningLineKind::Unknown, "no page"},
        {"pvc lan 0/5", RunningLineKind::Unknown, "no page"},
        {good + " extra", RunningLineKind::Unknown, "no page"},
        {"pvc lan x/5 vlanid 200 off atm 0/7/0 optic 1 40 1 1 000 000", RunningLineKind::Unknown,
         "no page"},
        {"pvc lan 0/5 vlanid 99999999999999999999 off atm 0/7/0 optic 1 40 1 1 000 000",
         RunningLineKind::Unknown, "64 bits"},
        {"pvc lan 0/5 vlanid 200 off atm 0/7/0 optic 1 40 " + std::string(5000, '1'),
         RunningLineKind::Unknown, "longer than"},
        {"pvc lan 0/5 vlanid 200 off atm 0/7/0 optic 1 40 1 1 000 \xff\x00"
         "0",
         RunningLineKind::Pvc, ""},
    };
    for (const Case& c : cases) {
        RunningConfig running;
        std::string why;
        EXPECT_EQ(running.Add(0, 1, c.line, &why), c.kind) << c.line;
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
}

TEST(Running, RunsFollowTheLinesAsWritten) {
    const std::string a = "pvc lan 0/5 vlanid 200 off atm 0/7/0 optic 1 40 1 1 000 000";
    const std::string b = "pvc lan 0/5 vlanid 201 off atm 0/7/0 optic 1 41 1 1 000 000";
    const std::string c = "pvc lan 0/5 vlanid 202 off atm 0/7/0 optic 1 42 1 1 000 000";
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::size_t runs;
    };
    const Case cases[] = {
        {"in order", {a, b, c}, 1},
        {"a line between", {a, b, "!", c}, 2},
        {"in reverse", {c, b, a}, 3},
        {"one line twice", {a, a}, 2},
    };
    for (const Case& k : cases) {
        RunningConfig running;
        std::string why;
        for (std::size_t i = 0; i < k.lines.size(); ++i)
            running.Add(0, i + 1, k.lines[i], &why);
        EXPECT_EQ(running.runs().size(), k.runs) << k.what;
    }
}

} // namespace
} // namespace zd7240
