#include "ui/TSelectionPanel.h"

#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/PlacementCommands.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/EditorPage.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>

namespace ra7::editor {

namespace {

constexpr const char* kEditing = "editing";
constexpr std::array<GizmoAxis, 3> kAxes = {GizmoAxis::X, GizmoAxis::Y, GizmoAxis::Z};

bool isEditing(const QLineEdit& box)
{
    return box.property(kEditing).toBool();
}

} // namespace

TSelectionPanel::TSelectionPanel(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("SelectionBoxes"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("liD"));
    name_->setToolTip(QStringLiteral("Имя выделенного объекта"));
    layout->addWidget(name_, 0, 0, 1, 3);
    connect(name_, &QLineEdit::editingFinished, this, &TSelectionPanel::applyName);
    connect(name_, &QLineEdit::textEdited, this, [this] {
        if (!hasSelection())
            name_->clear();
        else
            setEditing(*name_, true);
    });
    name_->installEventFilter(this);

    const char* names[] = {"X", "Y", "Z"};
    for (const GizmoAxis axis : kAxes) {
        const std::size_t i = index(axis);
        const int row = static_cast<int>(i) + 1;
        layout->addWidget(new QLabel(QString::fromLatin1(names[i]) + QStringLiteral(":"), this), row, 0);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Coord") + QString::fromLatin1(names[i]));
        layout->addWidget(box, row, 1);
        auto* minus = new QPushButton(QStringLiteral("-"), this);
        minus->setObjectName(QStringLiteral("Min") + QString::fromLatin1(names[i]));
        minus->setFixedWidth(24);
        minus->setToolTip(QStringLiteral("Сменить знак координаты"));
        layout->addWidget(minus, row, 2);
        coords_[i] = box;
        negates_[i] = minus;
        connect(box, &QLineEdit::editingFinished, this, [this, axis] { applyCoordinate(axis); });
        connect(box, &QLineEdit::textEdited, this, [this, box] {
            if (!hasSelection())
                box->clear();
            else
                setEditing(*box, true);
        });
        connect(minus, &QPushButton::clicked, this, [this, axis] { negate(axis); });
        box->installEventFilter(this);
    }
}

TSelectionPanel::~TSelectionPanel()
{
    if (document_)
        document_->Unlisten(listener_);
}

void TSelectionPanel::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) { documentChanged(changes); });
    showName();
    Refresh();
}

bool TSelectionPanel::hasSelection() const
{
    return document_ && !document_->Selection().SelectedName().empty();
}

bool TSelectionPanel::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusIn && hasSelection())
        setEditing(*box, true);
    // Leaving a box whose text did not change applies nothing, but the box
    // is no longer being edited.
    if (box && event->type() == QEvent::FocusOut && isEditing(*box) && !box->isModified()) {
        setEditing(*box, false);
        if (box == name_)
            showName();
        else
            Refresh();
    }
    return QWidget::eventFilter(watched, event);
}

void TSelectionPanel::setEditing(QLineEdit& box, bool editing)
{
    if (isEditing(box) == editing)
        return;
    box.setProperty(kEditing, editing);
    QPalette colours = box.palette();
    colours.setColor(QPalette::Base,
                     editing ? palette().color(QPalette::ToolTipBase) : palette().color(QPalette::Base));
    box.setPalette(colours);
}

void TSelectionPanel::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Selection) || Has(changes, DocChange::Objects))
        showName();
    if (Has(changes, DocChange::Selection) || Has(changes, DocChange::Properties))
        Refresh();
}

void TSelectionPanel::showName()
{
    if (isEditing(*name_))
        return;
    const bool selected = hasSelection();
    name_->setText(selected ? QString::fromStdString(document_->Selection().SelectedName()) : QString());
    for (QPushButton* minus : negates_)
        minus->setEnabled(selected);
}

void TSelectionPanel::Refresh()
{
    const KaSceneObj* object =
        hasSelection() ? document_->Scene().FindByName(document_->Selection().SelectedName()) : nullptr;
    for (const GizmoAxis axis : kAxes) {
        QLineEdit& box = *coords_[index(axis)];
        if (isEditing(box))
            continue;
        QString text;
        if (object && object->Trans) {
            const Vector3& p = object->Trans->Position;
            text = QString::fromStdString(FormatBoxNumber(axis == GizmoAxis::X   ? p.x
                                                          : axis == GizmoAxis::Y ? p.y
                                                                                 : p.z));
        }
        if (box.text() != text)
            box.setText(text);
    }
}

void TSelectionPanel::report(const std::string& text)
{
    if (services_.report)
        services_.report(text);
}

void TSelectionPanel::applyName()
{
    if (!isEditing(*name_))
        return;
    setEditing(*name_, false);
    name_->setModified(false);
    if (!document_)
        return;
    try {
        if (auto refusal = ApplyNameText(*document_, name_->text().toStdString()))
            report(*refusal);
    } catch (const std::exception& e) {
        report(e.what());
    }
    showName();
}

void TSelectionPanel::applyCoordinate(GizmoAxis axis)
{
    QLineEdit& box = *coords_[index(axis)];
    if (!isEditing(box))
        return;
    setEditing(box, false);
    box.setModified(false);
    if (!document_)
        return;
    try {
        if (auto refusal = ApplyCoordinateText(*document_, axis, box.text().toStdString()))
            report(*refusal);
    } catch (const std::exception& e) {
        report(e.what());
    }
    // The box shows what the object has now, whatever was typed.
    Refresh();
}

void TSelectionPanel::negate(GizmoAxis axis)
{
    if (!document_)
        return;
    try {
        NegateCoordinate(*document_, axis);
    } catch (const std::exception& e) {
        report(e.what());
    }
    Refresh();
}

} // namespace ra7::editor
