#include "ui/TKindPanel.h"

#include "core/ChosenResources.h"
#include "core/EditorDocument.h"
#include "core/PropertyEdits.h"
#include "core/PropertyFields.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/PropertyControls.h"

#include <QCheckBox>
#include <QLayout>
#include <QScrollBar>
#include <QSignalBlocker>

#include <exception>

namespace ra7::editor {

namespace {

// The image dialog's filter ("All" first: DevIL reads more kinds than are listed).
constexpr const char* kImageFilter = "All (*);;JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;"
                                     "Bitmaps (*.bmp);;Targa (*.tga)";
constexpr const char* kMeshFilter = "Meshes (*.mes);;All (*)";

} // namespace

TKindPanel::TKindPanel(EditorServices& services, KaObjKind kind, QWidget* parent)
    : QWidget(parent), services_(services), kind_(kind)
{
}

std::string TKindPanel::selectedName() const
{
    return services_.document ? services_.document->Selection().SelectedName() : std::string();
}

bool TKindPanel::edit(const MakeEdit& make)
{
    EditorDocument* document = services_.document;
    const std::string name = selectedName();
    if (!document || name.empty())
        return false;
    try {
        document->Execute(make(document->Scene(), name));
        return true;
    } catch (const std::exception& e) {
        services_.report(e.what());
        refill(); // the control shows what the object still holds
        return false;
    }
}

void TKindPanel::showFailure(const std::string& text)
{
    LogLine("! " + text);
    services_.dialogs.ShowError(text);
}

void TKindPanel::chooseFile(const char* title, const char* filter, const NameField& field,
                            ChosenResource (*load)(std::string_view))
{
    if (selectedName().empty())
        return;
    const std::optional<std::string> path = services_.dialogs.AskOpenFile(title, filter);
    if (!path)
        return;
    if (services_.makeCurrent)
        services_.makeCurrent();
    const ChosenResource chosen = load(*path);
    if (chosen.outcome == ChosenResource::Outcome::Failed) {
        showFailure("Файл <" + chosen.storedName + "> не загружен: " + chosen.error);
        return;
    }
    LogLine(chosen.ConsoleLine());
    edit([&field, value = chosen.fieldValue](KaObjArray& scene, const std::string& name) {
        return NameEdit(scene, name, field, value);
    });
}

void TKindPanel::chooseTexture(const NameField& field)
{
    chooseFile("Выбрать текстуру", kImageFilter, field, &LoadChosenTexture);
}

void TKindPanel::chooseMesh(const NameField& field)
{
    chooseFile("Выбрать меш", kMeshFilter, field, &LoadChosenMesh);
}

void TKindPanel::Fill(const KaSceneObj& object)
{
    for (TBarRow* row : bars_)
        row->Show(row->Field().read(object));
    for (TColourGroup* group : colours_) {
        for (std::size_t i = 0; i < 4; ++i)
            group->Part(i).Show(group->Fields().parts[i].read(object));
        group->ShowPreview(PreviewOf(group->Fields(), object));
    }
    for (const auto& [box, field] : flags_) {
        const QSignalBlocker quiet(box);
        box->setChecked(field->read(object));
    }
    fillOwn(object);
}

void TKindPanel::refill()
{
    EditorDocument* document = services_.document;
    if (!document)
        return;
    if (const KaSceneObj* object = document->Scene().FindByName(selectedName()))
        if (object->Kind() == kind_)
            Fill(*object);
}

void TKindPanel::barMoved(TBarRow& row, int position)
{
    for (const auto& [rangeRow, range] : rangeBars_)
        if (rangeRow == &row) {
            const bool maximum = &row.Field() == &range->max;
            edit([range, maximum, position](KaObjArray& scene, const std::string& name) {
                return RangeEdit(scene, name, *range, maximum, position);
            });
            return;
        }
    const BarField& field = row.Field();
    edit([&field, position](KaObjArray& scene, const std::string& name) {
        return BarEdit(scene, name, field, position);
    });
}

TBarRow* TKindPanel::addBar(QLayout& layout, const BarField& field)
{
    auto* row = new TBarRow(field, this);
    layout.addWidget(row);
    bars_.push_back(row);
    connect(row, &TBarRow::moved, this, [this, row](int position) { barMoved(*row, position); });
    connect(row, &TBarRow::finished, this, [this] {
        if (services_.document)
            services_.document->BreakMerge();
        refill(); // a minimum bar dragged past its maximum springs back to it
    });
    return row;
}

std::pair<TBarRow*, TBarRow*> TKindPanel::addRange(QLayout& layout, const RangeFields& range)
{
    TBarRow* min = addBar(layout, range.min);
    TBarRow* max = addBar(layout, range.max);
    rangeBars_.emplace_back(min, &range);
    rangeBars_.emplace_back(max, &range);
    return {min, max};
}

TColourGroup* TKindPanel::addColour(QLayout& layout, const ColourFields& colour)
{
    auto* group = new TColourGroup(colour, this);
    layout.addWidget(group);
    colours_.push_back(group);
    for (std::size_t i = 0; i < 4; ++i) {
        TBarRow* row = &group->Part(i);
        connect(row, &TBarRow::moved, this, [this, row](int position) { barMoved(*row, position); });
        connect(row, &TBarRow::finished, this, [this] {
            if (services_.document)
                services_.document->BreakMerge();
        });
    }
    return group;
}

QCheckBox* TKindPanel::addFlag(QLayout& layout, const FlagField& field)
{
    auto* box = new QCheckBox(
        QString::fromUtf8(field.label.data(), static_cast<qsizetype>(field.label.size())), this);
    box->setObjectName(QString::fromLatin1(field.id.data(), static_cast<qsizetype>(field.id.size())));
    layout.addWidget(box);
    flags_.emplace_back(box, &field);
    connect(box, &QCheckBox::clicked, this, [this, &field](bool on) {
        edit([&field, on](KaObjArray& scene, const std::string& name) {
            return FlagEdit(scene, name, field, on);
        });
    });
    return box;
}

} // namespace ra7::editor
