#include "effects/Ka7LensFlare.h"

#include "resources/Ka7TextureList.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"

#include <epoxy/gl.h>

namespace ra7 {

namespace {

// A square of half side `h` around (cx, cy), one triangle strip from arrays.
void DrawQuad(float cx, float cy, float h)
{
    const GLfloat corners[] = {cx - h, cy - h, cx + h, cy - h, cx - h, cy + h, cx + h, cy + h};
    static constexpr GLfloat kTexCoords[] = {0, 0, 1, 0, 0, 1, 1, 1};
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, kTexCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// A lens texture that cannot be read (a "! " line names it) leaves the lens
// untextured rather than stopping the load of the whole flare set.
void AddLensTexture(const std::string& name)
{
    if (Textures)
        Textures->AddOrSkip(name);
}

} // namespace

void KaLensFlare::ResetLenses()
{
    LensCount = 0;
    ScreenPos = kNoScreenPos;
    Lenses.fill(KaLens{});
}

void KaLensFlare::SetAlpha(float value)
{
    for (std::int32_t i = 0; i < LensCount; ++i)
        Lenses[static_cast<std::size_t>(i)].Color[3] = value;
}

void KaLensFlare::Assign(const KaLensFlare& source)
{
    LensCount = source.LensCount;
    Name = source.Name;
    DistanceScale = source.DistanceScale;
    Lenses = source.Lenses;
}

void KaLensFlare::SaveToFile(RecordWriter& file) const
{
    file.writeShortString(Name);
    file.writeInt32(LensCount);
    for (std::int32_t i = 0; i < LensCount; ++i) {
        const KaLens& lens = Lenses[static_cast<std::size_t>(i)];
        file.writeShortString(lens.TextureName);
        file.writeSingles(lens.Color.data(), lens.Color.size());
        file.writeSingle(lens.Pos);
        file.writeSingle(lens.Size);
        file.writeSingle(DistanceScale);
    }
}

void KaLensFlare::LoadFromFile(RecordReader& file)
{
    Name = file.readShortString();
    const std::uint64_t countOffset = file.offset();
    const std::int32_t count = file.readInt32();
    if (count < 0 || count > kMaxLenses)
        file.failAt(countOffset, "lens count " + std::to_string(count) + " is outside 0..10");
    LensCount = count;
    for (std::int32_t i = 0; i < count; ++i) {
        KaLens& lens = Lenses[static_cast<std::size_t>(i)];
        lens.TextureName = file.readShortString();
        file.readSingles(lens.Color.data(), lens.Color.size());
        lens.Pos = file.readSingle();
        lens.Size = file.readSingle();
        DistanceScale = file.readSingle();
        AddLensTexture(lens.TextureName);
    }
}

std::array<float, 2> KaLensFlare::LensCentre(std::int32_t i, float screenWidth, float screenHeight) const
{
    const float dx = screenWidth - 2 * ScreenPos.x;
    const float dy = screenHeight - 2 * ScreenPos.y;
    const float pos = Lenses[static_cast<std::size_t>(i)].Pos;
    return {ScreenPos.x + dx / pos, ScreenPos.y + dy / pos};
}

void KaLensFlare::Render() const
{
    if (LensCount < 1 || ScreenPos == kNoScreenPos)
        return;
    const auto width = static_cast<float>(Settings.ScreenWidth);
    const auto height = static_cast<float>(Settings.ScreenHeight);
    for (std::int32_t i = 0; i < LensCount; ++i) {
        const KaLens& lens = Lenses[static_cast<std::size_t>(i)];
        if (lens.TextureName.empty())
            continue;
        glColor4fv(lens.Color.data());
        if (Textures)
            Textures->BindByName(lens.TextureName);
        else
            glBindTexture(GL_TEXTURE_2D, 0);
        const auto centre = LensCentre(i, width, height);
        DrawQuad(centre[0], centre[1], lens.Size);
    }
}

} // namespace ra7
