#include "ui/TMeshesPage.h"

#include "ConverterLines.h"
#include "MeshFiles.h"
#include "StagedFiles.h"
#include "core/EditorDocument.h"
#include "core/MeshCommands.h"
#include "core/PageRules.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/LongWork.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ra7::editor {

namespace {

constexpr const char* kMeshFilter = "Meshes (*.mes)";
constexpr const char* kLoadingLine = "--Загружаю...";
constexpr const char* kLoadedLine = "--Загружено...";

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    return text;
}

// Writes the mesh as it would be after taking `name`, without renaming it:
// the file holds the new name, the list keeps the old one until the write
// has succeeded.
void writeMeshAs(KaMesh& mesh, const std::string& name)
{
    std::string own = mesh.Name;
    mesh.Name = name;
    try {
        RecordWriter file(name);
        mesh.SaveToFile(file);
        file.commit();
    } catch (...) {
        mesh.Name = std::move(own);
        throw;
    }
    mesh.Name = std::move(own);
}

} // namespace

TMeshesPage::TMeshesPage(EditorServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("MeshesPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("MeshList"));
    layout->addWidget(list_, 1);
    auto button = [&](const char* text, const char* name, void (TMeshesPage::*slot)()) {
        auto* made = new QPushButton(QString::fromUtf8(text), this);
        made->setObjectName(QString::fromLatin1(name));
        connect(made, &QPushButton::clicked, this, slot);
        return made;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(button("Сохранить", "SaveMeshButton", &TMeshesPage::SaveCommand));
    row->addWidget(button("Загрузить", "LoadMeshButton", &TMeshesPage::LoadCommand));
    layout->addLayout(row);
    row = new QHBoxLayout;
    row->addWidget(button("Удалить", "DeleteMeshButton", &TMeshesPage::DeleteCommand));
    row->addWidget(button("Сохранить все...", "SaveAllMeshesButton", &TMeshesPage::SaveAllCommand));
    layout->addLayout(row);
}

TMeshesPage::~TMeshesPage()
{
    if (document_)
        document_->Unlisten(listener_);
}

void TMeshesPage::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) {
        if (Has(changes, DocChange::Meshes))
            refill();
    });
    refill();
}

void TMeshesPage::Refresh()
{
    refill();
}

void TMeshesPage::refill()
{
    if (!Meshes)
        return;
    const QString selected = list_->currentItem() ? list_->currentItem()->text() : QString();
    list_->setUpdatesEnabled(false);
    list_->clear();
    for (std::int32_t i = 0; i < Meshes->Count(); ++i) {
        list_->addItem(QString::fromStdString(Meshes->Get(i).Name));
        if (list_->item(i)->text() == selected)
            list_->setCurrentRow(i);
    }
    list_->setUpdatesEnabled(true);
}

std::string TMeshesPage::selectedName() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->text().toStdString() : std::string();
}

void TMeshesPage::fail(const std::string& text)
{
    LogLine("! " + text);
    services_.dialogs.ShowError(text);
}

void TMeshesPage::SaveCommand()
{
    const std::string name = selectedName();
    if (!document_ || name.empty() || !Meshes->Find(name)) {
        services_.report("Выберите меш в списке");
        return;
    }
    if (UsersOfMesh(*SceneObjects, name, editorMeshes_).editor) {
        fail("Меш <" + name + "> нужен моделям редактора (стрелки, камера): его имя не меняется");
        return;
    }
    const auto chosen = services_.dialogs.AskSaveFile("Сохранить меш", kMeshFilter);
    if (!chosen)
        return;
    const std::string newName = SavedMeshName(*chosen);
    if (const auto problem = NameProblem(newName, "Имя меша")) {
        fail(*problem);
        return;
    }
    if (newName != name && Meshes->IndexOf(newName) >= 0) {
        fail("Имя <" + newName + "> уже занято другим мешем");
        return;
    }
    LogLine(kMeshesSavingLine);
    // The file first: a mesh that cannot be written keeps its name and its users.
    try {
        writeMeshAs(*Meshes->Find(name), newName);
        if (newName != name)
            document_->Execute(std::make_unique<RenameMeshCommand>(name, newName));
    } catch (const std::exception& e) {
        fail("Меш <" + name + "> не записан: " + e.what());
        return;
    }
    LogLine(kMeshesSavedLine);
}

void TMeshesPage::LoadCommand()
{
    if (!document_)
        return;
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить меш", kMeshFilter);
    if (!chosen)
        return;
    const std::string name = LoadedMeshName(*chosen);
    LogLine(kLoadingLine);
    if (const auto problem = MeshLoadProblem(name)) {
        services_.report(*problem);
        return;
    }
    try {
        if (services_.makeCurrent)
            services_.makeCurrent();
        document_->Execute(std::make_unique<LoadMeshCommand>(name));
    } catch (const std::exception& e) {
        services_.dialogs.ShowError(e.what()); // the document has logged it
        return;
    }
    LogLine(kLoadedLine);
}

void TMeshesPage::DeleteCommand()
{
    const std::string name = selectedName();
    if (!document_ || name.empty() || !Meshes->Find(name)) {
        services_.report("Выберите меш в списке");
        return;
    }
    const MeshUsers users = UsersOfMesh(*SceneObjects, name, editorMeshes_);
    if (users.editor) {
        fail("Меш <" + name + "> нужен моделям редактора (стрелки, камера): его удалить нельзя");
        return;
    }
    // Geometry keeps the name and would draw nothing; a mesh without a
    // file (a GMS mesh, a renamed one) would be gone for good after the
    // history is cleared.
    std::string question;
    if (!users.objects.empty())
        question += "Меш <" + name + "> используют объекты: " + listed(users.objects) +
                    ". Без него они ничего не нарисуют. ";
    if (!StoredFileExists(name))
        question += "Меш <" + name + "> не записан в файл. ";
    if (!question.empty() && !services_.dialogs.Confirm(question + "Удалить меш?"))
        return;
    try {
        if (services_.makeCurrent)
            services_.makeCurrent();
        document_->Execute(std::make_unique<DeleteMeshCommand>(name));
    } catch (const std::exception& e) {
        services_.dialogs.ShowError(e.what());
    }
}

void TMeshesPage::SaveAllCommand()
{
    if (!document_)
        return;
    LogLine(kMeshesSavingLine);
    const std::vector<const KaMesh*> meshes = AllMeshes();
    StagedFiles files;
    std::vector<MeshWriteFailure> failures;
    if (!RunPageWork(this, services_.dialogs, QStringLiteral("Сохранение мешей"), onWork,
                     [&](WorkProgress& progress) { failures = StageMeshes(files, meshes, &progress); }))
        return;
    try {
        files.Commit();
    } catch (const std::exception& e) {
        fail(e.what());
        return;
    }
    for (const MeshWriteFailure& failure : failures)
        LogLine("! " + MeshWriteFailureLine(failure));
    LogLine(kMeshesSavedLine);
    const std::size_t written = meshes.size() - failures.size();
    LogLine("- Записано мешей: " + std::to_string(written) + " из " + std::to_string(meshes.size()));
    if (!failures.empty()) {
        std::string text = "Записано мешей: " + std::to_string(written) + " из " +
                           std::to_string(meshes.size()) + ". Не записаны:";
        for (const MeshWriteFailure& failure : failures)
            text += "\n" + MeshWriteFailureLine(failure);
        services_.dialogs.ShowError(text);
    }
}

} // namespace ra7::editor
