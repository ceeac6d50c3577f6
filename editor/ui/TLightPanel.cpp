// The light's and the camera's panels: nothing but the bars of their tables.
#include "core/PropertyFields.h"
#include "ui/PropertyPanels.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ra7::editor {

TLightPanel::TLightPanel(EditorServices& services, QWidget* parent)
    : TKindPanel(services, KaObjKind::Light, parent)
{
    setObjectName(QStringLiteral("LightPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (const ColourFields& colour : LightColours())
        addColour(*layout, colour);
    addBar(*layout, LightRangeField());
}

TCameraPanel::TCameraPanel(EditorServices& services, QWidget* parent)
    : TKindPanel(services, KaObjKind::Camera, parent)
{
    setObjectName(QStringLiteral("CameraPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    addBar(*layout, CameraFovField());
    auto* note =
        new QLabel(QStringLiteral("Вид редактора строится с углом 45°; угол камеры хранится в сцене."), this);
    note->setWordWrap(true);
    note->setEnabled(false);
    layout->addWidget(note);
}

} // namespace ra7::editor
