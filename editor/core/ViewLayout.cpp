#include "core/ViewLayout.h"

#include "math/DotMath.h"
#include "render/RenderTargets.h"
#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace ra7::editor {

std::int32_t LeftEdge(bool treeVisible)
{
    return treeVisible ? kLeftEdgeWithTree : kLeftEdgeWithoutTree;
}

Viewport ViewportFor(std::int32_t clientWidth, std::int32_t clientHeight, bool showPanels, bool treeVisible)
{
    Viewport view{0, 0, clientWidth, clientHeight};
    if (showPanels) {
        const std::int32_t left = LeftEdge(treeVisible);
        view = Viewport{left, kAnimPanelHeight, clientWidth - kToolPanelWidth - left,
                        clientHeight - kAnimPanelHeight};
    }
    // A window squeezed below its panels still gets a valid, non-empty view
    // (a zero height would make the aspect infinite).
    view.width = std::max(view.width, 1);
    view.height = std::max(view.height, 1);
    return view;
}

Matrix4 ProjectionFor(const Viewport& view)
{
    const float aspect = static_cast<float>(view.width) / static_cast<float>(view.height);
    return PerspectiveMatrix(static_cast<float>(FieldOfView), aspect, NearPlane, FarPlane);
}

void ApplyViewport(std::int32_t clientWidth, std::int32_t clientHeight, const Viewport& view)
{
    Settings.ScreenWidth = clientWidth;
    Settings.ScreenHeight = clientHeight;
    glViewport(view.x, view.y, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    const Matrix4 projection = ProjectionFor(view);
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_MODELVIEW);
}

} // namespace ra7::editor
