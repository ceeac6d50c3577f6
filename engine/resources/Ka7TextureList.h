#pragma once
// The engine-wide textures, keyed by the file name they were loaded from, so
// that every material, sprite and particle system naming a file shares one
// GL texture.

#include "resources/Ka7TextureIL.h"
#include "resources/ResourceList.h"

#include <memory>
#include <string>
#include <string_view>

namespace ra7 {

struct TextureFileName {
    const std::string& operator()(const KaTexture& texture) const { return texture.FileName; }
};

class KaTextureArray : public KaResourceList<KaTexture, TextureFileName> {
public:
    // Loads the file unless the name is empty or already loaded. An image
    // that cannot be read throws and adds nothing.
    KaTexture* Add(std::string_view fileName);
    // Add for loaders that go on past a file that cannot be read (a material
    // library, a flare set): the failed load has logged its "! " line naming
    // the file, and nothing is added.
    KaTexture* AddOrSkip(std::string_view fileName);
    // Binds the texture of that file on the active unit, or no texture when
    // there is none.
    void BindByName(std::string_view fileName);
};

extern std::unique_ptr<KaTextureArray> Textures;

} // namespace ra7
