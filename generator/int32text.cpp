#include "int32text.h"

#include <charconv>
#include <limits>

namespace zd7240 {

bool IsAllDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value"), text_(text) {}

std::int32_t ToInt32(std::string_view digits) {
    if (!IsAllDigits(digits))
        throw ConversionError(digits);
    std::uint64_t value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            throw ConversionError(digits);
    }
    return static_cast<std::int32_t>(value);
}

std::string FormatInt32(std::int32_t value) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return std::string(buf, end);
}

} // namespace zd7240
