#pragma once
// Field text and 32-bit integer helpers shared by every page: the input check,
// the conversion of a checked field, wrap-around arithmetic and decimal output.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zd7240 {

// A text passes when it is non-empty and every character is one of '0'..'9'.
bool IsAllDigits(std::string_view text);

// Raised when a digits-only text does not fit a signed 32-bit integer.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Converts a text that passed IsAllDigits; leading zeros are accepted.
// Throws ConversionError ("'%s' is not a valid integer value") above 2147483647.
std::int32_t ToInt32(std::string_view digits);

// Two's-complement arithmetic on 32 bits, as the program's counters use it.
constexpr std::int32_t Add32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Sub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Mul32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Decimal text without leading zeros, "-" in front when negative.
std::string FormatInt32(std::int32_t value);

} // namespace zd7240
