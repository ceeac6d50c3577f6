#pragma once
// The lit passes of one render list, grouped by state. Every visible geometry
// gets one pass per light that reaches it: the first pass (of its first light
// in LightList order) writes depth, the others add on top with depth function
// GL_EQUAL. The additive passes sum to the same pixels in any order, so they
// are drawn light by light and, under each light, material by material:
// blending and the depth function change once per stage, a light is applied
// once per stage and a material once per group, not once per object.

#include "math/DotMath.h"
#include "scene/Ka7SceneGeom.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ra7 {

class KaLight;
class KaMaterial;

class LitPasses {
public:
    // Forgets the geometries of the last run (keeping the memory).
    void Clear();
    // Adds a visible geometry; `position` is where light distances are
    // measured from.
    void Add(KaGeometry& geometry, const Vector3& position);
    // Draws everything added: the first passes, the additive passes, then
    // the self-illumination unless bloom draws it. After any geometry it
    // leaves blending off, depth function GL_LESS and MultiPass false.
    void Draw();

private:
    struct Entry {
        KaGeometry* geometry;
        KaGeometry::PreparedDraw draw;
        bool glows;     // the material has a self-illumination texture
        bool shaded;    // shaders run for it: they read the object's name
        int group;      // material and shader use, numbered as first met
        int firstLight; // index into lights_, −1 when no light reaches
    };

    void collectLights();
    int groupOf(const KaMaterial* material, bool noShaders);
    // Sorts `order` by group (and first light) unless it already is.
    void sortByGroup(std::vector<std::int32_t>& order, bool byFirstLight) const;
    using OrderIt = std::vector<std::int32_t>::const_iterator;
    // Draws the entries of [first, last) (sorted by group) under the light
    // applied now: one Apply per run of one group.
    void drawGroups(OrderIt first, OrderIt last);
    void drawFirstPasses();
    void drawAdditivePasses();
    void drawSelfIllumination();

    std::vector<Entry> entries_;
    std::size_t added_ = 0; // geometries given, drawable or not
    std::vector<const KaLight*> lights_;
    std::vector<Vector3> positions_;
    // Per light, the entries it adds to (those whose first light it is not).
    std::vector<std::vector<std::int32_t>> additive_;
    std::vector<std::int32_t> order_;
    std::unordered_map<const KaMaterial*, int> groups_;
};

} // namespace ra7
