#include "int32text.h"

#include <gtest/gtest.h>

#include <climits>

namespace zd7240 {
namespace {

TEST(IsAllDigits, AcceptsOnlyNonEmptyDecimalDigits) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"0", true},    {"007", true}, {"000", true},  {"2147483648", true}, {"", false},
        {" 5", false},  {"5 ", false}, {"1 2", false}, {"+5", false},        {"-5", false},
        {"5.0", false}, {"5a", false}, {"\t", false},  {"\xd9\xa3", false}, // an Arabic-Indic digit
                                                                            // is not a decimal
                                                                            // digit here
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAllDigits(c.text), c.ok) << '"' << c.text << '"';
}

TEST(ToInt32, ConvertsUpToTheSigned32BitLimit) {
    EXPECT_EQ(ToInt32("0"), 0);
    EXPECT_EQ(ToInt32("007"), 7);
    EXPECT_EQ(ToInt32("035"), 35);
    EXPECT_EQ(ToInt32("2147483647"), INT32_MAX);
    EXPECT_EQ(ToInt32("0000000000002147483647"), INT32_MAX);
}

TEST(ToInt32, RefusesLargerValuesWithTheFieldText) {
    for (const char* text :
         {"2147483648", "4294967296", "99999999999", "99999999999999999999999"}) {
        try {
            ToInt32(text);
            ADD_FAILURE() << text << " converted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(Int32Arithmetic, WrapsAroundLikeTwosComplement) {
    EXPECT_EQ(Add32(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(Sub32(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(Mul32(65536, 65536), 0);
    EXPECT_EQ(Mul32(2147483647, 14), -14);
    EXPECT_EQ(FormatInt32(-16), "-16");
    EXPECT_EQ(FormatInt32(INT32_MIN), "-2147483648");
    EXPECT_EQ(FormatInt32(0), "0");
}

} // namespace
} // namespace zd7240
