#include "chassiswalk.h"

namespace zd7240 {

namespace {
bool InRange(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v >= lo && v <= hi;
}
} // namespace

std::int32_t ChassisEndValue(const ChassisInputs& in) {
    const std::int32_t b1 = in.startBoard, s1 = in.startSlot, b2 = in.endBoard, s2 = in.endSlot;
    const std::int32_t n = in.portCount, v0 = in.startValue;
    std::int32_t cards;
    if (b2 == b1) {
        // A range from slots 0..6 to 9..255 steps over slots 7 and 8.
        const bool crosses = InRange(s1, 0, 6) && InRange(s2, 9, 255);
        cards = crosses ? Sub32(Sub32(s2, s1), 1) : Add32(Sub32(s2, s1), 1);
    } else {
        const std::int32_t first = InRange(s1, 0, 6) ? Sub32(14, s1) : Sub32(16, s1);
        const std::int32_t last = InRange(s2, 9, 255) ? Sub32(s2, 1) : Add32(s2, 1);
        // Every whole board between holds 14 cards (16 slots less 7 and 8).
        const std::int32_t between = Mul32(Sub32(Sub32(b2, b1), 1), 14);
        cards = Add32(Add32(first, last), between);
    }
    return Sub32(Add32(Mul32(cards, n), v0), 1);
}

} // namespace zd7240
