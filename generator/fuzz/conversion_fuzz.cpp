// Fuzzes the field check and conversion: whatever the text, IsAllDigits and ToInt32
// agree with a plain reading of the digits, and nothing crashes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "int32text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool digits = zd7240::IsAllDigits(text);
    unsigned long long value = 0;
    bool fits = digits;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 2147483647ull) {
            fits = false;
            break;
        }
    }
    try {
        const std::int32_t converted = zd7240::ToInt32(text);
        if (!fits || static_cast<unsigned long long>(converted) != value)
            std::abort();
        if (zd7240::FormatInt32(converted) != std::to_string(value))
            std::abort();
    } catch (const zd7240::ConversionError&) {
        if (fits)
            std::abort();
    }
    return 0;
}
