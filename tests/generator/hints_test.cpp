// Sanity hints at their boundaries, per field rule and over the walk.

#include "hints.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "frame.h"

namespace zd7240 {
namespace {

TEST(Hints, FieldRulesAtTheirBoundaries) {
    struct Case {
        FieldHint hint;
        const char* value;
        bool warns;
    };
    const Case cases[] = {
        {FieldHint::VlanId, "0", true},
        {FieldHint::VlanId, "1", false},
        {FieldHint::VlanId, "4094", false},
        {FieldHint::VlanId, "4095", true},
        {FieldHint::VlanId, "0004094", false},
        {FieldHint::Vpi, "255", false},
        {FieldHint::Vpi, "256", true},
        {FieldHint::Vpi, "000", false},
        {FieldHint::Vpi, "99999999999999999999999", true}, // beyond 64 bits
        {FieldHint::Vci, "31", true},
        {FieldHint::Vci, "32", false},
        {FieldHint::Vci, "65535", false},
        {FieldHint::Vci, "65536", true},
        {FieldHint::Vci, "-16", true}, // a computed End value
        {FieldHint::ChassisSlot, "6", false},
        {FieldHint::ChassisSlot, "7", true},
        {FieldHint::ChassisSlot, "8", true},
        {FieldHint::ChassisSlot, "9", false},
        {FieldHint::PortCount, "0", true},
        {FieldHint::PortCount, "00", true},
        {FieldHint::PortCount, "1", false},
        {FieldHint::None, "4095", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(!HintFor(c.hint, c.value).empty(), c.warns) << HintFor(c.hint, c.value);
    }
    EXPECT_EQ(HintFor(FieldHint::VlanId, "04095"), "VLAN id 4095 is outside 1..4094");
}

std::vector<std::string>
HintsOf(const char* slug, std::initializer_list<std::pair<const char*, const char*>> values) {
    const PageTable& page = *FindPage(slug);
    test::MapFields fields(page);
    fields.Set(values, page);
    Job job(page, fields);
    job.SelectFormat(fields);
    std::vector<std::string> out;
    for (const SanityHint& h : SanityHints(job, fields))
        out.push_back(std::string(h.field->key) + ": " + h.text);
    return out;
}

TEST(Hints, WalkHintsNameTheEndField) {
    // A clean job has none.
    EXPECT_TRUE(HintsOf("lan-mmx", {{"lan-board", "0"},
                                    {"lan-slot", "5"},
                                    {"start-vlan", "100"},
                                    {"end-vlan", "103"},
                                    {"vpi", "1"},
                                    {"start-vci", "40"}})
                    .empty());
    // A range that runs backwards names its own two fields, not the End field computed
    // from them (which is then not judged by its own rule).
    EXPECT_EQ(HintsOf("lan-mmx", {{"lan-board", "0"},
                                  {"lan-slot", "5"},
                                  {"start-vlan", "163"},
                                  {"end-vlan", "100"},
                                  {"vpi", "1"},
                                  {"start-vci", "40"}}),
              std::vector<std::string>{
                  "start-vlan: start-vlan 163 is above end-vlan 100: the walk writes no line"});
    // So does a chassis walk that ends before it starts on its board.
    EXPECT_EQ(HintsOf("adsl-mmx", {{"start-board", "0"},
                                   {"start-slot", "9"},
                                   {"end-board", "0"},
                                   {"end-slot", "6"},
                                   {"mmx-vpi", "1"},
                                   {"start-vci", "200"}}),
              std::vector<std::string>{"start-board: start-board/start-slot 0/9 is after "
                                       "end-board/end-slot 0/6: the walk writes no line"});
    // No line for another reason: the End field.
    EXPECT_EQ(HintsOf("lan-mmx", {{"lan-board", "0"},
                                  {"lan-slot", "5"},
                                  {"start-vlan", "100"},
                                  {"end-vlan", "103"},
                                  {"vpi", "1"},
                                  {"start-vci", "40"},
                                  {"card-type", "-1"}}),
              std::vector<std::string>{"end-vci: the walk writes no line: the file will be empty"});
    // An End value of exactly 2147483647 has not wrapped.
    const auto wrapped = HintsOf("aiu-mmx", {{"aiu-board", "0"},
                                             {"aiu-slot", "3"},
                                             {"aiu-port", "0"},
                                             {"aiu-vpi", "1"},
                                             {"aiu-start-vci", "40"},
                                             {"aiu-end-vci", "40"},
                                             {"mmx-vpi", "1"},
                                             {"mmx-start-vci", "2147483647"}});
    const std::vector<std::string> atLimit = {"mmx-start-vci: VCI 2147483647 is above 65535",
                                              "mmx-end-vci: VCI 2147483647 is above 65535"};
    EXPECT_EQ(wrapped, atLimit);
    const auto chassis = HintsOf("adsl-lan", {{"start-board", "0"},
                                              {"start-slot", "7"},
                                              {"end-board", "0"},
                                              {"end-slot", "9"},
                                              {"port-number", "1"},
                                              {"lan-board", "0"},
                                              {"lan-slot", "5"},
                                              {"start-vlan", "2147483647"}});
    const std::vector<std::string> expected = {
        "start-slot: slot 7 holds no subscriber card: the walk writes no line for it, the End "
        "value counts it",
        "start-vlan: VLAN id 2147483647 is outside 1..4094",
        "end-vlan: VLAN id -2147483647 is outside 1..4094",
        "end-vlan: the End value wrapped past 2147483647: it would be 2147483649, the page "
        "shows -2147483647",
    };
    EXPECT_EQ(chassis, expected);
    // The formula stays in range (an end board below the start board) while the walk's
    // counter goes past it.
    const auto counter = HintsOf("adsl-mmx", {{"start-board", "3"},
                                              {"start-slot", "2"},
                                              {"end-board", "1"},
                                              {"end-slot", "4"},
                                              {"port-number", "1"},
                                              {"mmx-vpi", "1"},
                                              {"start-vci", "2147483637"}});
    EXPECT_EQ(counter.back(), "end-vci: the counter wraps past 2147483647 after 11 lines and "
                              "goes on from -2147483648");
}

} // namespace
} // namespace zd7240
