#include "render/LitPasses.h"

#include "effects/Ka7Light.h"
#include "resources/DrawState.h"
#include "resources/Ka7Material.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace ra7 {
namespace {

bool reaches(const KaLight& light, const Vector3& position)
{
    const float range = light.LightParams[0];
    return light.Static || range == 0.0f || DistanceSqr(position, light.Trans->Position) <= range * range;
}

void additiveState()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthFunc(GL_EQUAL);
}

} // namespace

void LitPasses::Clear()
{
    entries_.clear();
    added_ = 0;
    groups_.clear();
    collectLights();
}

void LitPasses::collectLights()
{
    lights_.clear();
    for (const std::int32_t index : SceneObjects->LightList)
        lights_.push_back(static_cast<const KaLight*>(SceneObjects->GetItem(index)));
    additive_.resize(lights_.size());
    for (auto& list : additive_)
        list.clear();
}

int LitPasses::groupOf(const KaMaterial* material, bool noShaders)
{
    const auto [slot, added] = groups_.try_emplace(material, static_cast<int>(groups_.size()));
    return slot->second * 2 + (noShaders ? 1 : 0);
}

void LitPasses::Add(KaGeometry& geometry, const Vector3& position)
{
    ++added_;
    const KaGeometry::PreparedDraw draw = geometry.PrepareDraw();
    if (!draw.mesh)
        return;
    const auto self = static_cast<std::int32_t>(entries_.size());
    int first = -1;
    for (std::size_t l = 0; l < lights_.size(); ++l) {
        if (!reaches(*lights_[l], position))
            continue;
        if (first < 0)
            first = static_cast<int>(l);
        else
            additive_[l].push_back(self);
    }
    entries_.push_back(
        {&geometry, draw, draw.Glows(), draw.Shaded(), groupOf(draw.material, draw.noShaders), first});
}

void LitPasses::sortByGroup(std::vector<std::int32_t>& order, bool byFirstLight) const
{
    const auto before = [&](std::int32_t a, std::int32_t b) {
        const Entry& x = entries_[static_cast<std::size_t>(a)];
        const Entry& y = entries_[static_cast<std::size_t>(b)];
        if (byFirstLight && x.firstLight != y.firstLight)
            return x.firstLight < y.firstLight;
        return x.group < y.group;
    };
    // A scene of few materials in list order is often sorted already.
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::stable_sort(order.begin(), order.end(), before);
}

void LitPasses::drawGroups(OrderIt first, OrderIt last)
{
    const MaterialTextureTracking tracking;
    const Entry* applied = nullptr;
    for (OrderIt it = first; it != last; ++it) {
        const Entry& entry = entries_[static_cast<std::size_t>(*it)];
        // The shaders' parameter callbacks read the object being drawn;
        // nothing else does while the passes run.
        if (entry.shaded)
            CurrentObjectName = entry.geometry->Name();
        if (!applied || applied->group != entry.group) {
            if (applied)
                applied->draw.material->Unapply();
            NoShaders = entry.draw.noShaders;
            entry.draw.material->Apply();
            NoShaders = false;
            applied = &entry;
        } else if (!entry.draw.noShaders) {
            entry.draw.material->ApplyToNextObject();
        }
        entry.draw.Draw();
    }
    if (applied)
        applied->draw.material->Unapply();
}

void LitPasses::drawFirstPasses()
{
    order_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].firstLight >= 0)
            order_.push_back(static_cast<std::int32_t>(i));
    sortByGroup(order_, true);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    MultiPass = false;
    // Runs of one first light: the light is applied once per run.
    OrderIt run = order_.cbegin();
    while (run != order_.cend()) {
        const int light = entries_[static_cast<std::size_t>(*run)].firstLight;
        const OrderIt end = std::find_if(run, order_.cend(), [&](std::int32_t i) {
            return entries_[static_cast<std::size_t>(i)].firstLight != light;
        });
        lights_[static_cast<std::size_t>(light)]->ApplyLight();
        drawGroups(run, end);
        run = end;
    }
    // What no light reaches is drawn by its self-illumination alone, opaque
    // like a first pass.
    if (!Settings.UseBloom)
        for (Entry& entry : entries_)
            if (entry.firstLight < 0 && entry.glows)
                entry.geometry->RenderSelfIllumination();
}

void LitPasses::drawAdditivePasses()
{
    bool stateSet = false;
    for (std::size_t l = 0; l < lights_.size(); ++l) {
        std::vector<std::int32_t>& order = additive_[l];
        if (order.empty())
            continue;
        if (!stateSet) {
            additiveState();
            MultiPass = true;
            stateSet = true;
        }
        sortByGroup(order, false);
        lights_[l]->ApplyLight();
        drawGroups(order.begin(), order.end());
    }
    MultiPass = false;
}

void LitPasses::drawSelfIllumination()
{
    if (Settings.UseBloom)
        return;
    bool stateSet = false;
    for (Entry& entry : entries_) {
        if (entry.firstLight < 0 || !entry.glows)
            continue;
        if (!stateSet) {
            additiveState();
            stateSet = true;
        }
        entry.geometry->RenderSelfIllumination();
    }
}

void LitPasses::Draw()
{
    if (added_ == 0)
        return;
    drawFirstPasses();
    drawAdditivePasses();
    drawSelfIllumination();
    glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
}

} // namespace ra7
