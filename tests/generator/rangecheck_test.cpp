// Range checks: overlapping and touching ranges on every kind of endpoint, the 32-bit
// wrap, and chassis walks around slots 7 and 8.

#include "rangecheck.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "frame.h"

namespace zd7240 {
namespace {

using Values = std::vector<std::pair<const char*, const char*>>;

struct JobInput {
    const char* slug;
    Values values;
};

JobBindings Bind(const JobInput& input) {
    const PageTable& page = *FindPage(input.slug);
    test::MapFields fields(page);
    for (auto [key, value] : input.values) {
        if (const FieldRow* f = FindField(page, key))
            fields.texts[std::string(f->name)] = value;
        else
            fields.indices[std::string(FindSelector(page, key)->name)] = std::stoi(value);
    }
    Job job(page, fields);
    job.SelectFormat(fields);
    return BindingsOf(job, fields);
}

std::vector<std::string> Conflicts(const std::vector<JobInput>& inputs) {
    std::vector<JobBindings> jobs;
    for (const JobInput& input : inputs)
        jobs.push_back(Bind(input));
    std::vector<std::string> out;
    for (const Conflict& c : FindConflicts(jobs).listed)
        out.push_back(std::to_string(c.first + 1) + "-" + std::to_string(c.second + 1) + ": " +
                      c.endpoint);
    return out;
}

JobInput LanMmx(const char* lanSlot, const char* startVlan, const char* endVlan,
                const char* startVci, const char* cardType = "0") {
    return {"lan-mmx",
            {{"lan-board", "0"},
             {"lan-slot", lanSlot},
             {"start-vlan", startVlan},
             {"end-vlan", endVlan},
             {"vpi", "1"},
             {"start-vci", startVci},
             {"card-type", cardType}}};
}

JobInput AdslMmx(const char* b1, const char* s1, const char* b2, const char* s2, const char* ports,
                 const char* startVci, const char* modemVci = "35") {
    return {"adsl-mmx",
            {{"start-board", b1},
             {"start-slot", s1},
             {"end-board", b2},
             {"end-slot", s2},
             {"port-number", ports},
             {"modem-vci", modemVci},
             {"mmx-vpi", "2"},
             {"start-vci", startVci}}};
}

TEST(RangeCheck, OverlappingAndTouchingRanges) {
    struct Case {
        const char* name;
        std::vector<JobInput> jobs;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"adjacent VLAN and VCI ranges",
         {LanMmx("5", "100", "163", "40"), LanMmx("5", "164", "200", "104")},
         {}},
        {"VLAN ranges overlap on one Lan card, VCIs apart",
         {LanMmx("5", "100", "163", "40"), LanMmx("5", "163", "170", "1000")},
         {"1-2: VLAN id 163 on Lan card 0/5"}},
        {"same VLAN ids on another Lan card",
         {LanMmx("5", "100", "163", "40"), LanMmx("6", "100", "163", "1000")},
         {}},
        {"far-side VCIs overlap; the first common VCI in the first job's order",
         {LanMmx("5", "100", "163", "40"), LanMmx("6", "100", "163", "90")},
         {"1-2: VPI 1 VCI 90 on card 0/7 port 0"}},
        {"optical port 0 and IMA group 0 are different endpoints",
         {LanMmx("5", "100", "163", "40"), LanMmx("6", "100", "163", "40", "1")},
         {}},
        {"leading zeros name the same card",
         {LanMmx("5", "100", "163", "40"), LanMmx("005", "150", "150", "1000")},
         {"1-2: VLAN id 150 on Lan card 0/5"}},
        {"Adsl--Lan VLAN counter against a Lan--Mmx VLAN range",
         {{"adsl-lan",
           {{"start-board", "0"},
            {"start-slot", "0"},
            {"end-board", "0"},
            {"end-slot", "1"},
            {"port-number", "32"},
            {"lan-board", "0"},
            {"lan-slot", "5"},
            {"start-vlan", "100"}}},
          LanMmx("5", "131", "131", "5000")},
         {"1-2: VLAN id 131 on Lan card 0/5"}},
        {"ADSL ports overlap across jobs with the same modem VPI/VCI",
         {AdslMmx("0", "0", "0", "6", "32", "40"), AdslMmx("0", "6", "1", "2", "32", "1000")},
         {"1-2: VPI 0 VCI 35 on card 0/6 port 0"}},
        {"the same ports with another modem VCI",
         {AdslMmx("0", "0", "0", "6", "32", "40"), AdslMmx("0", "6", "1", "2", "32", "1000", "36")},
         {}},
        {"chassis walks meeting only on slots 7 and 8 do not overlap",
         {AdslMmx("0", "0", "0", "8", "4", "40"), AdslMmx("0", "7", "0", "15", "4", "1000")},
         {}},
        {"chassis walk crossing 7/8 meets one starting on 7 at slot 9",
         {AdslMmx("0", "0", "0", "15", "4", "40"), AdslMmx("0", "7", "0", "9", "4", "1000")},
         {"1-2: VPI 0 VCI 35 on card 0/9 port 0"}},
        {"an end board below the start board, against the boards it skips",
         {AdslMmx("3", "2", "1", "4", "1", "40"), AdslMmx("2", "0", "2", "15", "1", "1000")},
         {}},
        {"far side of a chassis walk: VCIs touch but do not overlap",
         {AdslMmx("0", "0", "0", "0", "32", "40"), AdslMmx("1", "0", "1", "0", "32", "72")},
         {}},
        {"far side of a chassis walk: one VCI in common",
         {AdslMmx("0", "0", "0", "0", "32", "40"), AdslMmx("1", "0", "1", "0", "32", "71")},
         {"1-2: VPI 2 VCI 71 on card 0/7 port 0"}},
        {"a counter wrapping past 2147483647 meets a job that ends on it",
         {LanMmx("5", "1", "10", "2147483645"),
          {"aiu-mmx",
           {{"aiu-board", "0"},
            {"aiu-slot", "7"},
            {"aiu-port", "0"},
            {"aiu-vpi", "1"},
            {"aiu-start-vci", "0"},
            {"aiu-end-vci", "0"},
            {"mmx-board", "0"},
            {"mmx-slot", "7"},
            {"mmx-port", "0"},
            {"mmx-vpi", "1"},
            {"mmx-start-vci", "2147483647"}}}},
         {"1-2: VPI 1 VCI 2147483647 on card 0/7 port 0"}},
        {"the two sides of one Aiu-Mmx job on the same card",
         {{"aiu-mmx",
           {{"aiu-board", "0"},
            {"aiu-slot", "7"},
            {"aiu-port", "0"},
            {"aiu-vpi", "1"},
            {"aiu-start-vci", "50"},
            {"aiu-end-vci", "60"},
            {"mmx-vpi", "1"},
            {"mmx-start-vci", "55"}}}},
         {"1-1: VPI 1 VCI 55 on card 0/7 port 0"}},
        {"a chassis walk of more than 2^32 lines binds its own VCIs twice",
         {AdslMmx("0", "0", "2147483647", "15", "2147483647", "40")},
         {"1-1: VPI 2 VCI 40 on card 0/7 port 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Conflicts(c.jobs), c.expected);
    }
}

TEST(RangeCheck, EveryPairOnceInJobOrder) {
    const auto found =
        Conflicts({LanMmx("5", "100", "199", "40"), LanMmx("6", "1", "9", "5000"),
                   LanMmx("5", "150", "160", "6000"), LanMmx("5", "100", "100", "7000")});
    const std::vector<std::string> expected = {
        "1-3: VLAN id 150 on Lan card 0/5",
        "1-4: VLAN id 100 on Lan card 0/5",
    };
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace zd7240
