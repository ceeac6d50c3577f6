#pragma once
// The converter's preview: a loaded OBJ model drawn as it is, in immediate
// mode, while the editor holds it for conversion. Needs a current context.

#include "OBJLoader.h"

namespace ra7 {

// Adds the texture files the model's materials found to `Textures` (keyed by
// the path found), so that DrawModel can bind them. An image that cannot be
// decoded is reported in the log and left out.
void LoadModelTextures(const TModel& model);

// For each group: with materials, the fixed-function colours and shininess of
// its material and its texture (2D texturing on when the entry names a map,
// off otherwise); then every face as triangles (3 corners), quads (4) or a
// polygon, each corner with its normal and texture coordinate when it has
// them. Leaves 2D texturing off.
void DrawModel(const TModel& model);

} // namespace ra7
