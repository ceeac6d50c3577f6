#include "ui/TAnimPanel.h"

#include "anim/Ka7AnimScript.h"
#include "core/EditorDocument.h"
#include "core/ScriptWorkspace.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

QPushButton* button(QWidget* parent, const char* text, const char* name, const char* hint)
{
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setToolTip(QString::fromUtf8(hint));
    made->setEnabled(false);
    return made;
}

} // namespace

TAnimPanel::TAnimPanel(EditorServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("AnimPanel"));
    setToolTip(QStringLiteral("Анимационная панель"));
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ScriptList"));
    list_->setToolTip(QStringLiteral("Список скриптов анимации"));
    list_->setMaximumWidth(220);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListWidget::itemSelectionChanged, this, &TAnimPanel::listSelectionChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (workspace_ && workspace_->Edited() && onEditScript)
            onEditScript();
    });
    layout->addWidget(list_, 1);

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("ScriptPopup"));
    auto* add = new QAction(QStringLiteral("Добавить"), popup_);
    add->setObjectName(QStringLiteral("ActionAddScript"));
    connect(add, &QAction::triggered, this, &TAnimPanel::AddScript);
    auto* load = new QAction(QStringLiteral("Загрузить из TXT"), popup_);
    load->setObjectName(QStringLiteral("ActionLoadScript"));
    connect(load, &QAction::triggered, this, &TAnimPanel::LoadScript);
    popup_->addActions({add, load});
    connect(list_, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(list_->viewport()->mapToGlobal(at)); });

    auto* controls = new QVBoxLayout();
    auto* buttons = new QHBoxLayout();
    play_ = button(this, "Play", "PlayButton", "Играть выбранный скрипт с начала");
    pause_ = button(this, "Pause", "PauseButton", "Остановить скрипт на месте");
    stop_ = button(this, "Stop", "StopButton", "Перемотать скрипт к началу; сцена остаётся как есть");
    restore_ = button(this, "Вернуть сцену", "RestoreSceneButton",
                      "Вернуть объекты, которые меняли скрипты, как они стояли до первого Play");
    connect(play_, &QPushButton::clicked, this, &TAnimPanel::Play);
    connect(pause_, &QPushButton::clicked, this, &TAnimPanel::Pause);
    connect(stop_, &QPushButton::clicked, this, &TAnimPanel::Stop);
    connect(restore_, &QPushButton::clicked, this, &TAnimPanel::RestoreScene);
    for (QPushButton* each : {play_, pause_, stop_, restore_})
        buttons->addWidget(each);
    buttons->addStretch(1);
    fps_ = new QLabel(QStringLiteral("FPS:"), this);
    fps_->setObjectName(QStringLiteral("FpsLabel"));
    fps_->setMinimumWidth(90);
    buttons->addWidget(fps_);
    controls->addLayout(buttons);

    auto* bar = new QHBoxLayout();
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("AnimBar"));
    slider_->setToolTip(QStringLiteral("Слайдер анимации"));
    slider_->setRange(0, bar_.maximum);
    // It only shows the clock: the user cannot move it.
    slider_->setAttribute(Qt::WA_TransparentForMouseEvents);
    slider_->setFocusPolicy(Qt::NoFocus);
    time_ = new QLabel(q(bar_.label), this);
    time_->setObjectName(QStringLiteral("AnimLab"));
    time_->setMinimumWidth(70);
    bar->addWidget(slider_, 1);
    bar->addWidget(time_);
    controls->addLayout(bar);
    layout->addLayout(controls, 3);
}

TAnimPanel::~TAnimPanel()
{
    if (document_)
        document_->Unlisten(documentListener_);
    if (workspace_)
        workspace_->Unlisten(workspaceListener_);
}

void TAnimPanel::Attach(EditorDocument& document)
{
    document_ = &document;
    workspace_ = std::make_unique<ScriptWorkspace>(document);
    documentListener_ = document.Listen([this](ChangeSet changes) { documentChanged(changes); });
    workspaceListener_ = workspace_->Listen([this](ScriptWorkspace::Event event, const std::string&) {
        if (event == ScriptWorkspace::Event::Selected)
            selectEditedRow();
    });
    refillList();
    Tick();
}

void TAnimPanel::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Scripts))
        refillList();
}

void TAnimPanel::refillList()
{
    if (!workspace_)
        return;
    syncing_ = true;
    list_->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const std::string& name : ScriptWorkspace::ScriptNames())
            list_->addItem(q(name));
    }
    list_->setUpdatesEnabled(true);
    syncing_ = false;
    selectEditedRow();
}

void TAnimPanel::selectEditedRow()
{
    syncing_ = true;
    const QSignalBlocker quiet(list_);
    list_->clearSelection();
    if (workspace_ && workspace_->Edited()) {
        const QList<QListWidgetItem*> found = list_->findItems(q(workspace_->EditedName()), Qt::MatchExactly);
        if (!found.isEmpty()) {
            list_->setCurrentItem(found.front());
            found.front()->setSelected(true);
        }
    }
    syncing_ = false;
}

void TAnimPanel::listSelectionChanged()
{
    if (syncing_ || !workspace_)
        return;
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty())
        workspace_->Select(selected.front()->text().toStdString());
}

void TAnimPanel::Tick()
{
    if (!workspace_)
        return;
    workspace_->Tick();
    const KaAnimScript* script = workspace_->Edited();
    if (script)
        showBar(AnimBarFor(*script, bar_));
    for (QPushButton* each : {play_, pause_, stop_})
        each->setEnabled(script != nullptr);
    restore_->setEnabled(workspace_->CanRestoreScene());
}

void TAnimPanel::showBar(const AnimBarState& bar)
{
    if (bar == bar_)
        return;
    bar_ = bar;
    slider_->setRange(0, bar.maximum);
    slider_->setValue(bar.position);
    time_->setText(q(bar.label));
}

void TAnimPanel::ShowFps(const std::string& fpsText)
{
    fps_->setText(QStringLiteral("FPS:") + q(fpsText));
}

void TAnimPanel::run(const std::function<void()>& action)
{
    if (!workspace_)
        return;
    try {
        action();
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        services_.dialogs.ShowMessage(e.what());
    }
    Tick();
}

void TAnimPanel::AddScript()
{
    if (!workspace_)
        return;
    const auto name = services_.dialogs.AskText("Введите название скрипта", "Название скрипта:", "");
    if (name)
        run([&] { workspace_->AddScript(*name); });
}

void TAnimPanel::LoadScript()
{
    if (!workspace_)
        return;
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить из TXT", "Text file (*.txt)");
    if (chosen)
        LoadScriptFile(*chosen);
}

void TAnimPanel::LoadScriptFile(const std::string& path)
{
    if (!workspace_)
        return;
    if (workspace_->TextModified() &&
        !services_.dialogs.Confirm("Текст в окне редактора скриптов изменён и не сохранён. Заменить его "
                                   "текстом файла?"))
        return;
    run([&] { workspace_->LoadScriptFile(path); });
}

void TAnimPanel::Play()
{
    run([this] { workspace_->Play(); });
}

void TAnimPanel::Pause()
{
    run([this] { workspace_->Pause(); });
}

void TAnimPanel::Stop()
{
    run([this] { workspace_->Stop(); });
}

void TAnimPanel::RestoreScene()
{
    run([this] { workspace_->RestoreScene(); });
}

} // namespace ra7::editor
