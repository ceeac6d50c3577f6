#include "ui/TGLView.h"

#include "runtime/DotWindow.h"
#include "runtime/Ka7GlobalEngine.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace ra7::editor {

TGLView::TGLView(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("GLView"));
}

void TGLView::initializeGL()
{
    KeepGLDriverLoaded();
    KeepFrameMemoryInHeap();
    if (onInitialize)
        onInitialize();
}

void TGLView::paintGL()
{
    if (onPaint)
        onPaint();
}

bool QtContextPlatform::createContext(const ContextRequest& request)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    const int channel = request.colorBits >= 24 ? 8 : request.colorBits / 3;
    format.setRedBufferSize(channel);
    format.setGreenBufferSize(channel);
    format.setBlueBufferSize(channel);
    format.setAlphaBufferSize(request.alphaBits > 0 ? 8 : 0);
    format.setDepthBufferSize(request.depthBits);
    format.setStencilBufferSize(request.stencilBits);
    format.setSamples(request.sampleBuffers > 0 ? request.samples : 0);
    format.setSwapBehavior(request.doubleBuffer ? QSurfaceFormat::DoubleBuffer
                                                : QSurfaceFormat::SingleBuffer);
    format.setSwapInterval(Settings.VSync ? 1 : 0);
    view_.setFormat(format);
    return true;
}

void QtContextPlatform::makeCurrent()
{
    view_.makeCurrent();
}

bool QtContextPlatform::setSwapInterval(int interval)
{
    return view_.format().swapInterval() == interval;
}

std::uint32_t QtContextPlatform::windowFramebuffer() const
{
    return view_.defaultFramebufferObject();
}

void* QtContextPlatform::procAddress(const char* name)
{
    QOpenGLContext* context = view_.context();
    if (!context)
        return nullptr;
    return reinterpret_cast<void*>(context->getProcAddress(name));
}

} // namespace ra7::editor
