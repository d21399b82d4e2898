#include "chassiswalk.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace zd7240 {
namespace {

std::vector<std::string> Walk(const ChassisInputs& in) {
    std::vector<std::string> steps;
    ForEachChassisPort(in, [&](const ChassisStep& s) {
        steps.push_back(std::to_string(s.board) + "/" + std::to_string(s.slot) + "/" +
                        std::to_string(s.port) + "=" + std::to_string(s.counter));
        return true;
    });
    return steps;
}

struct Case {
    const char* name;
    ChassisInputs in; // startBoard, startSlot, endBoard, endSlot, portCount, startValue
    std::int32_t end;
    std::size_t lines;
    const char* first; // "" when no lines
    const char* last;
};

const Case kCases[] = {
    // Ranges that cross slots 7 and 8
    {"boards 0..1, slots 6..1, two ports", {0, 6, 1, 1, 2, 40}, 59, 20, "0/6/0=40", "1/1/1=59"},
    {"one board, slots 5..10, one port", {2, 5, 2, 10, 1, 100}, 103, 4, "2/5/0=100", "2/10/0=103"},
    {"boards 0..2, slot 14 to 0", {0, 14, 2, 0, 1, 50}, 66, 17, "0/14/0=50", "2/0/0=66"},
    {"whole board", {0, 0, 0, 15, 32, 35}, 482, 448, "0/0/0=35", "0/15/31=482"},
    {"two whole boards", {0, 0, 1, 15, 32, 35}, 930, 896, "0/0/0=35", "1/15/31=930"},
    // Single cards
    {"start card equals end card", {3, 4, 3, 4, 5, 10}, 14, 5, "3/4/0=10", "3/4/4=14"},
    // Ranges that start or end on slot 7 or 8: the End formula counts those slots
    {"ends in slot 7", {0, 3, 0, 7, 1, 10}, 14, 4, "0/3/0=10", "0/6/0=13"},
    {"ends in slot 8", {0, 3, 0, 8, 1, 10}, 15, 4, "0/3/0=10", "0/6/0=13"},
    {"starts in slot 7", {0, 7, 0, 10, 1, 10}, 13, 2, "0/9/0=10", "0/10/0=11"},
    // Ranges that yield no lines
    {"end slot below start slot", {0, 5, 0, 3, 2, 40}, 37, 0, "", ""},
    {"port count zero", {0, 0, 1, 15, 0, 40}, 39, 0, "", ""},
    // End board below start board: first board to its end, then the end board from 0
    {"end board below start board", {3, 2, 1, 4, 1, 10}, -16, 17, "3/2/0=10", "1/4/0=26"},
    // Slots beyond 15 are walked on the last board, skipped on the first
    {"start slot above 15", {0, 20, 1, 1, 1, 5}, 2, 2, "1/0/0=5", "1/1/0=6"},
    {"end slot above 15", {0, 14, 1, 17, 1, 5}, 22, 18, "0/14/0=5", "1/17/0=22"},
};

TEST(ChassisWalk, WorkedRanges) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChassisEndValue(c.in), c.end);
        const auto steps = Walk(c.in);
        EXPECT_EQ(steps.size(), c.lines);
        if (!steps.empty()) {
            EXPECT_EQ(steps.front(), c.first);
            EXPECT_EQ(steps.back(), c.last);
        }
    }
}

TEST(ChassisWalk, VisitsSlotsInOrderSkippingSevenAndEight) {
    const auto steps = Walk({0, 6, 1, 1, 1, 40});
    const std::vector<std::string> expected = {"0/6/0=40",  "0/9/0=41",  "0/10/0=42", "0/11/0=43",
                                               "0/12/0=44", "0/13/0=45", "0/14/0=46", "0/15/0=47",
                                               "1/0/0=48",  "1/1/0=49"};
    EXPECT_EQ(steps, expected);
}

// For every well-formed range (slots 0..6 or 9..15, end after start) the End value is
// the counter of the last line.
TEST(ChassisWalk, EndValueIsTheLastCounterForWellFormedRanges) {
    const int slots[] = {0, 1, 5, 6, 9, 10, 14, 15};
    for (int b2 = 0; b2 <= 2; ++b2)
        for (int s1 : slots)
            for (int s2 : slots)
                for (int n : {1, 3}) {
                    const ChassisInputs in{0, s1, b2, s2, n, 100};
                    if (b2 == 0 && s2 < s1)
                        continue;
                    SCOPED_TRACE(testing::Message() << "boards 0.." << b2 << ", slots " << s1
                                                    << ".." << s2 << ", " << n << " ports");
                    std::int32_t last = 0;
                    std::size_t count = 0;
                    ForEachChassisPort(in, [&](const ChassisStep& s) {
                        last = s.counter;
                        ++count;
                        return true;
                    });
                    EXPECT_GT(count, 0u);
                    EXPECT_EQ(ChassisEndValue(in), last);
                    EXPECT_EQ(last, 100 + static_cast<std::int32_t>(count) - 1);
                }
}

TEST(ChassisWalk, CounterAndEndWrapAt32Bits) {
    const ChassisInputs in{0, 0, 0, 0, 3, INT32_MAX};
    const auto steps = Walk(in);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[1], "0/0/1=-2147483648");
    EXPECT_EQ(ChassisEndValue(in), INT32_MIN + 1);
    // A card count times a large port count wraps too
    EXPECT_EQ(
        ChassisEndValue({0, 0, 2147483647, 15, 2147483647, 0}),
        static_cast<std::int32_t>(
            static_cast<std::uint32_t>(14u + 14u + (2147483647u - 1u) * 14u) * 2147483647u - 1u));
}

TEST(ChassisWalk, HugeSlotAndBoardNumbersTerminateAndStopOnRequest) {
    // End slot at the 32-bit limit must neither overflow nor loop forever: stop after
    // a few lines, as a cancelled job does.
    int seen = 0;
    const bool completed =
        ForEachChassisPort({0, 2147483000, 0, INT32_MAX, 1, 0}, [&](const ChassisStep& s) {
            EXPECT_GE(s.slot, 2147483000);
            return ++seen < 100;
        });
    EXPECT_FALSE(completed);
    EXPECT_EQ(seen, 100);
    // The last slot is INT32_MAX itself, and the walk ends there.
    std::int64_t lastSlot = 0;
    EXPECT_TRUE(
        ForEachChassisPort({0, INT32_MAX - 1, 0, INT32_MAX, 1, 0}, [&](const ChassisStep& s) {
            lastSlot = s.slot;
            return true;
        }));
    EXPECT_EQ(lastSlot, INT32_MAX);
}

} // namespace
} // namespace zd7240
