#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/PropertyEdits.h"
#include "core/PropertyFields.h"
#include "effects/Ka7Sprite.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/PropertyControls.h"
#include "ui/PropertyPanels.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ra7::editor {

TSpritePanel::TSpritePanel(EditorServices& services, QWidget* parent)
    : TKindPanel(services, KaObjKind::Sprite, parent)
{
    setObjectName(QStringLiteral("SpritePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < SpriteLayers().size(); ++i) {
        const SpriteLayerFields& layer = SpriteLayers()[i];
        auto* caption =
            new QLabel(QStringLiteral("<b>%1</b>").arg(QString::fromUtf8(layer.label.data())), this);
        layout->addWidget(caption);
        addBar(*layout, layer.size);
        textures_[i] = new TNameRow(layer.texture.id, layer.texture.label, this);
        layout->addWidget(textures_[i]);
        connect(textures_[i], &TNameRow::chooseClicked, this,
                [this, &layer] { chooseTexture(layer.texture); });
        addColour(*layout, layer.colour);
    }
    for (const FlagField& flag : SpriteFlags())
        addFlag(*layout, flag);

    const NameField& flare = SpriteFlareField();
    secondary_ = new TNameRow(flare.id, flare.label, this);
    layout->addWidget(secondary_);
    connect(secondary_, &TNameRow::chooseClicked, this, &TSpritePanel::askSecondary);
    connect(secondary_, &TNameRow::boxClicked, this, &TSpritePanel::askSecondary);

    const TypedField& range = SpriteViewRangeField();
    viewRange_ = new TNameRow(range.id, range.label, this);
    layout->addWidget(viewRange_);
    connect(viewRange_, &TNameRow::chooseClicked, this, &TSpritePanel::askViewRange);
    connect(viewRange_, &TNameRow::boxClicked, this, &TSpritePanel::askViewRange);
}

void TSpritePanel::fillOwn(const KaSceneObj& object)
{
    for (std::size_t i = 0; i < textures_.size(); ++i)
        textures_[i]->Show(SpriteLayers()[i].texture.read(object));
    secondary_->Show(SpriteFlareField().read(object));
    viewRange_->Show(FormatBoxNumber(SpriteViewRangeField().read(object)));
}

void TSpritePanel::askSecondary()
{
    const std::string name = selectedName();
    const KaSceneObj* sprite = services().document ? services().document->Scene().FindByName(name) : nullptr;
    if (!sprite)
        return;
    const NameField& field = SpriteFlareField();
    const auto answer =
        services().dialogs.AskText("Secondary", "Введите название Secondary", field.read(*sprite));
    if (!answer)
        return;
    const std::string flare = TrimmedName(*answer);
    if (const auto problem = FlareNameProblem(flare)) {
        services().dialogs.ShowMessage(*problem);
        return;
    }
    edit([&field, flare](KaObjArray& scene, const std::string& object) {
        return NameEdit(scene, object, field, flare);
    });
}

void TSpritePanel::askViewRange()
{
    const std::string name = selectedName();
    const KaSceneObj* sprite = services().document ? services().document->Scene().FindByName(name) : nullptr;
    if (!sprite)
        return;
    const TypedField& field = SpriteViewRangeField();
    const auto answer =
        services().dialogs.AskText("Расстояние", "Введите расстояние", FormatBoxNumber(field.read(*sprite)));
    if (!answer)
        return;
    const std::optional<float> value = ParseTypedNumber(*answer, field.limits);
    if (!value) {
        services().dialogs.ShowMessage("Расстояние <" + TrimmedName(*answer) +
                                       "> не подходит: нужно число не меньше 0 (0 — без предела)");
        return;
    }
    edit([&field, value](KaObjArray& scene, const std::string& object) {
        return TypedEdit(scene, object, field, *value);
    });
}

} // namespace ra7::editor
