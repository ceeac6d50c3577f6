#include "effects/Ka7Sprite.h"

#include "runtime/RecordFile.h"

namespace ra7 {

KaSprite::KaSprite() : Bounds(std::make_unique<KaBoundingObj>())
{
    SetName("spr1");
}

std::unique_ptr<KaSceneObj> KaSprite::Create() const
{
    return std::make_unique<KaSprite>();
}

void KaSprite::Update()
{
    KaSceneObj::Update();
}

void KaSprite::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    KaSceneObj::LoadFromFile(file, names);
    Texture1 = file.readShortString();
    Texture2 = file.readShortString();
    Texture3 = file.readShortString();
    FlareName = file.readShortString();
    file.readSingles(Color1.data(), 4);
    file.readSingles(Color2.data(), 4);
    file.readSingles(Color3.data(), 4);
    Size1 = file.readSingle();
    Size2 = file.readSingle();
    Size3 = file.readSingle();
    ViewRange = file.readSingle();
    std::uint8_t flags[4];
    file.readBytes(flags, 4);
    ZTest = flags[0];
    AlwaysRendered = flags[1];
    Static = flags[2] != 0;
    SpareFlag = flags[3];
}

void KaSprite::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("spr");
    SaveBase(file, names);
    file.writeShortString(Texture1);
    file.writeShortString(Texture2);
    file.writeShortString(Texture3);
    file.writeShortString(FlareName);
    file.writeSingles(Color1.data(), 4);
    file.writeSingles(Color2.data(), 4);
    file.writeSingles(Color3.data(), 4);
    file.writeSingle(Size1);
    file.writeSingle(Size2);
    file.writeSingle(Size3);
    file.writeSingle(ViewRange);
    const std::uint8_t flags[4] = {ZTest, AlwaysRendered, static_cast<std::uint8_t>(Static ? 1 : 0),
                                   SpareFlag};
    file.writeBytes(flags, 4);
}

void KaSprite::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& sprite = static_cast<const KaSprite&>(source);
    KaSceneObj::Assign(source);
    std::unique_ptr<KaBoundingObj> bounds = sprite.Bounds->NewOfSameKind();
    bounds->Assign(*sprite.Bounds);
    Bounds = std::move(bounds);
    SpareFlag = sprite.SpareFlag;
    Color1 = sprite.Color1;
    Color2 = sprite.Color2;
    Color3 = sprite.Color3;
    Texture1 = sprite.Texture1;
    Texture2 = sprite.Texture2;
    Texture3 = sprite.Texture3;
    Size1 = sprite.Size1;
    Size2 = sprite.Size2;
    Size3 = sprite.Size3;
    ViewRange = sprite.ViewRange;
    ZTest = sprite.ZTest;
    AlwaysRendered = sprite.AlwaysRendered;
}

} // namespace ra7
