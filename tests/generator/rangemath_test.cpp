// The summary computed from the ranges against the real walk: every small chassis and
// range walk, including counters that wrap at 2147483647, and sizes no walk could visit.

#include "rangemath.h"

#include <gtest/gtest.h>

#include <climits>

#include "fakes.h"

namespace zd7240 {
namespace {

struct Walked {
    LineCount lines = 0;
    StepValues first{}, last{};
};

Walked WalkChassis(const ChassisInputs& in) {
    Walked w;
    ForEachChassisPort(in, [&](const ChassisStep& s) {
        StepValues v;
        v.board = s.board;
        v.slot = s.slot;
        v.port = s.port;
        v.counter = s.counter;
        if (w.lines == 0)
            w.first = v;
        w.last = v;
        ++w.lines;
        return true;
    });
    return w;
}

void ExpectSame(const WalkSummary& s, const Walked& w) {
    ASSERT_TRUE(s.lines == w.lines) << FormatLineCount(s.lines) << " " << FormatLineCount(w.lines);
    if (w.lines == 0)
        return;
    for (auto [a, b] : {std::pair{s.first, w.first}, std::pair{s.last, w.last}}) {
        EXPECT_EQ(a.board, b.board);
        EXPECT_EQ(a.slot, b.slot);
        EXPECT_EQ(a.port, b.port);
        EXPECT_EQ(a.step, b.step);
        EXPECT_EQ(a.counter, b.counter);
    }
}

TEST(RangeMath, ChassisSummaryMatchesTheWalk) {
    const int slots[] = {0, 1, 5, 6, 7, 8, 9, 10, 14, 15, 16, 18};
    for (int b1 = 0; b1 <= 3; ++b1)
        for (int b2 = 0; b2 <= 3; ++b2)
            for (int s1 : slots)
                for (int s2 : slots)
                    for (int n : {0, 1, 3})
                        for (std::int32_t v0 : {0, 35, INT_MAX - 20}) {
                            const ChassisInputs in{b1, s1, b2, s2, n, v0};
                            SCOPED_TRACE(testing::Message()
                                         << b1 << "/" << s1 << " to " << b2 << "/" << s2
                                         << " n=" << n << " v0=" << v0);
                            ExpectSame(SummarizeChassis(in), WalkChassis(in));
                        }
}

TEST(RangeMath, RangeSummaryMatchesTheWalk) {
    for (std::int32_t start : {0, 5, 100})
        for (std::int32_t end : {0, 4, 5, 6, 100, 130})
            for (std::int32_t counter : {0, 40, INT_MAX - 3, INT_MAX}) {
                Walked w;
                std::int32_t c = counter;
                for (std::int64_t step = start; step <= end; ++step) {
                    StepValues v;
                    v.step = step;
                    v.counter = c;
                    if (w.lines == 0)
                        w.first = v;
                    w.last = v;
                    ++w.lines;
                    c = Add32(c, 1);
                }
                SCOPED_TRACE(testing::Message() << start << ".." << end << " from " << counter);
                ExpectSame(SummarizeRange(start, end, counter), w);
            }
}

TEST(RangeMath, SizesBeyondAnyWalk) {
    // 2,000,000,001 lines of a range walk; the counter wraps once.
    WalkSummary s = SummarizeRange(0, 2000000000, 2000000000);
    EXPECT_EQ(FormatLineCount(s.lines), "2000000001");
    EXPECT_EQ(s.last.step, 2000000000);
    EXPECT_EQ(s.last.counter, Add32(2000000000, 2000000000));
    // Every board a signed 32-bit field can name, 14 cards each, 2147483647 ports a card:
    // more lines than 64 bits hold.
    s = SummarizeChassis({0, 0, INT_MAX, 15, INT_MAX, 0});
    EXPECT_EQ(FormatLineCount(s.lines), "64563604227918659584");
    EXPECT_EQ(s.last.board, INT_MAX);
    EXPECT_EQ(s.last.slot, 15);
    EXPECT_EQ(s.last.port, INT_MAX - 1);
    // lines - 1 modulo 2^32, added to 0.
    EXPECT_EQ(s.last.counter, CounterAfter(0, s.lines - 1));
}

TEST(RangeMath, CardTypesThatSelectNoFormatGiveNoLines) {
    const PageTable& page = *FindPage("lan-mmx");
    test::MapFields fields(page);
    fields.Set({{"lan-board", "0"},
                {"lan-slot", "5"},
                {"start-vlan", "1"},
                {"end-vlan", "9"},
                {"vpi", "1"},
                {"start-vci", "40"},
                {"card-type", "-1"}},
               page);
    Job job(page, fields);
    job.SelectFormat(fields);
    EXPECT_TRUE(Summarize(job).lines == 0);
}

} // namespace
} // namespace zd7240
