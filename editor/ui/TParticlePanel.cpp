#include "core/EditorDocument.h"
#include "core/NewObjects.h"
#include "core/PageRules.h"
#include "core/PropertyEdits.h"
#include "core/PropertyFields.h"
#include "effects/Ka7ParSystem.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/PropertyControls.h"
#include "ui/PropertyPanels.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ra7::editor {

namespace {

// A box being typed into wears the tool-tip colour and is not refilled
// until Enter or leaving it applies (or refuses) the text.
void markEditing(QLineEdit& box, bool editing)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(editing ? QPalette::ToolTipBase : QPalette::Base));
    box.setPalette(palette);
    box.setProperty("editing", editing);
}

} // namespace

TParticlePanel::TParticlePanel(EditorServices& services, UnendingLifeMemory& lifetimes, QWidget* parent)
    : TKindPanel(services, KaObjKind::ParSystem, parent), lifetimes_(lifetimes)
{
    setObjectName(QStringLiteral("ParticlePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const auto [minLife, maxLife] = addRange(*layout, ParticleRanges()[0]);
    lifeBars_ = {minLife, maxLife};
    unending_ = new QCheckBox(QStringLiteral("Безсмертны"), this);
    unending_->setObjectName(QStringLiteral("UnendingBox"));
    layout->addWidget(unending_);
    connect(unending_, &QCheckBox::clicked, this, [this](bool on) {
        edit([this, on](KaObjArray& scene, const std::string& name) {
            return UnendingLifeEdit(scene, name, on, lifetimes_);
        });
    });
    addRange(*layout, ParticleRanges()[1]);
    addRange(*layout, ParticleRanges()[2]);
    addBar(*layout, ParticleSpreadField());
    addBar(*layout, ParticleSizeAddField());
    addColour(*layout, ParticleColourField());

    layout->addWidget(new QLabel(QStringLiteral("Направление:"), this));
    auto* direction = new QHBoxLayout();
    direction->setSpacing(2);
    for (std::size_t axis = 0; axis < direction_.size(); ++axis) {
        const TypedField& field = ParticleDirectionFields()[axis];
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(field.id.data(), static_cast<qsizetype>(field.id.size())));
        box->setToolTip(QString::fromUtf8(field.title.data(), static_cast<qsizetype>(field.title.size())));
        direction_[axis] = box;
        direction->addWidget(box);
        connect(box, &QLineEdit::textEdited, this, [box] { markEditing(*box, true); });
        connect(box, &QLineEdit::editingFinished, this, [this, axis] { directionTyped(axis); });
    }
    layout->addLayout(direction);

    const NameField& texture = ParticleTextureField();
    texture_ = new TNameRow(texture.id, texture.label, this);
    layout->addWidget(texture_);
    connect(texture_, &TNameRow::chooseClicked, this, [this] { chooseTexture(ParticleTextureField()); });
    addFlag(*layout, SpaceDustField());

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("ParticleCount"));
    layout->addWidget(count_);
    auto* recount = new QPushButton(QStringLiteral("Перезадать количество"), this);
    recount->setObjectName(QStringLiteral("ParticleRecount"));
    layout->addWidget(recount);
    connect(recount, &QPushButton::clicked, this, &TParticlePanel::askCount);
}

void TParticlePanel::fillOwn(const KaSceneObj& object)
{
    const auto& system = static_cast<const KaParSystem&>(object);
    const bool unending = HasUnendingLives(object);
    unending_->setChecked(unending);
    // Unending lives have no lifetime a bar could show or take.
    for (TBarRow* bar : lifeBars_)
        bar->setEnabled(!unending);
    for (std::size_t axis = 0; axis < direction_.size(); ++axis)
        if (!direction_[axis]->property("editing").toBool())
            direction_[axis]->setText(
                QString::fromStdString(FormatBoxNumber(ParticleDirectionFields()[axis].read(object))));
    texture_->Show(system.TextureName);
    count_->setText(QStringLiteral("Кол-во частиц: %1").arg(system.Count()));
}

void TParticlePanel::directionTyped(std::size_t axis)
{
    QLineEdit& box = *direction_[axis];
    if (!box.property("editing").toBool())
        return;
    markEditing(box, false);
    const TypedField& field = ParticleDirectionFields()[axis];
    const std::string text = box.text().toStdString();
    if (const std::optional<float> value = ParseTypedNumber(text, field.limits)) {
        edit([&field, value](KaObjArray& scene, const std::string& name) {
            return TypedEdit(scene, name, field, *value);
        });
        return;
    }
    services().report("Направление: <" + text + "> не число; осталось прежнее значение");
    if (services().document)
        if (const KaSceneObj* system = services().document->Scene().FindByName(selectedName()))
            Fill(*system);
}

void TParticlePanel::askCount()
{
    const KaSceneObj* object =
        services().document ? services().document->Scene().FindByName(selectedName()) : nullptr;
    if (!object || object->Kind() != KaObjKind::ParSystem)
        return;
    const std::int32_t now = static_cast<const KaParSystem&>(*object).Count();
    const auto answer =
        services().dialogs.AskText(kParticleCountTitle, kParticleCountPrompt, std::to_string(now));
    if (!answer)
        return;
    const ParticleCountAnswer parsed = ParseParticleCount(*answer);
    if (parsed.problem) {
        services().dialogs.ShowMessage(*parsed.problem);
        return;
    }
    if (!parsed.count || *parsed.count == now)
        return;
    edit([count = *parsed.count](KaObjArray& scene, const std::string& name) {
        return ParticleCountEdit(scene, name, count);
    });
}

} // namespace ra7::editor
