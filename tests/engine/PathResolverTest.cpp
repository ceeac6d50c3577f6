#include "runtime/PathResolver.h"

#include "engine/TestSupport.h"

namespace fs = std::filesystem;

namespace ra7 {
namespace {

using PathResolver = test::ScratchDirectoryTest;

TEST_F(PathResolver, BackslashesAndLetterCaseAreResolvedPerComponent)
{
    fs::create_directories("Data/Arrow");
    test::writeFile("Data/Arrow/editorData.kgf", "x");
    EXPECT_EQ(resolvePath("data\\arrow\\EDITORDATA.KGF"), fs::path("Data/Arrow/editorData.kgf"));
    EXPECT_EQ(resolvePath("Data/Arrow/editorData.kgf"), fs::path("Data/Arrow/editorData.kgf"));
}

TEST_F(PathResolver, CyrillicNamesMatchIgnoringCase)
{
    fs::create_directories("Модели");
    test::writeFile("Модели/Ящик.mes", "x");
    EXPECT_EQ(resolvePath("модели\\ЯЩИК.MES"), fs::path("Модели/Ящик.mes"));
}

TEST_F(PathResolver, AFileToCreateKeepsTheNameAsGiven)
{
    fs::create_directories("Scenes");
    EXPECT_EQ(resolvePath("scenes\\New Level.kgf"), fs::path("Scenes/New Level.kgf"));
    EXPECT_EQ(resolvePath("missing\\Dir\\File.txt"), fs::path("missing/Dir/File.txt"));
}

TEST_F(PathResolver, AnExactMatchWinsOverOtherCasings)
{
    test::writeFile("box.mes", "lower");
    test::writeFile("BOX.mes", "upper");
    EXPECT_EQ(resolvePath("BOX.mes"), fs::path("BOX.mes"));
    EXPECT_EQ(resolvePath("Box.mes"), fs::path("BOX.mes")); // first in name order
}

TEST_F(PathResolver, AbsolutePathsResolveToo)
{
    fs::create_directories("Textures");
    test::writeFile("Textures/Stone.PNG", "x");
    const fs::path wanted = dir() / "textures" / "stone.png";
    EXPECT_EQ(resolvePath(wanted.string()), dir() / "Textures" / "Stone.PNG");
}

TEST_F(PathResolver, ChosenPathsBecomeRelativeOnlyUnderTheWorkingDirectory)
{
    EXPECT_EQ(relativeToWorkingDirectory(dir() / "data" / "box.mes"), "data/box.mes");
    EXPECT_EQ(relativeToWorkingDirectory("data/box.mes"), "data/box.mes");
    // A sibling folder whose name starts like the working directory's is outside it.
    const fs::path sibling = dir().string() + "-other/box.mes";
    EXPECT_EQ(relativeToWorkingDirectory(sibling), sibling.string());
    EXPECT_EQ(relativeToWorkingDirectory("/usr/share/x.png"), "/usr/share/x.png");
}

} // namespace
} // namespace ra7
