#include "effects/Ka7LensFlare.h"

#include "runtime/Errors.h"
#include "runtime/RecordFile.h"

namespace ra7 {

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
    }
}

std::array<float, 2> KaLensFlare::LensCentre(std::int32_t i, float screenWidth, float screenHeight) const
{
    const float dx = screenWidth - 2 * ScreenPos.x;
    const float dy = screenHeight - 2 * ScreenPos.y;
    const float pos = Lenses[static_cast<std::size_t>(i)].Pos;
    return {ScreenPos.x + dx / pos, ScreenPos.y + dy / pos};
}

} // namespace ra7
