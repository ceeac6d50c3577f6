#include "engine/GLTestSupport.h"

#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

#include <cstring>

namespace ra7 {
namespace {

using ::testing::HasSubstr;

KaMaterial richMaterial(const std::string& name)
{
    KaMaterial m;
    m.Name = name;
    m.Colour = {0.1f, 0.2f, 0.3f, 0.4f};
    m.Blend = true;
    m.WorldAmbient = {0.5f, 0.6f, 0.7f, 0.8f};
    m.Ambient = {1, 0, 0, 1};
    m.Diffuse = {0, 1, 0, 1};
    m.Specular = {0, 0, 1, 1};
    m.Shininess = 200;
    m.AlphaRef = -0.5f;
    m.TwoSided = true;
    m.FragmentShader = "phongF";
    m.VertexShader = "phongV";
    m.Textures[0] = "stone.tga";
    m.Textures[1] = "stone_n.tga";
    m.Textures[3] = "detail.tga"; // behind an empty slot
    m.SelfIllumination = "glow.tga";
    return m;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

class MaterialTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Materials = std::make_unique<KaMaterialList>();
    }

    std::string savedLibrary(const std::vector<KaMaterial>& materials)
    {
        KaMaterialList list;
        std::vector<std::int32_t> indices;
        for (const KaMaterial& m : materials) {
            list.AddCopy(m);
            indices.push_back(list.Count() - 1);
        }
        list.SaveToFile("scratch.kmt", indices);
        std::string bytes = test::readFile("scratch.kmt");
        std::filesystem::remove("scratch.kmt");
        return bytes;
    }
};

// Offsets inside one record (after the library header).
constexpr std::size_t kRecord = 8;
constexpr std::size_t kTextureCount = kRecord + 4 + 256 + 80 + 3 * 256;

TEST_F(MaterialTest, LibraryLayoutStoresTexturesUpToTheLastSlotInUse)
{
    const std::string bytes = savedLibrary({richMaterial("stone")});
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x03mtl", 4));
    EXPECT_EQ(int32At(bytes, 4), 1);
    EXPECT_EQ(bytes.substr(kRecord, 4), std::string("\x03mat", 4));
    EXPECT_EQ(bytes.substr(kRecord + 5, 5), "stone");
    EXPECT_EQ(int32At(bytes, kTextureCount), 4) << "slots 0, 1 and 3 in use, slot 2 stored empty";
    EXPECT_EQ(bytes[kTextureCount + 4 + 2 * 256], 0);
    const std::size_t flags = kTextureCount + 4 + 4 * 256;
    ASSERT_EQ(bytes.size(), flags + 8);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[flags]), 200);
    EXPECT_EQ(bytes[flags + 1], 1);
    EXPECT_EQ(bytes[flags + 2], 1);
    EXPECT_EQ(bytes[flags + 3], 0);
    float alphaRef = 0;
    std::memcpy(&alphaRef, bytes.data() + flags + 4, 4);
    EXPECT_EQ(alphaRef, -0.5f);

    KaMaterial full;
    for (std::size_t i = 0; i < kMaterialTextureSlots; ++i)
        full.Textures[i] = "t" + std::to_string(i) + ".tga";
    EXPECT_EQ(int32At(savedLibrary({full}), kTextureCount), 10);
}

TEST_F(MaterialTest, ANormalMapBehindAnEmptySlotZeroSurvivesTheLibrary)
{
    KaMaterial bumped;
    bumped.Name = "bumped";
    bumped.Textures[1] = "stone_normal.png";
    KaMaterial none;
    none.Name = "none";
    const std::string bytes = savedLibrary({bumped, none});
    EXPECT_EQ(int32At(bytes, kTextureCount), 2);
    test::writeFile("lib.kmt", bytes);
    Materials->LoadFromFile("lib.kmt");
    ASSERT_EQ(Materials->Count(), 2);
    EXPECT_EQ(Materials->Get(0).Textures[0], "");
    EXPECT_EQ(Materials->Get(0).Textures[1], "stone_normal.png");
    EXPECT_EQ(Materials->Get(1).UsedTextureSlots(), 0);
    EXPECT_EQ(savedLibrary({Materials->Get(0), Materials->Get(1)}), bytes);
}

TEST_F(MaterialTest, LibraryReadsBackAndSavesAgainByteForByte)
{
    KaMaterial second;
    second.Name = "Дерево";
    test::writeFile("lib.kmt", savedLibrary({richMaterial("stone"), second}));
    ASSERT_NE(Materials->LoadFromFile("lib.kmt"), nullptr);
    ASSERT_EQ(Materials->Count(), 2);
    const KaMaterial& stone = Materials->Get(0);
    EXPECT_EQ(stone.Colour, (KaColor{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(stone.Shininess, 200);
    EXPECT_TRUE(stone.Blend);
    EXPECT_TRUE(stone.TwoSided);
    EXPECT_EQ(stone.Textures[1], "stone_n.tga");
    EXPECT_EQ(stone.Textures[2], "");
    EXPECT_EQ(stone.Textures[3], "detail.tga");
    EXPECT_EQ(Materials->Get(1).Name, "Дерево");

    Materials->SaveToFile("again.kmt", {0, 1});
    EXPECT_EQ(test::readFile("again.kmt"), test::readFile("lib.kmt"));
}

TEST_F(MaterialTest, LoadingALibraryAddsItsTexturesToTheTextureArray)
{
    Textures = std::make_unique<KaTextureArray>();
    KaMaterial m;
    m.Name = "plain";
    test::writeFile("lib.kmt", savedLibrary({m}));
    Materials->LoadFromFile("lib.kmt");
    EXPECT_EQ(Textures->Count(), 0) << "empty names are ignored";
}

TEST_F(MaterialTest, MissingTexturesAreLoggedAndTheLibraryLoadsEveryMaterial)
{
    Textures = std::make_unique<KaTextureArray>();
    test::writeFile("found.tga", test::onePixelTga());
    KaMaterial second;
    second.Name = "second";
    second.Textures[0] = "found.tga";
    test::writeFile("lib.kmt", savedLibrary({richMaterial("stone"), second}));
    Materials->LoadFromFile("lib.kmt");
    ASSERT_EQ(Materials->Count(), 2);
    EXPECT_EQ(Materials->Get(0).Textures[0], "stone.tga") << "the material keeps the names it cannot load";
    EXPECT_EQ(Textures->Count(), 1);
    EXPECT_NE(Textures->Find("found.tga"), nullptr);
    for (const char* name : {"glow.tga", "stone.tga", "stone_n.tga", "detail.tga"})
        EXPECT_THAT(LogLines(), ::testing::Contains(
                                    FormatLogLine(std::string("! Не удалось загрузить текстуру ") + name)));
}

TEST_F(MaterialTest, LoadingTwiceAddsNothingButStillSetsChanged)
{
    test::writeFile("lib.kmt", savedLibrary({richMaterial("a"), richMaterial("b")}));
    Materials->LoadFromFile("lib.kmt");
    EXPECT_TRUE(Materials->TakeChanged());
    KaMaterial* last = Materials->LoadFromFile("lib.kmt");
    EXPECT_EQ(Materials->Count(), 2);
    EXPECT_TRUE(Materials->TakeChanged());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Name, "b");
}

TEST_F(MaterialTest, TextureCountAboveTenStopsAtItsOffsetKeepingEarlierMaterials)
{
    std::string bytes = savedLibrary({richMaterial("good"), richMaterial("bad")});
    const std::size_t recordSize = (bytes.size() - 8) / 2;
    const std::size_t countAt = kTextureCount + recordSize;
    const std::int32_t eleven = 11;
    std::memcpy(bytes.data() + countAt, &eleven, 4);
    test::writeFile("lib.kmt", bytes);
    try {
        Materials->LoadFromFile("lib.kmt");
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.fileName(), "lib.kmt");
        EXPECT_EQ(error.place().value, countAt);
        EXPECT_THAT(error.detail(), HasSubstr("texture count 11"));
    }
    EXPECT_EQ(Materials->Count(), 1);
    EXPECT_EQ(Materials->Get(0).Name, "good");
}

TEST_F(MaterialTest, DamagedLibrariesNameFileAndOffset)
{
    const std::string good = savedLibrary({richMaterial("a")});
    struct Case {
        std::string bytes;
        std::uint64_t offset;
        const char* message;
    };
    std::string hugeCount = good;
    const std::int32_t huge = 1000000;
    std::memcpy(hugeCount.data() + 4, &huge, 4);
    std::string negativeCount = good;
    const std::int32_t minusOne = -1;
    std::memcpy(negativeCount.data() + 4, &minusOne, 4);
    std::string negativeTextures = good;
    std::memcpy(negativeTextures.data() + kTextureCount, &minusOne, 4);
    const Case cases[] = {
        {hugeCount, 4, "material count"},
        {negativeCount, 4, "material count"},
        {negativeTextures, kTextureCount, "texture count -1"},
        {good.substr(0, good.size() - 2), good.size() - 4, "unexpected end"},
        {good.substr(0, 2), 0, "unexpected end"},
    };
    for (const Case& c : cases) {
        Materials->Clear();
        test::writeFile("lib.kmt", c.bytes);
        try {
            Materials->LoadFromFile("lib.kmt");
            ADD_FAILURE() << c.message;
        } catch (const FileError& error) {
            EXPECT_EQ(error.place().value, c.offset) << c.message;
            EXPECT_THAT(error.detail(), HasSubstr(c.message));
        }
        EXPECT_EQ(Materials->Count(), 0);
    }
}

TEST_F(MaterialTest, MakeUniqueNameStripsANumericSuffixAndCountsUp)
{
    KaMaterial m;
    EXPECT_EQ(Materials->MakeUniqueName("wood_3"), "wood");
    m.Name = "wood";
    Materials->AddCopy(m);
    m.Name = "wood_1";
    Materials->AddCopy(m);
    EXPECT_EQ(Materials->MakeUniqueName("wood_3"), "wood_2");
    EXPECT_EQ(Materials->MakeUniqueName("wood"), "wood_2");
    EXPECT_EQ(Materials->MakeUniqueName("wood_x"), "wood_x");
    m.Name = "wood_x";
    Materials->AddCopy(m);
    EXPECT_EQ(Materials->MakeUniqueName("wood_x"), "wood_x_1");
}

TEST_F(MaterialTest, DeleteMovesTheLastMaterialIntoTheGap)
{
    for (const char* name : {"a", "b", "c"}) {
        KaMaterial m;
        m.Name = name;
        Materials->AddCopy(m);
    }
    Materials->TakeChanged();
    Materials->Delete(0);
    EXPECT_TRUE(Materials->Changed);
    EXPECT_EQ(Materials->Get(0).Name, "c");
    EXPECT_EQ(Materials->Get(1).Name, "b");
    EXPECT_THROW(Materials->Get(2), Error);
}

TEST_F(MaterialTest, DescriptionListsEachMaterial)
{
    test::writeFile("lib.kmt", savedLibrary({richMaterial("stone")}));
    const auto lines = DescribeMaterialFile("lib.kmt");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "material library: 1 materials");
    EXPECT_EQ(lines[1], "material \"stone\"");
    EXPECT_THAT(lines, ::testing::Contains("  texture 1: stone_n.tga"));
}

// ---------------------------------------------------------------- Apply

class ApplyTest : public MaterialTest {
protected:
    static std::array<float, 4> currentColour()
    {
        std::array<float, 4> c{};
        glGetFloatv(GL_CURRENT_COLOR, c.data());
        return c;
    }
    static bool depthWrites()
    {
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        return mask == GL_TRUE;
    }
};

TEST_F(ApplyTest, ColourMinusOneMinusOneMinusOneOneLeavesTheCurrentColourAlone)
{
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    KaMaterial keep = MakeDefaultMaterial();
    keep.Apply();
    EXPECT_EQ(currentColour(), (std::array<float, 4>{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(CurrentMaterialName, "Mat1");

    KaMaterial halfAlpha;
    halfAlpha.Colour = {-1, -1, -1, 0.5f};
    halfAlpha.Apply();
    EXPECT_EQ(currentColour()[3], 0.5f);
    KaMaterial grey;
    grey.Apply();
    EXPECT_NEAR(currentColour()[0], 0.4f, 1e-6);
}

TEST_F(ApplyTest, AnyNonZeroAlphaRefEnablesTheAlphaTestUntilUnapply)
{
    KaMaterial m;
    m.AlphaRef = -0.5f;
    m.Apply();
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    GLint function = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    EXPECT_EQ(function, GL_GREATER);
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_EQ(reference, 0.0f) << "GL clamps the reference to [0, 1]";
    m.Unapply();
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));

    glEnable(GL_ALPHA_TEST);
    KaMaterial none;
    none.Apply();
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(ApplyTest, TwoSidedTurnsCullingOffWhileApplied)
{
    glEnable(GL_CULL_FACE);
    KaMaterial m;
    m.TwoSided = true;
    m.Apply();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    m.Unapply();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(ApplyTest, BlendSwitchesDepthWritesUnlessTheRendererRunsMultiPass)
{
    KaMaterial blended;
    blended.Blend = true;
    KaMaterial opaque;
    blended.Apply();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(depthWrites());
    opaque.Apply();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(depthWrites());

    MultiPass = true;
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    opaque.Apply();
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "multi-pass rendering owns blending";
    EXPECT_FALSE(depthWrites());
}

TEST_F(ApplyTest, ShininessAboveTheFixedFunctionLimitIsAccepted)
{
    KaMaterial m;
    m.Shininess = 255;
    m.Apply();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 128.0f);
}

TEST_F(ApplyTest, ShadersNamedTwiceAreEnabledOnceAndNotAtAllForTheFarDetailLevel)
{
    installShaders();
    Shaders = std::make_unique<KaShaderClass>();
    int enables = 0;
    int disables = 0;
    KaShader* shader = Shaders->Find("billboard");
    shader->OnEnable = [&enables](KaShader&) { ++enables; };
    shader->OnDisable = [&disables](KaShader&) { ++disables; };
    KaMaterial m;
    m.VertexShader = "billboard";
    m.FragmentShader = "billboard";
    m.Apply();
    EXPECT_EQ(enables, 1);
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));
    m.Unapply();
    EXPECT_EQ(disables, 1);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));

    NoShaders = true;
    m.Apply();
    EXPECT_EQ(enables, 1);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));

    NoShaders = false;
    KaMaterial unknown;
    unknown.VertexShader = "nothing";
    unknown.Apply();
    unknown.Unapply();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ApplyTest, TexturesAreBoundPerUnitAndUnitZeroIsLeftActive)
{
    Textures = std::make_unique<KaTextureArray>();
    const std::string tga = test::onePixelTga();
    test::writeFile("a.tga", tga);
    test::writeFile("b.tga", tga);
    Textures->Add("a.tga");
    Textures->Add("b.tga");
    KaMaterial m;
    m.Textures[0] = "b.tga";
    m.Textures[2] = "a.tga";
    m.Textures[9] = "missing.tga";
    glActiveTextureARB(GL_TEXTURE9_ARB);
    glBindTexture(GL_TEXTURE_2D, Textures->Get(0).GLName());
    m.Apply();
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GL_TEXTURE0_ARB);
    const std::array<std::uint32_t, 10> expected = {
        Textures->Get(1).GLName(), 0, Textures->Get(0).GLName(), 0, 0, 0, 0, 0, 0, 0};
    for (GLenum unit = 0; unit < 10; ++unit) {
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<std::uint32_t>(bound), expected[unit]) << "unit " << unit;
    }
    glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

// Under a tracking guard, Apply binds only what differs from the last Apply
// under it; a texture bound behind the guard's back shows what was skipped.
TEST_F(ApplyTest, TrackedAppliesBindOnlyChangedUnitsAndTheGuardsEndForgetsThem)
{
    Textures = std::make_unique<KaTextureArray>();
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 1;
    tga[14] = 1;
    tga[16] = 24;
    tga += "abc";
    for (const char* name : {"a.tga", "b.tga", "c.tga"}) {
        test::writeFile(name, tga);
        Textures->Add(name);
    }
    const auto glName = [](const char* name) { return Textures->Find(name)->GLName(); };
    const auto boundOn = [](GLenum unit) {
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        return static_cast<std::uint32_t>(bound);
    };
    KaMaterial first;
    first.Textures[0] = "a.tga";
    first.Textures[2] = "b.tga";
    KaMaterial second;
    second.Textures[0] = "c.tga";
    second.Textures[2] = "b.tga";
    {
        const MaterialTextureTracking tracking;
        first.Apply();
        first.Unapply();
        glActiveTextureARB(GL_TEXTURE2_ARB);
        glBindTexture(GL_TEXTURE_2D, glName("a.tga")); // behind the guard's back
        glActiveTextureARB(GL_TEXTURE0_ARB);
        second.Apply();
        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
        EXPECT_EQ(active, GL_TEXTURE0_ARB);
        EXPECT_EQ(boundOn(0), glName("c.tga")) << "a changed unit is bound";
        EXPECT_EQ(boundOn(2), glName("a.tga")) << "an unchanged unit is skipped";
        second.Unapply();
    }
    second.Apply();
    EXPECT_EQ(boundOn(2), glName("b.tga")) << "without a guard every unit is bound";
    {
        const MaterialTextureTracking tracking;
        glActiveTextureARB(GL_TEXTURE2_ARB);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        second.Apply();
        EXPECT_EQ(boundOn(2), glName("b.tga")) << "a new guard starts knowing nothing";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace ra7
