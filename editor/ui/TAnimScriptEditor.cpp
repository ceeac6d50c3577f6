#include "ui/TAnimScriptEditor.h"

#include "anim/Ka7AnimScript.h"
#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/ScriptFiles.h"
#include "core/ScriptWorkspace.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/TScriptCodeEdit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QListWidget* stateList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);
    return list;
}

// Brings a list to `changes.count` rows and rewrites the rows that changed;
// the selected row and the scroll position stay.
void apply(QListWidget& list, const RowChanges& changes)
{
    if (changes.Empty(list.count()))
        return;
    list.setUpdatesEnabled(false);
    while (list.count() > changes.count)
        delete list.takeItem(list.count() - 1);
    while (list.count() < changes.count)
        list.addItem(QString());
    for (const auto& [row, text] : changes.rows)
        list.item(row)->setText(q(text));
    list.setUpdatesEnabled(true);
}

} // namespace

TAnimScriptEditor::TAnimScriptEditor(EditorServices& services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), services_(services)
{
    setObjectName(QStringLiteral("AnimScriptEditor"));
    setWindowTitle(QStringLiteral("Редактор анимационных скриптов"));

    auto* text = new QVBoxLayout();
    title_ = new QLabel(QStringLiteral("Скрипт не выбран"), this);
    title_->setObjectName(QStringLiteral("NameScript"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    origin_ = new QLabel(this);
    origin_->setObjectName(QStringLiteral("TextOrigin"));
    origin_->setStyleSheet(QStringLiteral("color: #b05000"));
    origin_->setVisible(false);
    code_ = new TScriptCodeEdit(this);
    report_ = new QLabel(this);
    report_->setObjectName(QStringLiteral("CompileReport"));
    report_->setWordWrap(true);
    text->addWidget(title_);
    text->addWidget(origin_);
    text->addWidget(code_, 1);
    text->addWidget(report_);

    auto* state = new QVBoxLayout();
    stack_ = stateList(this, "StackList");
    commands_ = stateList(this, "ComList");
    // One selected line between the two lists.
    connect(stack_, &QListWidget::itemPressed, commands_, &QListWidget::clearSelection);
    connect(commands_, &QListWidget::itemPressed, stack_, &QListWidget::clearSelection);
    state->addWidget(new QLabel(QStringLiteral("  Стек:"), this));
    state->addWidget(stack_, 1);
    state->addWidget(new QLabel(QStringLiteral("  Команды:"), this));
    state->addWidget(commands_, 2);
    auto* labels = new QFormLayout();
    id_ = valueLabel(this, "IdValue");
    stackCount_ = valueLabel(this, "StackCountValue");
    comCount_ = valueLabel(this, "ComCountValue");
    position_ = valueLabel(this, "PositionValue");
    posInCom_ = valueLabel(this, "PosInComValue");
    labels->addRow(QStringLiteral("ID:"), id_);
    labels->addRow(QStringLiteral("contStack:"), stackCount_);
    labels->addRow(QStringLiteral("countCom:"), comCount_);
    labels->addRow(QStringLiteral("position:"), position_);
    labels->addRow(QStringLiteral("posInCom:"), posInCom_);
    state->addLayout(labels);
    compile_ = new QPushButton(QStringLiteral("Откомпилировать"), this);
    compile_->setObjectName(QStringLiteral("CompileButton"));
    compile_->setToolTip(QStringLiteral("Записать текст в скрипт, выбранный в анимационной панели"));
    save_ = new QPushButton(QStringLiteral("Сохранить"), this);
    save_->setObjectName(QStringLiteral("SaveButton"));
    save_->setToolTip(QStringLiteral("Сохранить текст в файл со строкой имени скрипта"));
    connect(compile_, &QPushButton::clicked, this, &TAnimScriptEditor::Compile);
    connect(save_, &QPushButton::clicked, this, &TAnimScriptEditor::Save);
    state->addWidget(compile_);
    state->addWidget(save_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 3);
    layout->addLayout(state, 2);
    resize(960, 560);
}

TAnimScriptEditor::~TAnimScriptEditor()
{
    if (document_)
        document_->Unlisten(documentListener_);
    if (workspace_)
        workspace_->Unlisten(workspaceListener_);
}

void TAnimScriptEditor::Attach(EditorDocument& document, ScriptWorkspace& workspace)
{
    document_ = &document;
    workspace_ = &workspace;
    // A step done or undone may have replaced a script's commands without
    // changing their number: every row is compared again.
    documentListener_ = document.Listen([this](ChangeSet changes) {
        if (Has(changes, DocChange::Scripts) || Has(changes, DocChange::History)) {
            watch_.Invalidate();
            updateTitle();
        }
    });
    workspaceListener_ = workspace.Listen([this](ScriptWorkspace::Event event, const std::string& script) {
        workspaceEvent(static_cast<int>(event), script);
    });
    connect(code_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        workspace_->SetTextModified(modified);
        updateTitle();
    });
}

void TAnimScriptEditor::workspaceEvent(int event, const std::string& script)
{
    switch (static_cast<ScriptWorkspace::Event>(event)) {
    case ScriptWorkspace::Event::Selected:
        watch_.Invalidate();
        // Unsaved text stays; the title then says whose text it is.
        if (!code_->document()->isModified())
            showText(script);
        updateTitle();
        refreshIfShown();
        break;
    case ScriptWorkspace::Event::SourceChanged:
        if (script == owner_ && !code_->document()->isModified())
            showText(script);
        break;
    case ScriptWorkspace::Event::Loaded:
        showText(script);
        break;
    }
}

void TAnimScriptEditor::showText(const std::string& script)
{
    const ScriptText* source = workspace_->SourceOf(script);
    const QString text = source ? q(JoinLines(*source)) : QString();
    if (code_->toPlainText() != text)
        code_->setPlainText(text);
    code_->document()->setModified(false);
    owner_ = script;
    updateTitle();
}

void TAnimScriptEditor::updateTitle()
{
    const KaAnimScript* edited = workspace_ ? workspace_->Edited() : nullptr;
    // Without a script the title keeps what it showed.
    if (edited)
        title_->setText(q("[" + edited->Name + "]"));
    const bool foreign = edited && !owner_.empty() && owner_ != edited->Name;
    origin_->setVisible(foreign);
    if (foreign)
        origin_->setText(
            q("Текст скрипта <" + owner_ + ">: «Откомпилировать» запишет его в <" + edited->Name + ">"));
}

void TAnimScriptEditor::ShowEditor()
{
    show();
    raise();
    activateWindow();
}

void TAnimScriptEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    watch_.Invalidate();
    RefreshScriptEditor();
}

void TAnimScriptEditor::Tick()
{
    refreshIfShown();
}

void TAnimScriptEditor::refreshIfShown()
{
    // A hidden window is brought up to date in full when it is shown.
    if (isVisible())
        RefreshScriptEditor();
}

void TAnimScriptEditor::RefreshScriptEditor()
{
    if (!workspace_)
        return;
    const ScriptWatch::Changes changes = watch_.Refresh(workspace_->Edited());
    apply(*stack_, changes.stack);
    apply(*commands_, changes.commands);
    if (const auto& labels = changes.labels) {
        id_->setText(q(labels->id));
        stackCount_->setText(q(labels->stackCount));
        comCount_->setText(q(labels->comCount));
        position_->setText(q(labels->position));
        posInCom_->setText(q(labels->posInCom));
        title_->setText(q(labels->title));
    }
}

void TAnimScriptEditor::Compile()
{
    if (!workspace_)
        return;
    const KaAnimScript* target = workspace_->Edited();
    if (!target) {
        services_.dialogs.ShowMessage("Скрипт не выбран: выберите его в списке анимационной панели");
        return;
    }
    if (!owner_.empty() && owner_ != target->Name &&
        !services_.dialogs.Confirm("Текст относится к скрипту <" + owner_ +
                                   ">. Откомпилировать его в скрипт <" + target->Name + ">?"))
        return;
    CompileReport report;
    try {
        report = workspace_->Compile(SplitLines(code_->toPlainText().toStdString()));
    } catch (const std::exception& e) {
        services_.dialogs.ShowMessage(e.what());
        return;
    }
    owner_ = report.script;
    code_->document()->setModified(false);
    std::string said = "Скрипт <" + report.script + ">: команд " + std::to_string(report.commands);
    if (!report.dropped.empty())
        said += ", пропущено строк " + std::to_string(report.dropped.size()) + " (отмечены в тексте)";
    if (report.ignoredName) {
        const std::string kept = "строка [" + *report.ignoredName +
                                 "] не переименовывает скрипт: он остаётся <" + report.script + ">";
        said += "; " + kept;
        if (services_.report)
            services_.report(kept);
    }
    report_->setText(q(said));
    updateTitle();
    watch_.Invalidate();
    refreshIfShown();
}

void TAnimScriptEditor::Save()
{
    const auto chosen =
        services_.dialogs.AskSaveFile("Сохранить скрипт", "Text file (*.txt)", OverwriteQuestion::ByCaller);
    if (!chosen || chosen->empty())
        return;
    if (StoredFileExists(*chosen) && !services_.dialogs.Confirm("Такой файл уже существует. Переписать его?"))
        return;
    saveTo(*chosen);
}

void TAnimScriptEditor::saveTo(const std::string& path)
{
    const ScriptText text = SplitLines(code_->toPlainText().toStdString());
    if (!FitsCodePage(text) &&
        !services_.dialogs.Confirm("В тексте есть знаки, которых нет в кодировке Windows-1251: в файле они "
                                   "станут «?». Сохранить?"))
        return;
    // The name line names the selected script; with none selected the text
    // goes out as it is (the file is then named after itself on loading).
    const KaAnimScript* edited = workspace_ ? workspace_->Edited() : nullptr;
    const std::optional<std::string> name = edited ? std::optional<std::string>(edited->Name) : std::nullopt;
    try {
        writeTextLines(path, ScriptFileLines(name, text));
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        services_.dialogs.ShowError(e.what());
        return;
    }
    code_->document()->setModified(false);
    report_->setText(q("Сохранено: " + path));
}

} // namespace ra7::editor
