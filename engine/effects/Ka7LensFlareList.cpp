#include "effects/Ka7LensFlareList.h"

#include "effects/Ka7Sprite.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

namespace ra7 {

std::unique_ptr<KaLensFlareList> LensFlares;

namespace {
constexpr const char* kFlareTag = "len";
// The smallest flare record: tag, name and a lens count of 0.
constexpr std::size_t kMinFlareRecord = kTagSize + kShortStringSize + 4;
} // namespace

void KaLensFlareList::AddCopy(const KaLensFlare& flare)
{
    if (IndexOf(flare.Name) >= 0)
        return;
    auto copy = std::make_unique<KaLensFlare>();
    copy->Assign(flare);
    flares_.Add(std::move(copy));
}

void KaLensFlareList::Delete(std::int32_t index)
{
    flares_.Delete(index);
    flares_.Changed = true;
}

KaLensFlare* KaLensFlareList::LoadFromFile(std::string_view fileName)
{
    flares_.Changed = true;
    RecordReader file = RecordReader::openFile(fileName);
    // Tags are not compared on reading, so none is refused either.
    file.skip(kTagSize);
    const std::size_t count = file.readCount(kMinFlareRecord, "flare count");
    KaLensFlare* last = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        file.skip(kTagSize);
        // A new flare for every record: a flare saved without lenses stores no
        // distance scale and must not take the previous record's scale and
        // lenses, so it reads back as it was saved.
        auto flare = std::make_unique<KaLensFlare>();
        flare->LoadFromFile(file);
        flare->Name = MakeUniqueName(flare->Name);
        last = flares_.Add(std::move(flare));
    }
    return last;
}

void KaLensFlareList::SaveToFile(std::string_view fileName, const std::vector<std::int32_t>& indexes)
{
    for (const std::int32_t index : indexes)
        flares_.Get(index); // "Array index out of bounds." before the file is touched
    RecordWriter file(fileName);
    file.writeTag(kFlareTag);
    file.writeInt32(static_cast<std::int32_t>(indexes.size()));
    for (const std::int32_t index : indexes) {
        file.writeTag(kFlareTag);
        flares_.Get(index).SaveToFile(file);
    }
    file.commit();
}

void KaLensFlareList::Render()
{
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    if (SceneObjects) {
        for (const std::int32_t index : SceneObjects->SpriteList) {
            const auto* sprite = dynamic_cast<const KaSprite*>(SceneObjects->GetItem(index));
            if (!sprite || sprite->FlareName.empty())
                continue;
            KaLensFlare* flare = Find(sprite->FlareName);
            if (!flare)
                continue;
            flare->SetAlpha(sprite->FlareBrightness);
            flare->ScreenPos = {sprite->ScreenPos.x, sprite->ScreenPos.y, sprite->ScreenPos.z};
            flare->Render();
        }
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
}

} // namespace ra7
