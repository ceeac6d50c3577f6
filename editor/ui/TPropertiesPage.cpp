#include "ui/TPropertiesPage.h"

#include "core/EditorDocument.h"
#include "core/PropertyFields.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/PropertyPanels.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

TPropertiesPage::TPropertiesPage(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("PropertiesPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("PropertiesScroll"));
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);

    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    kind_ = new QLabel(content);
    kind_->setObjectName(QStringLiteral("KindLabel"));
    QFont bold = kind_->font();
    bold.setBold(true);
    kind_->setFont(bold);
    layout->addWidget(kind_);
    const FlagField& staticField = StaticField();
    static_ = new QCheckBox(QString::fromUtf8(staticField.label.data()), content);
    static_->setObjectName(QStringLiteral("StaticBox"));
    layout->addWidget(static_);
    connect(static_, &QCheckBox::clicked, this, [this](bool on) {
        if (!document_ || document_->Selection().SelectedName().empty())
            return;
        try {
            document_->Execute(
                FlagEdit(document_->Scene(), document_->Selection().SelectedName(), StaticField(), on));
        } catch (const std::exception& e) {
            services_.report(e.what());
            Refresh();
        }
    });

    // In the order the kinds are tested: the first match wins.
    panels_ = {new TSpritePanel(services, content),
               new TLightPanel(services, content),
               new TCameraPanel(services, content),
               new TGeometryPanel(services, content),
               new TParticlePanel(services, lifetimes_, content),
               new TSoundPanel(services, content)};
    for (TKindPanel* panel : panels_)
        layout->addWidget(panel);
    layout->addStretch();
    scroll->setWidget(content);
    Refresh();
}

TPropertiesPage::~TPropertiesPage()
{
    if (document_)
        document_->Unlisten(listener_);
}

void TPropertiesPage::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](std::uint32_t changes) { documentChanged(changes); });
    Refresh();
}

void TPropertiesPage::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Selection) || Has(changes, DocChange::Properties) ||
        Has(changes, DocChange::Objects))
        Refresh();
}

void TPropertiesPage::Refresh()
{
    const KaSceneObj* object =
        document_ ? document_->Scene().FindByName(document_->Selection().SelectedName()) : nullptr;
    TKindPanel* shown = nullptr;
    // The panel that stays is never hidden on the way: that would take the
    // focus from the bar being moved and end its step.
    for (TKindPanel* panel : panels_) {
        const bool match = object && !shown && panel->Kind() == object->Kind();
        if (match)
            shown = panel;
        panel->setVisible(match);
    }
    static_->setVisible(object != nullptr);
    if (!object) {
        kind_->setText(QStringLiteral("нет выбранных объектов"));
        return;
    }
    {
        const QSignalBlocker quiet(static_);
        static_->setChecked(object->Static);
    }
    kind_->setText(QString::fromUtf8(KindCaption(object->Kind()).data()));
    if (shown)
        shown->Fill(*object);
}

TKindPanel* TPropertiesPage::ShownPanel() const
{
    for (TKindPanel* panel : panels_)
        if (!panel->isHidden())
            return panel;
    return nullptr;
}

void TPropertiesPage::Tick()
{
    TKindPanel* panel = ShownPanel();
    if (!panel || !document_)
        return;
    if (KaSceneObj* object = document_->Scene().FindByName(document_->Selection().SelectedName()))
        if (object->Kind() == panel->Kind())
            panel->Tick(*object);
}

} // namespace ra7::editor
