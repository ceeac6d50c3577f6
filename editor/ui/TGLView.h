#pragma once
// The 3-D view: a QOpenGLWidget whose context is the engine's rendering
// context. QtContextPlatform is the editor's back end of TDotContext: it
// turns the context request into the widget's QSurfaceFormat before the
// widget is shown, and serves the context once Qt has created it.

#include "runtime/DotWindow.h"

#include <QOpenGLWidget>

#include <functional>

namespace ra7::editor {

class TGLView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TGLView(QWidget* parent = nullptr);

    // Called with the context current: once after Qt created the context,
    // and for every frame.
    std::function<void()> onInitialize;
    std::function<void()> onPaint;

protected:
    void initializeGL() override;
    void paintGL() override;
};

class QtContextPlatform : public ContextPlatform {
public:
    explicit QtContextPlatform(TGLView& view) : view_(view) {}

    // Sets the widget's format (compatibility profile, the requested bits,
    // samples and the VSYNC setting's swap interval); the context itself
    // comes when the widget is first shown.
    bool createContext(const ContextRequest& request) override;
    // The widget's frame reaches the screen when its paint handler returns.
    void swapBuffers() override {}
    void makeCurrent() override;
    bool offersMultisample() override { return true; }
    // Only the interval requested with the format is in force.
    bool setSwapInterval(int interval) override;
    std::uint32_t windowFramebuffer() const override;
    void* procAddress(const char* name) override;

private:
    TGLView& view_;
};

} // namespace ra7::editor
