#include "runtime/TextCodec.h"

#include <iconv.h>

#include <gtest/gtest.h>

namespace ra7 {
namespace {

// The system's own converter is an independent witness for the code page.
std::string iconvToUtf8(const std::string& cp1251)
{
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)); // NOLINT(performance-no-int-to-ptr): iconv's error value
    std::string in = cp1251;
    std::string out(in.size() * 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1))
        return "<iconv failed>";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(TextCodec, EveryCodePageByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1251ToUtf8(all);
    EXPECT_EQ(utf8ToCp1251(utf8), all);
    EXPECT_EQ(utf8Length(utf8), 256u);
}

TEST(TextCodec, AgreesWithTheSystemConverterOnEveryAssignedByte)
{
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) // unassigned in the code page; iconv refuses it
            continue;
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(cp1251ToUtf8(byte), iconvToUtf8(byte)) << "byte " << b;
    }
}

TEST(TextCodec, RussianTextBecomesOneBytePerLetter)
{
    EXPECT_EQ(utf8ToCp1251("Ёж"), "\xA8\xE6");
    EXPECT_EQ(cp1251ToUtf8("\xCA\xEE\xED\xF1\xEE\xEB\xFC"), "Консоль");
}

TEST(TextCodec, UnrepresentableAndBrokenTextBecomesQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1251("a\xE2\x82\xAC"
                           "b"),
              "a\x88"
              "b"); // the euro sign exists
    EXPECT_EQ(utf8ToCp1251("日本"), "??");
    EXPECT_EQ(utf8ToCp1251("😀"), "?");
    EXPECT_EQ(utf8ToCp1251("\xFF\xC3"), "??");      // invalid lead, truncated sequence
    EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "??");      // overlong encoding of '/'
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "???"); // surrogate
}

TEST(TextCodec, PrefixCountsCharactersNotBytes)
{
    EXPECT_EQ(utf8Prefix("Привет", 3), "При");
    EXPECT_EQ(utf8Prefix("ab", 5), "ab");
    EXPECT_EQ(utf8Prefix("a\xFF"
                         "b",
                         2),
              "a\xFF");
}

TEST(TextCodec, FoldCaseCoversCyrillicAndLatin)
{
    EXPECT_EQ(foldCase("Data\\BOX.Mes"), "data\\box.mes");
    EXPECT_EQ(foldCase("ЁЛКА Ґ Ї"), "ёлка ґ ї");
    EXPECT_EQ(foldCase("ß 日本"), "ß 日本");
}

} // namespace
} // namespace ra7
