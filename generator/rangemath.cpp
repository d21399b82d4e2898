#include "rangemath.h"

#include <algorithm>

#include "frame.h"

namespace zd7240 {

namespace {

std::int64_t FirstCardSlot(std::int64_t from) {
    return IsSkippedSlot(from) ? 9 : from;
}

std::int64_t LastCardSlot(std::int64_t to) {
    return IsSkippedSlot(to) ? 6 : to;
}

} // namespace

std::string FormatLineCount(LineCount count) {
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(count % 10)));
        count /= 10;
    } while (count > 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::int64_t CardsInSlots(std::int64_t from, std::int64_t to) {
    if (to < from)
        return 0;
    std::int64_t cards = to - from + 1;
    for (std::int64_t skipped : {7, 8}) {
        if (from <= skipped && skipped <= to)
            --cards;
    }
    return cards;
}

std::vector<CardBlock> ChassisBlocks(const ChassisInputs& in) {
    const std::int64_t b1 = in.startBoard, b2 = in.endBoard;
    std::vector<CardBlock> blocks;
    if (b1 == b2) {
        blocks.push_back({b1, b1, in.startSlot, in.endSlot});
    } else {
        blocks.push_back({b1, b1, in.startSlot, 15});
        if (b2 - b1 - 1 > 0)
            blocks.push_back({b1 + 1, b2 - 1, 0, 15});
        blocks.push_back({b2, b2, 0, in.endSlot});
    }
    std::erase_if(blocks, [](const CardBlock& b) {
        return b.boardLast < b.boardFirst || CardsInSlots(b.slotFirst, b.slotLast) == 0;
    });
    return blocks;
}

std::int32_t CounterAfter(std::int32_t start, LineCount lines) {
    return Add32(start, static_cast<std::int32_t>(static_cast<std::uint32_t>(lines)));
}

WalkSummary SummarizeChassis(const ChassisInputs& in) {
    WalkSummary summary;
    if (in.portCount <= 0)
        return summary;
    const std::vector<CardBlock> blocks = ChassisBlocks(in);
    if (blocks.empty())
        return summary;
    LineCount cards = 0;
    for (const CardBlock& b : blocks) {
        cards += static_cast<LineCount>(b.boardLast - b.boardFirst + 1) *
                 static_cast<LineCount>(CardsInSlots(b.slotFirst, b.slotLast));
    }
    summary.lines = cards * static_cast<LineCount>(in.portCount);
    summary.first.board = blocks.front().boardFirst;
    summary.first.slot = FirstCardSlot(blocks.front().slotFirst);
    summary.first.port = 0;
    summary.first.counter = in.startValue;
    summary.last.board = blocks.back().boardLast;
    summary.last.slot = LastCardSlot(blocks.back().slotLast);
    summary.last.port = in.portCount - 1;
    summary.last.counter = CounterAfter(in.startValue, summary.lines - 1);
    return summary;
}

WalkSummary SummarizeRange(std::int32_t start, std::int32_t end, std::int32_t counterStart) {
    WalkSummary summary;
    if (end < start)
        return summary;
    summary.lines = static_cast<LineCount>(std::int64_t{end} - start) + 1;
    summary.first.step = start;
    summary.first.counter = counterStart;
    summary.last.step = end;
    summary.last.counter = CounterAfter(counterStart, summary.lines - 1);
    return summary;
}

WalkSummary Summarize(const Job& job) {
    if (job.format() < 0)
        return {};
    if (job.page().walk == WalkKind::Chassis)
        return SummarizeChassis(job.chassis());
    return SummarizeRange(job.rangeStart(), job.rangeEnd(), job.counterStart());
}

} // namespace zd7240
