// Number fields of the converter's text formats: the fast path must round
// exactly as a full decimal conversion does.
#include "TextFields.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <random>
#include <string>

namespace ra7 {
namespace {

float reference(const std::string& text)
{
    float value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

TEST(TextFieldsTest, FastPathRoundsLikeAFullConversion)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::uint32_t> mantissas(0, 9999999);
    std::uniform_int_distribution<int> decimals(0, 10);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t m = mantissas(random);
        const int d = decimals(random);
        std::string text = std::to_string(m);
        if (d > 0) {
            if (static_cast<int>(text.size()) <= d)
                text.insert(0, static_cast<std::size_t>(d) - text.size() + 1, '0');
            text.insert(text.size() - static_cast<std::size_t>(d), ".");
        }
        if (i % 2)
            text.insert(0, "-");
        float value = 0;
        ASSERT_TRUE(parseNumberField(text, value)) << text;
        ASSERT_EQ(value, reference(text)) << text;
    }
}

TEST(TextFieldsTest, AcceptsTheUsualFormsAndRefusesTheRest)
{
    float value = 0;
    for (const auto& [text, expected] :
         std::initializer_list<std::pair<const char*, float>>{{"0", 0.0f},
                                                              {"-0.5", -0.5f},
                                                              {"12.", 12.0f},
                                                              {".25", 0.25f},
                                                              {"+3", 3.0f},
                                                              {"1,5", 1.5f},
                                                              {"1e3", 1000.0f},
                                                              {"-2.5E-1", -0.25f},
                                                              {"123456789.5", 123456789.5f},
                                                              {"0.00000000001", 1e-11f}}) {
        ASSERT_TRUE(parseNumberField(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text :
         {"", "-", ".", "-.", "1.2.3", "1-", "abc", "inf", "nan", "1e39", "0x1p3", "1 2", "--1"})
        EXPECT_FALSE(parseNumberField(text, value)) << text;
}

} // namespace
} // namespace ra7
