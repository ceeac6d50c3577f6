#pragma once
// The scene-object factory of the effects layer: lights, sprites, particle
// systems and sounds. It is installed before main runs; a program only needs
// it to install it again after installing another.

#include "scene/SceneObjectKinds.h"

namespace ra7 {

const SceneObjectFactory& EffectObjectFactory();

} // namespace ra7
