#include "anim/Ka7AnimScriptCommands.h"

#include "effects/Ka7ParSystem.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneFile.h"
#include "scene/SceneHierarchy.h"

#include <algorithm>
#include <cmath>

namespace ra7 {

namespace {

// The name as written first (modelling tools name objects "CUBE.001"), then
// in its "," form: scripts read every "." as "," once, and names that exist
// only in that form still work.
KaSceneObj* findObject(const std::string& name)
{
    if (!SceneObjects)
        return nullptr;
    if (KaSceneObj* object = SceneObjects->FindByName(name))
        return object;
    if (name.find('.') == std::string::npos)
        return nullptr;
    std::string commaForm = name;
    std::replace(commaForm.begin(), commaForm.end(), '.', ',');
    return SceneObjects->FindByName(commaForm);
}

KaParSystem* findParSystem(const std::string& name)
{
    return dynamic_cast<KaParSystem*>(findObject(name));
}

void markChanged()
{
    if (SceneObjects)
        SceneObjects->MarkChanged();
}

// The share of a change that one call applies: s / T, or nothing when the
// command has no duration.
bool shareOf(float length, float step, float& share)
{
    if (length <= 0)
        return false;
    share = step / length;
    return true;
}

using Vec = Vector3;

void Move(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float length, float step)
{
    float share = 0;
    KaSceneObj* object = findObject(obj);
    if (!object || !object->Trans || !shareOf(length, step, share))
        return;
    object->Trans->Position = VectorAdd(object->Trans->Position, VectorScale(v, share));
}

void Rotate(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float length, float step)
{
    float share = 0;
    KaSceneObj* object = findObject(obj);
    if (!object || !object->Trans || !shareOf(length, step, share))
        return;
    Matrix3& r = object->Trans->Rotation;
    r = MatrixMultiply3(r, RotationFromAngles(VectorScale(v, share)));
}

// One call's factor on one axis: whole^share, so that the calls of one run
// (their shares add up to 1) multiply to exactly the whole factor whatever
// the frames. A mirror (a factor below 0) cannot be reached in steps: its
// size is used.
float stepFactor(float whole, float share)
{
    return std::pow(std::fabs(whole), share);
}

void Scale(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float length, float step)
{
    float share = 0;
    KaSceneObj* object = findObject(obj);
    if (!object || !object->Trans || !shareOf(length, step, share))
        return;
    const Vector3 d = {stepFactor(v.x, share), stepFactor(v.y, share), stepFactor(v.z, share)};
    const Matrix3 diagonal = {d.x, 0, 0, 0, d.y, 0, 0, 0, d.z};
    Matrix3& r = object->Trans->Rotation;
    r = MatrixMultiply3(diagonal, r);
}

void Attach(const std::string& obj, const std::string& obj2, Vec&, Vec&, Vec&, float, float)
{
    KaSceneObj* parent = findObject(obj);
    KaSceneObj* child = findObject(obj2);
    if (!parent || !child)
        return;
    // A loop would take both objects out of the update and the tree; the
    // script line is skipped instead, with a line in the log.
    if (IsDescendant(*SceneObjects, *parent, child->Name())) {
        LogLine("! attach " + obj + " " + obj2 + ": " + obj2 + " не может стать потомком своего потомка");
        return;
    }
    parent->AddChild(*child);
    markChanged();
}

void Deattach(const std::string& obj, const std::string&, Vec&, Vec&, Vec&, float, float)
{
    KaSceneObj* object = findObject(obj);
    if (!object)
        return;
    if (KaSceneObj* parent = findObject(object->ParentName)) {
        // A parent that does not list the object has nothing to remove.
        const std::int32_t index = parent->IndexOfChild(object->Name());
        if (index >= 0)
            parent->DeleteChild(index);
    }
    object->ParentName.clear();
    markChanged();
}

void SetVisible(const std::string& obj, const std::string&, Vec&, Vec&, Vec&, float, float)
{
    if (KaSceneObj* object = findObject(obj)) {
        object->Visible = true;
        markChanged();
    }
}

void SetInvisible(const std::string& obj, const std::string&, Vec&, Vec&, Vec&, float, float)
{
    if (KaSceneObj* object = findObject(obj)) {
        object->Visible = false;
        markChanged();
    }
}

// The particle commands that spread a change of two settings over time.
template <float KaParSystem::*First, float KaParSystem::*Second>
void AddPair(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float length, float step)
{
    float share = 0;
    KaParSystem* system = findParSystem(obj);
    if (!system || !shareOf(length, step, share))
        return;
    system->*First += v.x * share;
    system->*Second += v.y * share;
}

template <float KaParSystem::*First, float KaParSystem::*Second>
void SetPair(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float, float)
{
    if (KaParSystem* system = findParSystem(obj)) {
        system->*First = v.x;
        system->*Second = v.y;
    }
}

void AddColor(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float length, float step)
{
    float share = 0;
    KaParSystem* system = findParSystem(obj);
    if (!system || !shareOf(length, step, share))
        return;
    system->Color[0] += v.x * share;
    system->Color[1] += v.y * share;
    system->Color[2] += v.z * share;
    system->Color[3] = 1;
}

void SetColor(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float, float)
{
    if (KaParSystem* system = findParSystem(obj))
        system->Color = {v.x, v.y, v.z, 1};
}

void SetVec(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float, float)
{
    if (KaParSystem* system = findParSystem(obj))
        system->EmitDirection = v;
}

void SetTex(const std::string& obj, const std::string& texture, Vec&, Vec&, Vec&, float, float)
{
    KaParSystem* system = findParSystem(obj);
    if (!system)
        return;
    if (Textures)
        Textures->Add(texture);
    system->TextureName = texture;
}

// Rebuilds the system with another number of particles in the same slot,
// keeping its name, place in the hierarchy and settings.
void SetCount(const std::string& obj, const std::string&, Vec& v, Vec&, Vec&, float, float)
{
    KaParSystem* system = findParSystem(obj);
    if (!system)
        return;
    // The scene file's own limit: a system the script makes can be saved and
    // read back, and one number cannot exhaust memory.
    const std::int32_t count =
        std::fabs(v.x) < float(kMaxParticleCount) + 1 ? RoundHalfEven(v.x) : kMaxParticleCount + 1;
    if (count < 0 || count > kMaxParticleCount) {
        // The count as the script wrote it, not the bound it was cut to.
        LogLine("! parsetcount " + obj + ": число частиц " + formatSingle(v.x) + " вне пределов 0.." +
                std::to_string(kMaxParticleCount) + ", система не изменена");
        return;
    }
    RebuildParSystem(*SceneObjects, *system, count);
    markChanged();
}

constexpr std::array<AnimCommandEntry, kAnimCommandCount> kCommands = {{
    {"move", Move},
    {"rotate", Rotate},
    {"scale", Scale},
    {"attach", Attach},
    {"deattach", Deattach},
    {"setvisible", SetVisible},
    {"setinvisible", SetInvisible},
    {"paraddminmaxlife", AddPair<&KaParSystem::MinLife, &KaParSystem::MaxLife>},
    {"paraddminmaxspeed", AddPair<&KaParSystem::MinSpeed, &KaParSystem::MaxSpeed>},
    {"paraddminmaxsize", AddPair<&KaParSystem::MinSize, &KaParSystem::MaxSize>},
    {"paraddspread_sizeadd", AddPair<&KaParSystem::Spread, &KaParSystem::SizeAdd>},
    {"paraddcolor", AddColor},
    {"parsetminmaxlife", SetPair<&KaParSystem::MinLife, &KaParSystem::MaxLife>},
    {"parsetminmaxspeed", SetPair<&KaParSystem::MinSpeed, &KaParSystem::MaxSpeed>},
    {"parsetminmaxsize", SetPair<&KaParSystem::MinSize, &KaParSystem::MaxSize>},
    {"parsetspread_sizeadd", SetPair<&KaParSystem::Spread, &KaParSystem::SizeAdd>},
    {"parsetcolor", SetColor},
    {"parsetvec", SetVec},
    {"parsettex", SetTex},
    {"parsetcount", SetCount},
}};

} // namespace

const std::array<AnimCommandEntry, kAnimCommandCount>& AnimCommands()
{
    return kCommands;
}

AnimCommandProc FindAnimCommand(std::string_view name)
{
    for (const AnimCommandEntry& entry : kCommands)
        if (entry.Command == name)
            return entry.Proc;
    return nullptr;
}

Matrix3 RotationFromAngles(const Vector3& angles)
{
    return MatrixMultiply3(MatrixMultiply3(RotationZ(angles.z), RotationY(angles.y)), RotationX(angles.x));
}

} // namespace ra7
