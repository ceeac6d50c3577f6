#include "effects/Ka7LensFlareList.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"

#include <gmock/gmock.h>

#include <cstring>

namespace ra7 {
namespace {

using ::testing::HasSubstr;
using LensFlareFile = test::ScratchDirectoryTest;

KaLensFlare flare(const std::string& name, std::int32_t lenses, float distanceScale = 100)
{
    KaLensFlare f;
    f.Name = name;
    f.LensCount = lenses;
    f.DistanceScale = distanceScale;
    for (std::int32_t i = 0; i < lenses; ++i) {
        KaLens& lens = f.Lenses[static_cast<std::size_t>(i)];
        lens.TextureName = "data\\flare" + std::to_string(i) + ".png";
        lens.Color = {0.1f * float(i), 0.5f, 1, 0.25f};
        lens.Pos = 1.5f + float(i);
        lens.Size = 8 + float(i);
    }
    return f;
}

std::vector<std::string> names(KaLensFlareList& list)
{
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i).Name);
    return out;
}

TEST(LensFlare, ANewFlareDrawsNothingAndHasItsDefaults)
{
    const KaLensFlare f;
    EXPECT_EQ(f.Name, "lens1");
    EXPECT_EQ(f.LensCount, 0);
    EXPECT_EQ(f.DistanceScale, 100.0f);
    EXPECT_EQ(f.ScreenPos, kNoScreenPos);
    EXPECT_EQ(f.Lenses[9].Pos, 10.0f);
    EXPECT_EQ(f.Lenses[9].Color[3], 1.0f);
}

TEST(LensFlare, LensesLieOnTheLineThroughTheScreenCentre)
{
    KaLensFlare f = flare("glow", 3);
    f.Lenses[0].Pos = 1;  // mirrored through the centre
    f.Lenses[1].Pos = 2;  // the centre
    f.Lenses[2].Pos = -4; // beyond the source
    f.ScreenPos = {100, 50, 0};
    const auto mirrored = f.LensCentre(0, 800, 600);
    EXPECT_FLOAT_EQ(mirrored[0], 700);
    EXPECT_FLOAT_EQ(mirrored[1], 550);
    const auto centre = f.LensCentre(1, 800, 600);
    EXPECT_FLOAT_EQ(centre[0], 400);
    EXPECT_FLOAT_EQ(centre[1], 300);
    EXPECT_FLOAT_EQ(f.LensCentre(2, 800, 600)[0], 100 - 600.0f / 4);
    // A source at the centre puts every lens there.
    f.ScreenPos = {400, 300, 0};
    for (std::int32_t i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(f.LensCentre(i, 800, 600)[1], 300);
}

TEST(LensFlare, SetAlphaTouchesOnlyLensesInUse)
{
    KaLensFlare f = flare("glow", 2);
    f.SetAlpha(0.5f);
    EXPECT_EQ(f.Lenses[1].Color[3], 0.5f);
    EXPECT_EQ(f.Lenses[2].Color[3], 1.0f);
}

TEST(LensFlareNames, TrailingNumbersAreDroppedBeforeNumbering)
{
    KaLensFlareList list;
    EXPECT_EQ(list.MakeUniqueName("glow_7"), "glow");
    list.AddCopy(flare("glow", 0));
    EXPECT_EQ(list.MakeUniqueName("glow"), "glow_1");
    EXPECT_EQ(list.MakeUniqueName("glow_7"), "glow_1");
    list.AddCopy(flare("glow_1", 0));
    EXPECT_EQ(list.MakeUniqueName("glow"), "glow_2");
    EXPECT_EQ(list.MakeUniqueName("glow_-1"), "glow_2"); // a negative number is a number suffix too
    EXPECT_EQ(list.MakeUniqueName("glow_x"), "glow_x");
    EXPECT_EQ(list.MakeUniqueName("_3"), "");
}

TEST_F(LensFlareFile, SavedFlaresReadBackInTheGivenOrder)
{
    KaLensFlareList list;
    list.AddCopy(flare("a", 0));
    list.AddCopy(flare("b", 1, 50));
    list.AddCopy(flare("c", 10, 7));
    list.SaveToFile("set.kls", {2, 0});
    // tag, count, then: c (tag, name, count, 10 × (name + 4 colour + pos + size + scale)), a (no lenses)
    EXPECT_EQ(test::readFile("set.kls").size(), 8u + (4 + 256 + 4 + 10 * (256 + 28)) + (4 + 256 + 4));

    KaLensFlareList loaded;
    loaded.TakeChanged();
    KaLensFlare* last = loaded.LoadFromFile("SET.kls");
    EXPECT_TRUE(loaded.TakeChanged());
    EXPECT_THAT(names(loaded), ::testing::ElementsAre("c", "a"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Name, "a");
    const KaLensFlare& c = loaded.Get(0);
    EXPECT_EQ(c.LensCount, 10);
    EXPECT_EQ(c.DistanceScale, 7.0f);
    EXPECT_EQ(c.Lenses[9].TextureName, "data\\flare9.png");
    EXPECT_EQ(c.Lenses[9].Size, 17.0f);
    EXPECT_EQ(c.Lenses[3].Color[0], 0.3f);
    // "a" has no lenses and stores no distance scale: it reads back as saved,
    // not with the lenses and scale of the flare read before it.
    const KaLensFlare& a = loaded.Get(1);
    EXPECT_EQ(a.LensCount, 0);
    EXPECT_EQ(a.DistanceScale, 100.0f);
    EXPECT_EQ(a.Lenses[0].TextureName, "");
}

TEST_F(LensFlareFile, EachFlareReadsBackAsSavedWhateverCameBefore)
{
    KaLensFlareList list;
    list.AddCopy(flare("many", 3, 40));
    list.AddCopy(flare("none", 0));
    list.AddCopy(flare("one", 1, 60));
    list.SaveToFile("set.kls", {0, 1, 2});
    KaLensFlareList loaded;
    loaded.LoadFromFile("set.kls");
    ASSERT_EQ(loaded.Count(), 3);
    loaded.SaveToFile("again.kls", {0, 1, 2});
    EXPECT_EQ(test::readFile("again.kls"), test::readFile("set.kls"));
    for (std::int32_t i = 0; i < 3; ++i) {
        const KaLensFlare& want = list.Get(i);
        const KaLensFlare& got = loaded.Get(i);
        EXPECT_EQ(got.DistanceScale, want.DistanceScale) << want.Name;
        for (std::size_t lens = 0; lens < kMaxLenses; ++lens) {
            EXPECT_EQ(got.Lenses[lens].TextureName, want.Lenses[lens].TextureName) << want.Name << lens;
            EXPECT_EQ(got.Lenses[lens].Pos, want.Lenses[lens].Pos) << want.Name << lens;
        }
    }
}

TEST_F(LensFlareFile, LoadedFlaresAreRenamedAgainstTheList)
{
    KaLensFlareList source;
    source.AddCopy(flare("glow", 1));
    source.AddCopy(flare("glow_7", 1));
    source.SaveToFile("glow.kls", {0, 1});

    KaLensFlareList list;
    list.AddCopy(flare("glow", 0));
    list.LoadFromFile("glow.kls");
    EXPECT_THAT(names(list), ::testing::ElementsAre("glow", "glow_1", "glow_2"));

    KaLensFlareList empty;
    KaLensFlareList seven;
    seven.AddCopy(flare("glow_7", 1));
    seven.SaveToFile("seven.kls", {0});
    empty.LoadFromFile("seven.kls");
    EXPECT_THAT(names(empty), ::testing::ElementsAre("glow"));
}

TEST_F(LensFlareFile, SavingABadIndexWritesNothing)
{
    test::writeFile("keep.kls", "old");
    KaLensFlareList list;
    list.AddCopy(flare("a", 0));
    EXPECT_THROW(list.SaveToFile("keep.kls", {0, 1}), Error);
    EXPECT_EQ(test::readFile("keep.kls"), "old");
}

std::string int32Bytes(std::int32_t v)
{
    std::string b(4, '\0');
    std::memcpy(b.data(), &v, 4);
    return b;
}

std::string flareRecord(const std::string& name, std::int32_t lensCount)
{
    return std::string("\x03len", 4) + toShortStringBytes(name) + int32Bytes(lensCount);
}

TEST_F(LensFlareFile, DamagedFilesStopWithTheFlaresReadSoFar)
{
    KaLensFlareList list;
    // Eleven lenses: a range error naming the offset of the count.
    test::writeFile("eleven.kls", std::string("\x03len", 4) + int32Bytes(2) + flareRecord("ok", 0) +
                                      flareRecord("bad", 11) + std::string(4000, '\0'));
    try {
        list.LoadFromFile("eleven.kls");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "eleven.kls: offset 532: lens count 11 is outside 0..10");
    }
    EXPECT_THAT(names(list), ::testing::ElementsAre("ok")); // no placeholder flares left behind

    // A count larger than the file could hold is refused before anything is added.
    test::writeFile("lying.kls", std::string("\x03len", 4) + int32Bytes(1000000) + flareRecord("x", 0));
    EXPECT_THAT([&] { list.LoadFromFile("lying.kls"); }, ::testing::ThrowsMessage<FileError>(HasSubstr(
                                                             "flare count 1000000 is larger than the file")));

    // Truncated inside a lens.
    test::writeFile("short.kls", std::string("\x03len", 4) + int32Bytes(1) + flareRecord("cut", 1) + "abc");
    EXPECT_THROW(list.LoadFromFile("short.kls"), FileError);
    EXPECT_THAT(names(list), ::testing::ElementsAre("ok"));
}

TEST_F(LensFlareFile, RecordTagsAreNotCompared)
{
    // Another writer's tags (even of another length) do not stop the read.
    test::writeFile("odd.kls", std::string("\x04fla", 4) + int32Bytes(1) + std::string("\x00xyz", 4) +
                                   toShortStringBytes("glow") + int32Bytes(0));
    KaLensFlareList list;
    list.LoadFromFile("odd.kls");
    EXPECT_THAT(names(list), ::testing::ElementsAre("glow"));
}

} // namespace
} // namespace ra7
