#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/PropertyEdits.h"
#include "core/PropertyFields.h"
#include "resources/Ka7MaterialList.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/PropertyControls.h"
#include "ui/PropertyPanels.h"

#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace ra7::editor {

TGeometryPanel::TGeometryPanel(EditorServices& services, QWidget* parent)
    : TKindPanel(services, KaObjKind::Geometry, parent)
{
    setObjectName(QStringLiteral("GeometryPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (std::size_t i = 0; i < meshes_.size(); ++i) {
        const NameField& field = GeometryMeshFields()[i];
        meshes_[i] = new TNameRow(field.id, field.label, this);
        layout->addWidget(meshes_[i]);
        connect(meshes_[i], &TNameRow::chooseClicked, this, [this, &field] { chooseMesh(field); });
    }
    const NameField& material = GeometryMaterialField();
    material_ = new TNameRow(material.id, material.label, this);
    material_->Box().setToolTip(QStringLiteral("Щёлкните, чтобы набрать имя материала"));
    material_->ChooseButton().setToolTip(QStringLiteral("Выбрать из списка материалов"));
    layout->addWidget(material_);
    connect(material_, &TNameRow::boxClicked, this, &TGeometryPanel::askMaterial);
    connect(material_, &TNameRow::chooseClicked, this, &TGeometryPanel::showMaterialMenu);
    materialMenu_ = new QMenu(this);
    materialMenu_->setObjectName(QStringLiteral("MaterialMenu"));
}

void TGeometryPanel::fillOwn(const KaSceneObj& object)
{
    for (std::size_t i = 0; i < meshes_.size(); ++i)
        meshes_[i]->Show(GeometryMeshFields()[i].read(object));
    material_->Show(GeometryMaterialField().read(object));
}

void TGeometryPanel::setMaterial(const std::string& name)
{
    if (const auto problem = MaterialNameProblem(name)) {
        services().dialogs.ShowMessage(*problem);
        return;
    }
    edit([name](KaObjArray& scene, const std::string& object) {
        return NameEdit(scene, object, GeometryMaterialField(), name);
    });
}

void TGeometryPanel::askMaterial()
{
    const KaSceneObj* geometry =
        services().document ? services().document->Scene().FindByName(selectedName()) : nullptr;
    if (!geometry)
        return;
    const auto answer = services().dialogs.AskText(
        "Материал", "Введите имя материала:", GeometryMaterialField().read(*geometry));
    if (answer)
        setMaterial(TrimmedName(*answer));
}

void TGeometryPanel::showMaterialMenu()
{
    materialMenu_->clear();
    const std::int32_t count = Materials ? Materials->Count() : 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string name = Materials->Get(i).Name;
        materialMenu_->addAction(QString::fromStdString(name), this, [this, name] { setMaterial(name); });
    }
    if (count == 0)
        materialMenu_->addAction(QStringLiteral("(список материалов пуст)"))->setEnabled(false);
    materialMenu_->addSeparator();
    materialMenu_->addAction(QStringLiteral("Без материала"), this, [this] { setMaterial({}); });
    materialMenu_->addAction(QStringLiteral("Страница материалов..."), this, [this] {
        if (services().showPage)
            services().showPage(QStringLiteral("materials"));
    });
    materialMenu_->popup(
        material_->ChooseButton().mapToGlobal(QPoint(0, material_->ChooseButton().height())));
}

} // namespace ra7::editor
