#include "engine/GLTestSupport.h"

#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

#include <IL/il.h>

#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace ra7 {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Rgba = std::array<std::uint8_t, 4>;

// A 3 × 2 picture as the eye sees it: bottom row red, green, blue; top row
// white, black, yellow.
const Rgba kBottom[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
const Rgba kTop[3] = {{255, 255, 255, 255}, {0, 0, 0, 255}, {255, 255, 0, 255}};

// Saves an image through DevIL; `rows` bottom row first, `channels` 1, 3 or 4.
void saveWithDevil(const std::string& fileName, int width, int height, int channels,
                   const std::vector<std::uint8_t>& rows)
{
    InitImageLibrary();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const ILenum format = channels == 4 ? IL_RGBA : channels == 3 ? IL_RGB : IL_LUMINANCE;
    ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, static_cast<ILubyte>(channels),
               format, IL_UNSIGNED_BYTE, const_cast<std::uint8_t*>(rows.data()));
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage(fileName.c_str())) << fileName << ": " << ilGetError();
    ilDeleteImages(1, &image);
}

std::vector<std::uint8_t> pictureRows(int channels)
{
    std::vector<std::uint8_t> rows;
    for (const auto* row : {kBottom, kTop})
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < channels; ++c)
                rows.push_back(row[x][static_cast<std::size_t>(c)]);
    return rows;
}

// An uncompressed true-colour TGA stored top row first (descriptor bit 5),
// pixels as B, G, R.
std::string topDownTga()
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = 3;
    bytes[14] = 2;
    bytes[16] = 24;
    bytes[17] = 0x20;
    for (const auto* row : {kTop, kBottom})
        for (int x = 0; x < 3; ++x)
            bytes +=
                {static_cast<char>(row[x][2]), static_cast<char>(row[x][1]), static_cast<char>(row[x][0])};
    return bytes;
}

// A 24-bit BMP, bottom row first, B, G, R, rows padded to 4 bytes.
std::string bottomUpBmp()
{
    const std::uint32_t rowBytes = 12;
    const std::uint32_t fileSize = 54 + rowBytes * 2;
    std::string bytes = "BM";
    auto put32 = [&bytes](std::uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&bytes](std::uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    put32(fileSize);
    put32(0);
    put32(54);
    put32(40);
    put32(3);
    put32(2);
    put16(1);
    put16(24);
    put32(0);
    put32(rowBytes * 2);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (const auto* row : {kBottom, kTop}) {
        for (int x = 0; x < 3; ++x)
            bytes +=
                {static_cast<char>(row[x][2]), static_cast<char>(row[x][1]), static_cast<char>(row[x][0])};
        bytes.append(3, '\0');
    }
    return bytes;
}

class TextureTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Textures = std::make_unique<KaTextureArray>();
    }

    // Level 0 of the texture as RGBA, row 0 first.
    static std::vector<Rgba> texels(const KaTexture& texture)
    {
        glBindTexture(GL_TEXTURE_2D, texture.GLName());
        std::vector<Rgba> result(static_cast<std::size_t>(texture.Width() * texture.Height()));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, result.data());
        return result;
    }

    static void expectPicture(const KaTexture& texture, bool alpha)
    {
        ASSERT_EQ(texture.Width(), 3);
        ASSERT_EQ(texture.Height(), 2);
        const auto got = texels(texture);
        for (std::size_t x = 0; x < 3; ++x) {
            EXPECT_EQ(got[x], kBottom[x]) << "row 0 is the bottom row, pixel " << x;
            EXPECT_EQ(got[3 + x], kTop[x]) << "row 1 is the top row, pixel " << x;
        }
        glBindTexture(GL_TEXTURE_2D, texture.GLName());
        GLint alphaBits = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        EXPECT_EQ(alphaBits > 0, alpha);
    }
};

TEST_F(TextureTest, BgrFilesInEitherRowOrderShowCorrectColoursBottomRowFirst)
{
    test::writeFile("top.tga", topDownTga());
    test::writeFile("bottom.bmp", bottomUpBmp());
    const KaTexture* tga = Textures->Add("top.tga");
    ASSERT_NE(tga, nullptr);
    expectPicture(*tga, false);
    EXPECT_EQ(tga->PixelFormat(), static_cast<std::uint32_t>(GL_RGB));
    const KaTexture* bmp = Textures->Add("bottom.bmp");
    ASSERT_NE(bmp, nullptr);
    expectPicture(*bmp, false);
}

TEST_F(TextureTest, DevilWrittenFilesOfEveryKindLoadWithTheirColours)
{
    saveWithDevil("rgb.png", 3, 2, 3, pictureRows(3));
    saveWithDevil("rgba.png", 3, 2, 4, pictureRows(4));
    saveWithDevil("saved.tga", 3, 2, 3, pictureRows(3));
    saveWithDevil("saved.bmp", 3, 2, 3, pictureRows(3));
    expectPicture(*Textures->Add("rgb.png"), false);
    expectPicture(*Textures->Add("rgba.png"), true);
    EXPECT_EQ(Textures->Find("rgba.png")->PixelFormat(), static_cast<std::uint32_t>(GL_RGBA));
    expectPicture(*Textures->Add("saved.tga"), false);
    expectPicture(*Textures->Add("saved.bmp"), false);
}

TEST_F(TextureTest, ThirtyTwoBitImageKeepsItsAlpha)
{
    std::vector<std::uint8_t> rows = pictureRows(4);
    rows[3] = 10; // bottom-left alpha
    rows[7] = 128;
    saveWithDevil("alpha.png", 3, 2, 4, rows);
    const auto got = texels(*Textures->Add("alpha.png"));
    EXPECT_EQ(got[0][3], 10);
    EXPECT_EQ(got[1][3], 128);
    EXPECT_EQ(got[2][3], 255);
}

TEST_F(TextureTest, OneBytePerPixelImageBecomesALuminanceTexture)
{
    saveWithDevil("grey.png", 3, 2, 1, {0, 100, 200, 50, 150, 250});
    const KaTexture* grey = Textures->Add("grey.png");
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->PixelFormat(), static_cast<std::uint32_t>(GL_LUMINANCE));
    glBindTexture(GL_TEXTURE_2D, grey->GLName());
    GLint luminanceBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE, &luminanceBits);
    EXPECT_GT(luminanceBits, 0);
    // Read back as RGBA, luminance lands in red.
    const auto got = texels(*grey);
    EXPECT_EQ(got[1][0], 100);
    EXPECT_EQ(got[5][0], 250);
}

TEST_F(TextureTest, SixteenBitImageIsConvertedToEightBitsPerChannel)
{
    InitImageLibrary();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // 2 × 1, red then blue, 16 bits per channel.
    const std::uint16_t texels[] = {65535, 0, 0, 0, 0, 65535};
    ilTexImage(2, 1, 1, 3, IL_RGB, IL_UNSIGNED_SHORT, const_cast<std::uint16_t*>(texels));
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSaveImage("deep.png"));
    ilDeleteImages(1, &image);

    const KaTexture* texture = Textures->Add("deep.png");
    ASSERT_NE(texture, nullptr);
    glBindTexture(GL_TEXTURE_2D, texture->GLName());
    std::array<Rgba, 2> got{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
    EXPECT_EQ(got[0], (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(got[1], (Rgba{0, 0, 255, 255}));
}

TEST_F(TextureTest, UnreadableImagesThrowTheImageLibraryErrorAndAddNothing)
{
    test::writeFile("broken.png", "\x89PNG\r\n\x1a\n this is not a picture");
    test::writeFile("text.tga", "hello");
    for (const char* name : {"broken.png", "text.tga", "missing.png"}) {
        try {
            Textures->Add(name);
            FAIL() << name << " was accepted";
        } catch (const Error& error) {
            EXPECT_THAT(error.what(), StartsWith("Ошибка OpenIL: ")) << name;
            EXPECT_GT(std::strlen(error.what()), std::strlen("Ошибка OpenIL: ")) << name;
        }
        EXPECT_EQ(LogLines().back(), FormatLogLine(std::string("! Не удалось загрузить текстуру ") + name));
    }
    EXPECT_EQ(Textures->Count(), 0);
    // A good file after a bad one is not blamed for the old error.
    test::writeFile("top.tga", topDownTga());
    EXPECT_NE(Textures->Add("top.tga"), nullptr);
}

TEST_F(TextureTest, APipeOrAFolderNamedAsATextureIsRefusedWithoutReadingIt)
{
    // Nobody writes into the pipe: reading it would wait for ever.
    ASSERT_EQ(::mkfifo("pipe.png", 0600), 0);
    std::filesystem::create_directory("folder.tga");
    for (const char* name : {"pipe.png", "folder.tga"}) {
        try {
            Textures->Add(name);
            FAIL() << name << " was accepted";
        } catch (const Error& error) {
            EXPECT_THAT(error.what(), HasSubstr(std::string(name) + ": not a regular file"));
        }
    }
    EXPECT_EQ(Textures->Count(), 0);
}

TEST_F(TextureTest, EmptyAndKnownNamesAddNothing)
{
    test::writeFile("top.tga", topDownTga());
    EXPECT_EQ(Textures->Add(""), nullptr);
    const KaTexture* first = Textures->Add("top.tga");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Textures->Add("top.tga"), nullptr);
    EXPECT_EQ(Textures->Count(), 1);
}

TEST_F(TextureTest, NamesAreResolvedWithoutRegardToCaseAndBackslashes)
{
    std::filesystem::create_directories("Data/Tex");
    test::writeFile("Data/Tex/Stone.TGA", topDownTga());
    const KaTexture* texture = Textures->Add("data\\tex\\stone.tga");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->FileName, "data\\tex\\stone.tga");
}

TEST_F(TextureTest, MipmapChainIsBuiltByTheDriverOrByGlu)
{
    std::vector<std::uint8_t> rows(2 * 2 * 3, 200);
    saveWithDevil("square.png", 2, 2, 3, rows);
    ASSERT_TRUE(HasGenerateMipmap);
    for (bool driverBuilds : {true, false}) {
        HasGenerateMipmap = driverBuilds;
        Textures->Clear();
        const KaTexture* texture = Textures->Add("square.png");
        glBindTexture(GL_TEXTURE_2D, texture->GLName());
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 1) << (driverBuilds ? "GL_SGIS_generate_mipmap" : "gluBuild2DMipmaps");
        std::array<std::uint8_t, 4> smallest{};
        glGetTexImage(GL_TEXTURE_2D, 1, GL_RGBA, GL_UNSIGNED_BYTE, smallest.data());
        EXPECT_NEAR(smallest[0], 200, 1);
        GLint minFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    }
}

TEST_F(TextureTest, AnisotropyLevelOfTheDriverIsAppliedWhenInUse)
{
    Settings.UseAnisotropy = true;
    Settings.AnisotropyLevel = 2;
    detect(false, false, false);
    ASSERT_TRUE(Settings.UseAnisotropy);
    test::writeFile("top.tga", topDownTga());
    glBindTexture(GL_TEXTURE_2D, Textures->Add("top.tga")->GLName());
    GLfloat level = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &level);
    EXPECT_EQ(level, static_cast<float>(Settings.AnisotropyLevel));
    EXPECT_GT(level, 2.0f);
}

TEST_F(TextureTest, DeletingTheFirstOfThreeKeepsTheLastBoundToItsOwnTexture)
{
    for (const char* name : {"a.tga", "b.tga", "c.tga"}) {
        test::writeFile(name, topDownTga());
        Textures->Add(name);
    }
    const std::uint32_t deleted = Textures->Get(0).GLName();
    const std::uint32_t moved = Textures->Get(2).GLName();
    Textures->Delete(0);
    ASSERT_EQ(Textures->Count(), 2);
    EXPECT_EQ(Textures->Get(0).FileName, "c.tga");
    EXPECT_EQ(Textures->Get(0).GLName(), moved);
    EXPECT_TRUE(glIsTexture(moved));
    EXPECT_FALSE(glIsTexture(deleted));
    Textures->Get(0).Bind();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), moved);
    expectPicture(Textures->Get(0), false);
    EXPECT_THROW(Textures->Delete(2), Error);
}

} // namespace
} // namespace ra7
