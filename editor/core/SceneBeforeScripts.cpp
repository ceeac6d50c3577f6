#include "core/SceneBeforeScripts.h"

#include "anim/Ka7AnimScript.h"
#include "effects/Ka7ParSystem.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>

namespace ra7::editor {

std::vector<std::string> ScriptObjectNames(const KaAnimScript& script)
{
    std::vector<std::string> names;
    auto add = [&names](const std::string& name) {
        if (name.empty())
            return;
        std::string dotted = name;
        std::replace(dotted.begin(), dotted.end(), ',', '.');
        for (const std::string& form : {name, dotted})
            if (std::find(names.begin(), names.end(), form) == names.end())
                names.push_back(form);
    };
    for (const KaAnimCom& command : script.Commands) {
        add(command.ObjName);
        if (command.Command == "attach")
            add(command.ObjName2);
    }
    return names;
}

std::vector<std::string> SceneBeforeScripts::Names() const
{
    std::vector<std::string> names;
    for (const Object& object : objects_)
        names.push_back(object.name);
    return names;
}

void SceneBeforeScripts::Remember(const KaObjArray& scene, const KaAnimScript& script)
{
    std::vector<std::string> linked;
    for (const std::string& name : ScriptObjectNames(script)) {
        const KaSceneObj* object = scene.FindByName(name);
        if (!object)
            continue;
        rememberObject(scene, name);
        linked.push_back(name);
        if (!object->ParentName.empty())
            linked.push_back(object->ParentName);
    }
    links_.Take(scene, linked);
    for (const std::string& name : linked)
        if (std::find(linkNames_.begin(), linkNames_.end(), name) == linkNames_.end())
            linkNames_.push_back(name);
}

void SceneBeforeScripts::rememberObject(const KaObjArray& scene, const std::string& name)
{
    const bool known = std::any_of(objects_.begin(), objects_.end(),
                                   [&](const Object& object) { return object.name == name; });
    const KaSceneObj* object = scene.FindByName(name);
    if (known || !object)
        return;
    Object remembered{name, std::nullopt, object->Visible, std::nullopt};
    if (object->Trans)
        remembered.trans = *object->Trans;
    if (const auto* system = dynamic_cast<const KaParSystem*>(object))
        remembered.particles = particlesOf(*system);
    objects_.push_back(std::move(remembered));
}

SceneBeforeScripts SceneBeforeScripts::Now(const KaObjArray& scene) const
{
    SceneBeforeScripts now;
    for (const Object& object : objects_)
        now.rememberObject(scene, object.name);
    now.links_.Take(scene, linkNames_);
    now.linkNames_ = linkNames_;
    return now;
}

void SceneBeforeScripts::Restore(KaObjArray& scene) const
{
    // A rebuilt particle system goes back first, so that the links and the
    // placement below land on the object that stays.
    for (const Object& object : objects_)
        if (object.particles)
            restoreParticles(scene, object.name, *object.particles);
    links_.Restore(scene);
    for (const Object& remembered : objects_) {
        KaSceneObj* object = scene.FindByName(remembered.name);
        if (!object)
            continue;
        if (remembered.trans && object->Trans)
            object->Trans->Assign(*remembered.trans);
        object->Visible = remembered.visible;
    }
    scene.MarkChanged();
}

SceneBeforeScripts::Particles SceneBeforeScripts::particlesOf(const KaParSystem& system)
{
    Particles p;
    p.count = system.Count();
    p.minLife = system.MinLife;
    p.maxLife = system.MaxLife;
    p.minSpeed = system.MinSpeed;
    p.maxSpeed = system.MaxSpeed;
    p.minSize = system.MinSize;
    p.maxSize = system.MaxSize;
    p.spread = system.Spread;
    p.sizeAdd = system.SizeAdd;
    p.color = system.Color;
    p.emitDirection = system.EmitDirection;
    p.textureName = system.TextureName;
    return p;
}

void SceneBeforeScripts::restoreParticles(KaObjArray& scene, const std::string& name, const Particles& p)
{
    auto* system = dynamic_cast<KaParSystem*>(scene.FindByName(name));
    if (!system)
        return;
    if (system->Count() != p.count) {
        // Rebuilt as "parsetcount" does: a new system with the old count
        // takes the settings and the slot; the one it replaces must not take
        // the shared name out of its parent's child list as it goes.
        auto rebuilt = std::make_unique<KaParSystem>(p.count);
        rebuilt->Assign(*system);
        rebuilt->SizeAdd = system->SizeAdd;
        system->ParentName.clear();
        KaParSystem* kept = rebuilt.get();
        scene.SetItem(scene.IndexOfName(name), std::move(rebuilt));
        system = kept;
    }
    system->MinLife = p.minLife;
    system->MaxLife = p.maxLife;
    system->MinSpeed = p.minSpeed;
    system->MaxSpeed = p.maxSpeed;
    system->MinSize = p.minSize;
    system->MaxSize = p.maxSize;
    system->Spread = p.spread;
    system->SizeAdd = p.sizeAdd;
    system->Color = p.color;
    system->EmitDirection = p.emitDirection;
    system->TextureName = p.textureName;
}

} // namespace ra7::editor
