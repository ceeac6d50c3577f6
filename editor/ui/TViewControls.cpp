#include "ui/TViewControls.h"

#include "ui/EditorPage.h"
#include "ui/TGLView.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace ra7::editor {

namespace {

PointerState pointerOf(const QPointF& at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    PointerState pointer;
    pointer.x = at.x();
    pointer.y = at.y();
    pointer.left = buttons.testFlag(Qt::LeftButton);
    pointer.middle = buttons.testFlag(Qt::MiddleButton);
    pointer.right = buttons.testFlag(Qt::RightButton);
    pointer.ctrl = modifiers.testFlag(Qt::ControlModifier);
    pointer.shift = modifiers.testFlag(Qt::ShiftModifier);
    return pointer;
}

std::optional<MouseButton> buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    case Qt::RightButton:
        return MouseButton::Right;
    default:
        return std::nullopt;
    }
}

ViewKey keyOf(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        return ViewKey::Escape;
    case Qt::Key_W:
        return ViewKey::W;
    case Qt::Key_A:
        return ViewKey::A;
    case Qt::Key_S:
        return ViewKey::S;
    case Qt::Key_D:
        return ViewKey::D;
    case Qt::Key_Q:
        return ViewKey::Q;
    case Qt::Key_E:
        return ViewKey::E;
    case Qt::Key_F:
        return ViewKey::F;
    case Qt::Key_Shift:
        return ViewKey::Shift;
    default:
        return ViewKey::Other;
    }
}

bool isTextEntry(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

} // namespace

TViewControls::TViewControls(TGLView& view, EditorServices& services, QWidget* toolBarParent)
    : QObject(&view), view_(view), services_(services)
{
    toolBar_ = new QToolBar(QStringLiteral("Гизмо"), toolBarParent);
    toolBar_->setObjectName(QStringLiteral("GizmoToolBar"));
    toolBar_->setMovable(false);
    move_ = new QToolButton(toolBar_);
    move_->setObjectName(QStringLiteral("MOVEBut"));
    move_->setText(QStringLiteral("Перемещать"));
    move_->setToolTip(QStringLiteral("Стрелки: тянуть выделенное вдоль оси"));
    rotate_ = new QToolButton(toolBar_);
    rotate_->setObjectName(QStringLiteral("ROTBut"));
    rotate_->setText(QStringLiteral("Вращать"));
    rotate_->setToolTip(QStringLiteral("Кольца: поворачивать выделенное вокруг оси"));
    auto* group = new QButtonGroup(this);
    for (QToolButton* button : {move_, rotate_}) {
        button->setCheckable(true);
        group->addButton(button);
        toolBar_->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { setMode(button); });
    }
    move_->setChecked(true);
    toolBar_->addSeparator();
    globalAxes_ = new QCheckBox(QStringLiteral("Глобальные оси"), toolBar_);
    globalAxes_->setObjectName(QStringLiteral("GlobAxisBox"));
    globalAxes_->setToolTip(QStringLiteral("Вращать вокруг осей мира, а не собственных осей объекта"));
    toolBar_->addWidget(globalAxes_);
    connect(globalAxes_, &QCheckBox::toggled, this, [this](bool on) {
        if (input_)
            input_->Gizmo().SetGlobalAxes(on);
    });

    view_.setMouseTracking(true);
    view_.setFocusPolicy(Qt::StrongFocus);
    view_.installEventFilter(this);
}

TViewControls::~TViewControls() = default;

void TViewControls::Attach(EditorDocument& document, GizmoArrows arrows,
                           std::function<ViewGeometry()> geometry)
{
    ViewInput::Services services;
    services.makeCurrent = [this] { view_.makeCurrent(); };
    services.geometry = std::move(geometry);
    services.report = [this](const std::string& text) {
        if (services_.report)
            services_.report(text);
    };
    input_ = std::make_unique<ViewInput>(document, arrows, std::move(services));
    input_->Gizmo().SetMode(rotate_->isChecked() ? GizmoMode::Rotate : GizmoMode::Move);
    input_->Gizmo().SetGlobalAxes(globalAxes_->isChecked());
}

void TViewControls::Detach()
{
    if (!input_)
        return;
    view_.makeCurrent();
    input_->ReleaseGL();
    input_.reset();
}

void TViewControls::setMode(const QObject* sender)
{
    // One handler for both buttons, told apart by their names.
    const bool rotate = sender && sender->objectName() == QStringLiteral("ROTBut");
    if (input_)
        input_->Gizmo().SetMode(rotate ? GizmoMode::Rotate : GizmoMode::Move);
}

bool TViewControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &view_ || !input_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        view_.setFocus(Qt::MouseFocusReason);
        if (const auto button = buttonOf(mouse->button()))
            input_->Press(*button, pointerOf(mouse->position(), mouse->buttons(), mouse->modifiers()));
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        input_->Move(pointerOf(mouse->position(), mouse->buttons(), mouse->modifiers()));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (const auto button = buttonOf(mouse->button()))
            input_->Release(*button, pointerOf(mouse->position(), mouse->buttons(), mouse->modifiers()));
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        input_->Wheel(wheel->angleDelta().y(), wheel->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return keyOf(key->key()) != ViewKey::Other;
        return input_->Key(keyOf(key->key()), event->type() == QEvent::KeyPress);
    }
    case QEvent::Enter:
        // The view's keys (F, Escape, W/A/S/D) work where the mouse is, as in
        // other 3-D editors; a box the user is typing into keeps the focus.
        if (!isTextEntry(QApplication::focusWidget()))
            view_.setFocus(Qt::MouseFocusReason);
        break;
    case QEvent::Leave:
        input_->Leave();
        break;
    case QEvent::FocusOut:
        input_->FocusLost();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ra7::editor
