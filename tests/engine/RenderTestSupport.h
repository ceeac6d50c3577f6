#pragma once
// Scene rendering on the shared headless context: the engine lists a frame
// needs (objects, meshes, materials, textures, shaders, the renderer), a
// 64 × 64 window with the perspective projection, and helpers that build
// small scenes out of unit squares and solid textures.

#include "engine/GLTestSupport.h"
#include "resources/Ka7Material.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <cstdint>
#include <string>

namespace ra7::test {

class RenderTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates an object of type T, names it and appends it; returns it.
    template <class T, class... Args>
    T& add(const std::string& name, Args&&... args);

    // The active camera "view" at `position`, looking along −z.
    KaCamera& addCamera(const Vector3& position);
    // A square mesh of side `side` in the xy plane facing +z, named `name`.
    void addSquareMesh(const std::string& name, float side);
    // An unlit-by-texture material: ambient 1, no diffuse or specular, no
    // world ambient, so each light pass adds exactly the light's ambient.
    KaMaterial& addMaterial(const std::string& name);
    // A geometry drawing `mesh` with `material` at `position`.
    KaGeometry& addGeometry(const std::string& name, const std::string& mesh, const std::string& material,
                            const Vector3& position);
    // A light of ambient `level` grey at `position` with `range`.
    void addLight(const std::string& name, const Vector3& position, float range, float level);
    // A uniform 4 × 4 TGA file of one colour, loaded into Textures.
    void addTexture(const std::string& fileName, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    std::uint8_t a = 255);

    // Window framebuffer bound, cleared black, perspective projection, the
    // active camera's view, depth test on, the start-up GL state.
    void beginSceneFrame();
    // Mean colour of the 8 × 8 square around the window centre.
    std::array<double, 4> centre(const std::vector<std::uint8_t>& pixels) const;
};

template <class T, class... Args>
T& RenderTest::add(const std::string& name, Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    object->SetName(name);
    T& raw = *object;
    SceneObjects->Add(std::move(object));
    return raw;
}

} // namespace ra7::test
