#pragma once
// The walks summed up from their ranges, without visiting a line: how many lines a job
// writes and the values of its first and last line. A job of two billion lines is
// answered as fast as one of ten, with the same 32-bit counter wrap as the walk.

#include <cstdint>
#include <string>
#include <vector>

#include "chassiswalk.h"
#include "linerenderer.h"

namespace zd7240 {

class Job;

// Line counts go beyond 64 bits: 2^31 boards of 14 cards of 2^31 ports each.
__extension__ typedef unsigned __int128 LineCount;
__extension__ typedef __int128 WideInt;

std::string FormatLineCount(LineCount count);

// A rectangle of subscriber cards: boards boardFirst..boardLast, on each the slots
// slotFirst..slotLast less 7 and 8, visited board by board, slot by slot.
struct CardBlock {
    std::int64_t boardFirst;
    std::int64_t boardLast;
    std::int64_t slotFirst;
    std::int64_t slotLast;
};

// Subscriber cards among slots from..to of one board (slots 7 and 8 hold none).
std::int64_t CardsInSlots(std::int64_t from, std::int64_t to);

// The cards of a chassis walk as at most three blocks in walk order; blocks without a
// card are left out.
std::vector<CardBlock> ChassisBlocks(const ChassisInputs& in);

struct WalkSummary {
    LineCount lines = 0;
    StepValues first{}; // meaningful when lines > 0
    StepValues last{};
};

WalkSummary SummarizeChassis(const ChassisInputs& in);
// A range walk: step values start..end, the counter from counterStart.
WalkSummary SummarizeRange(std::int32_t start, std::int32_t end, std::int32_t counterStart);
// The job's walk; no lines when its card types select no line format. Expects
// Job::SelectFormat to have been called.
WalkSummary Summarize(const Job& job);

// The counter after `lines` lines from `start`, wrapped to 32 bits as the walk does.
std::int32_t CounterAfter(std::int32_t start, LineCount lines);

} // namespace zd7240
