#pragma once
// The scene as it was before scripts played. Playing a script is not an
// edit of the history; instead, every object a played script names is
// remembered the first time (its placement, visibility, links and, for a
// particle system, the settings and the particle count that script commands
// change), so that "Вернуть сцену" can put them all back. Objects are kept
// by name and found again by name: a script may rebuild a particle system
// in its slot, and the user may delete or rename objects meanwhile.

#include "core/ObjectCommands.h"
#include "math/Ka7Transform.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ra7 {
class KaAnimScript;
class KaObjArray;
class KaParSystem;
} // namespace ra7

namespace ra7::editor {

class SceneBeforeScripts {
public:
    // Remembers the objects the script names (and their parents, whose child
    // lists "attach" and "deattach" change) that are not remembered yet.
    void Remember(const KaObjArray& scene, const KaAnimScript& script);
    bool Empty() const { return objects_.empty(); }
    std::vector<std::string> Names() const;

    // The same objects as they are now (to undo a Restore).
    SceneBeforeScripts Now(const KaObjArray& scene) const;
    // Puts every remembered object that still exists back as it was.
    void Restore(KaObjArray& scene) const;

private:
    struct Particles {
        std::int32_t count = 0;
        float minLife = 0, maxLife = 0, minSpeed = 0, maxSpeed = 0, minSize = 0, maxSize = 0;
        float spread = 0, sizeAdd = 0;
        std::array<float, 4> color = {};
        Vector3 emitDirection;
        std::string textureName;
    };
    struct Object {
        std::string name;
        std::optional<KaTransformation> trans;
        bool visible = true;
        std::optional<Particles> particles;
    };

    void rememberObject(const KaObjArray& scene, const std::string& name);
    static Particles particlesOf(const KaParSystem& system);
    static void restoreParticles(KaObjArray& scene, const std::string& name, const Particles& particles);

    std::vector<Object> objects_;
    LinkSnapshot links_;
    std::vector<std::string> linkNames_;
};

// The names a script command may act on: the name as the command holds it
// and its form with "." for ",", since the parser turns every "." of a line
// into "," and an object may carry either in its name.
std::vector<std::string> ScriptObjectNames(const KaAnimScript& script);

} // namespace ra7::editor
