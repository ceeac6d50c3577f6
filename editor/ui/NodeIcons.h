#pragma once
// The tree's small images of the six object kinds, drawn by the editor
// itself (no image files): a box, a star, a bulb, a cloud of dots, a camera
// and a loudspeaker.

#include "core/SceneTree.h"

#include <QIcon>

namespace ra7::editor {

// The image of a kind, 16 × 16, made once.
const QIcon& NodeIcon(NodeImage image);

} // namespace ra7::editor
