#include "ui/TMainForm.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/EditorDocument.h"
#include "core/EditorFrame.h"
#include "core/EditorSession.h"
#include "core/SceneCommands.h"
#include "host/Ka7ConsoleCommands.h"
#include "runtime/DotWindow.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/TConsoleForm.h"
#include "ui/TConverterPage.h"
#include "ui/TGLView.h"
#include "ui/THierarchyPanel.h"
#include "ui/TMeshesPage.h"
#include "ui/TPageHost.h"
#include "ui/TSaveForm.h"
#include "ui/TShadersForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

constexpr int kTreePanelWidth = kLeftEdgeWithTree - kLeftEdgeWithoutTree;

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

void refill(QListWidget& list, const std::vector<std::string>& names)
{
    list.setUpdatesEnabled(false);
    list.clear();
    for (const std::string& name : names)
        list.addItem(q(name));
    list.setUpdatesEnabled(true);
}

} // namespace

TMainForm::TMainForm(DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), services_(dialogs)
{
    updateTitle();
    setObjectName(QStringLiteral("MainForm"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setMinimumSize(kMinClientWidth, kMinClientHeight);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    view_ = new TGLView(client_);
    services_.makeCurrent = [this] { view_->makeCurrent(); };
    services_.report = [this](const std::string& text) { Report(text); };
    services_.showPage = [this](const QString& id) { ShowPage(id); };
    services_.showConsole = [this] { consoleForm_->ShowConsole(); };
    services_.saveScene = [this] { return SaveSceneCommand(); };
    buildTreePanel(client_);
    toolPanel_ = buildToolPanel(client_);
    animPanel_ = buildAnimPanel(client_);
    buildMenu();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    resize(1024, 768);

    context_ = std::make_unique<TDotContext>(std::make_unique<QtContextPlatform>(*view_));
    session_ = std::make_unique<EditorSession>(*context_);
    view_->onInitialize = [this] { startEngine(); };
    view_->onPaint = [this] { paint(); };

    saveForm_ = new TSaveForm(this);
    shadersForm_ = new TShadersForm(dialogs_, this);
    consoleForm_ = new TConsoleForm(dialogs_, this);

    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(0);
    connect(idleTimer_, &QTimer::timeout, this, &TMainForm::idle);
    SetConsoleExitHandler([this] { QTimer::singleShot(0, this, &QWidget::close); });
}

TMainForm::~TMainForm()
{
    idleTimer_->stop();
    SetConsoleExitHandler({});
    // The views stop listening before the document goes; the engine lets go
    // of its GL objects while the view's context still exists (the converter
    // page releases a held model, the history the meshes it keeps).
    if (Started())
        view_->makeCurrent();
    delete hierarchy_;
    hierarchy_ = nullptr;
    delete toolPanel_;
    toolPanel_ = nullptr;
    services_.document = nullptr;
    document_.reset();
    session_.reset();
    context_.reset();
}

std::string TMainForm::ShowAndStart(int timeoutMs)
{
    show();
    QElapsedTimer waited;
    waited.start();
    while (!startTried_ && waited.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!startTried_)
        return "Could not set the requested pixel format.\r\nPlease try to use different settings.";
    return startError_;
}

bool TMainForm::Started() const
{
    return session_ && session_->Started();
}

void TMainForm::startEngine()
{
    startTried_ = true;
    try {
        session_->Start();
        document_ = std::make_unique<EditorDocument>(*SceneObjects);
        document_->SetEditorObjects({kEditorCameraName, kEditorLightName});
        services_.document = document_.get();
        document_->Listen([this](std::uint32_t changes) { documentChanged(changes); });
        hierarchy_->Attach(*document_);
        meshesPage_->SetEditorMeshes({session_->ArrowX().MeshName, session_->ArrowY().MeshName,
                                      session_->ArrowZ().MeshName, session_->CameraModel().MeshName});
        pages_->AttachAll(*document_);
        clock_ = FrameClock();
        layoutPanels();
        RefreshEditorLists();
        updateTitle();
        idleTimer_->start();
    } catch (const std::exception& e) {
        startError_ = e.what();
    }
}

void TMainForm::buildMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    QAction* fresh = file->addAction(QStringLiteral("Новая сцена"), this, &TMainForm::NewSceneCommand);
    fresh->setObjectName(QStringLiteral("ActionNewScene"));
    fresh->setShortcut(QKeySequence::New);
    QAction* save = file->addAction(QStringLiteral("Сохранить KGF"), this, &TMainForm::SaveSceneCommand);
    save->setObjectName(QStringLiteral("ActionSaveKgf"));
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    QAction* load = file->addAction(QStringLiteral("Загрузить KGF"), this, &TMainForm::LoadSceneCommand);
    load->setObjectName(QStringLiteral("ActionLoadKgf"));
    load->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("Выход"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("ActionExit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

    buildEditMenu();

    // Adding objects comes with the Add page; until then the items stay disabled.
    QMenu* create = menuBar()->addMenu(QStringLiteral("Создать"));
    for (const char* kind : {"Геометрия", "Спрайт", "Источник света", "Камера", "Система частиц", "Звук"})
        create->addAction(QString::fromUtf8(kind))->setEnabled(false);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Настройки"));
    auto checkable = [&](const char* text, const char* name, bool checked) {
        QAction* action = options->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    connect(checkable("Панели", "ActionPanels", true), &QAction::toggled, this, &TMainForm::SetShowPanels);
    connect(checkable("Сетка", "ActionGrid", true), &QAction::toggled, this, &TMainForm::SetShowGrid);
    bloomAction_ = checkable("Bloom", "ActionBloom", false);
    connect(bloomAction_, &QAction::triggered, this, &TMainForm::ToggleBloomItem);
    connect(checkable("Frustum culling", "ActionFrustum", false), &QAction::toggled, this,
            &SetFrustumCulling);
    connect(checkable("LOD", "ActionLod", true), &QAction::toggled, this, &SetLod);

    QAction* console = menuBar()->addAction(QStringLiteral("Консоль"));
    console->setObjectName(QStringLiteral("ActionConsole"));
    connect(console, &QAction::triggered, this, [this] { consoleForm_->ShowConsole(); });
}

void TMainForm::buildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
    undoAction_ = edit->addAction(QStringLiteral("Отменить"), this, [this] {
        if (document_)
            document_->Undo();
    });
    undoAction_->setObjectName(QStringLiteral("ActionUndo"));
    undoAction_->setShortcut(QKeySequence::Undo);
    redoAction_ = edit->addAction(QStringLiteral("Повторить"), this, [this] {
        if (document_)
            document_->Redo();
    });
    redoAction_->setObjectName(QStringLiteral("ActionRedo"));
    // Ctrl+Shift+Z as on most Linux desktops, Ctrl+Y as on the others.
    redoAction_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    undoAction_->setEnabled(false);
    redoAction_->setEnabled(false);
}

QWidget* TMainForm::buildTreePanel(QWidget* parent)
{
    hierarchy_ = new THierarchyPanel(services_, parent);

    treeToggle_ = new QToolButton(parent);
    treeToggle_->setObjectName(QStringLiteral("TreeToggle"));
    treeToggle_->setText(QStringLiteral("<"));
    connect(treeToggle_, &QToolButton::clicked, this, [this] { SetTreeVisible(!treeVisible_); });
    return hierarchy_;
}

QWidget* TMainForm::buildToolPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("ToolPanel"));
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    pages_ = new TPageHost(panel);
    pages_->setObjectName(QStringLiteral("ToolPages"));
    pages_->setUsesScrollButtons(true);
    pages_->onRefused = [this](const std::string& reason) { Report(reason); };
    layout->addWidget(pages_);

    auto* add = new QWidget(pages_);
    auto* addLayout = new QVBoxLayout(add);
    auto* loadButton = new QPushButton(QStringLiteral("Загрузить KGF"), add);
    loadButton->setObjectName(QStringLiteral("LoadKgfButton"));
    connect(loadButton, &QPushButton::clicked, this, &TMainForm::LoadSceneCommand);
    addLayout->addWidget(loadButton);
    addLayout->addStretch();
    pages_->AddPage(QStringLiteral("add"), QStringLiteral("Добавить"), add, nullptr);
    // The pages still to come stand as empty tabs in their places.
    const std::pair<const char*, const char*> later[] = {{"properties", "Свойства"},
                                                         {"materials", "Материалы"},
                                                         {"secondaries", "Secondaries"},
                                                         {"skybox", "SkyBox"},
                                                         {"bounds", "Bounds"}};
    for (const auto& [id, title] : later)
        pages_->AddPage(QString::fromLatin1(id), QString::fromUtf8(title), new QWidget(pages_), nullptr);
    converterPage_ = new TConverterPage(services_, pages_);
    pages_->AddPage(QStringLiteral("converter"), QStringLiteral("Конвертер"), converterPage_, converterPage_);
    meshesPage_ = new TMeshesPage(services_, pages_);
    pages_->AddPage(QStringLiteral("meshes"), QStringLiteral("Meshes"), meshesPage_, meshesPage_);
    pages_->setCurrentIndex(0);
    return panel;
}

QWidget* TMainForm::buildAnimPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("AnimPanel"));
    panel->setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    scriptList_ = new QListWidget(panel);
    scriptList_->setObjectName(QStringLiteral("ScriptList"));
    layout->addWidget(scriptList_, 1);
    fpsLabel_ = new QLabel(QStringLiteral("FPS:"), panel);
    fpsLabel_->setObjectName(QStringLiteral("FpsLabel"));
    fpsLabel_->setMinimumWidth(90);
    layout->addWidget(fpsLabel_);
    return panel;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutPanels();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!MayDiscardChanges()) {
        event->ignore();
        return;
    }
    idleTimer_->stop();
    consoleForm_->close();
    event->accept();
}

Viewport TMainForm::CurrentViewport() const
{
    const qreal ratio = view_->devicePixelRatioF();
    return ViewportFor(static_cast<std::int32_t>(view_->width() * ratio),
                       static_cast<std::int32_t>(view_->height() * ratio), flags_.ShowPanels, treeVisible_);
}

void TMainForm::layoutPanels()
{
    const int width = client_->width();
    const int height = client_->height();
    view_->setGeometry(0, 0, width, height);
    const bool panels = flags_.ShowPanels;
    const int left = LeftEdge(treeVisible_);
    hierarchy_->setGeometry(0, 0, kTreePanelWidth, height - kAnimPanelHeight);
    treeToggle_->setGeometry(left - kLeftEdgeWithoutTree, 0, kLeftEdgeWithoutTree, height - kAnimPanelHeight);
    toolPanel_->setGeometry(width - kToolPanelWidth, 0, kToolPanelWidth, height);
    animPanel_->setGeometry(0, height - kAnimPanelHeight, width - kToolPanelWidth, kAnimPanelHeight);
    hierarchy_->setVisible(panels && treeVisible_);
    treeToggle_->setVisible(panels);
    toolPanel_->setVisible(panels);
    animPanel_->setVisible(panels);
    for (QWidget* panel :
         {static_cast<QWidget*>(hierarchy_), static_cast<QWidget*>(treeToggle_), toolPanel_, animPanel_})
        panel->raise();
    const Viewport whole = ViewportFor(width, height, false, treeVisible_);
    Settings.ScreenWidth = whole.width;
    Settings.ScreenHeight = whole.height;
}

void TMainForm::SetShowPanels(bool on)
{
    flags_.ShowPanels = on;
    layoutPanels();
}

void TMainForm::SetShowGrid(bool on)
{
    flags_.ShowGrid = on;
}

void TMainForm::SetTreeVisible(bool visible)
{
    treeVisible_ = visible;
    treeToggle_->setText(visible ? QStringLiteral("<") : QStringLiteral(">"));
    layoutPanels();
}

void TMainForm::ToggleBloomItem()
{
    const ToggleResult result = ToggleBloom(bloomAction_->isChecked());
    bloomAction_->setChecked(result.checked);
    if (!result.message.empty())
        dialogs_.ShowMessage(result.message);
}

void TMainForm::idle()
{
    if (!Started())
        return;
    try {
        view_->makeCurrent();
        UpdateScene();
        RefreshEditorLists();
    } catch (const std::exception& e) {
        reportFrameError(e.what());
    }
    view_->repaint();
}

void TMainForm::paint()
{
    if (!Started()) {
        ClearView();
        return;
    }
    // The clock ticks once per frame drawn, so the figure covers frames, not idle passes.
    AdvanceClock(clock_);
    fpsLabel_->setText(QStringLiteral("FPS:") + q(clock_.FpsText()));
    const qreal ratio = view_->devicePixelRatioF();
    FrameInputs frame;
    frame.clientWidth = static_cast<std::int32_t>(view_->width() * ratio);
    frame.clientHeight = static_cast<std::int32_t>(view_->height() * ratio);
    frame.view = CurrentViewport();
    frame.showGrid = flags_.ShowGrid;
    frame.fpsText = clock_.FpsText();
    frame.text2D = session_ ? session_->Text2D() : nullptr;
    if (converterPage_->State().ModelLoaded())
        frame.modelPreview = [this] { converterPage_->DrawPreview(); };
    try {
        paintFrame(frame);
        MakeViewOpaque();
    } catch (const std::exception& e) {
        reportFrameError(e.what());
    }
    ++framesDrawn_;
    emit frameDrawn();
}

void TMainForm::reportFrameError(const std::string& text)
{
    // A fault that repeats every frame is logged once, not sixty times a second.
    if (text == lastFrameError_)
        return;
    lastFrameError_ = text;
    LogLine("! " + text);
}

void TMainForm::RefreshEditorLists()
{
    // The document reads the engine's change flags and tells the views: the
    // tree first, then the mesh list, then the script list.
    if (document_)
        document_->Poll();
}

void TMainForm::RebuildTree()
{
    hierarchy_->RebuildTree();
}

void TMainForm::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Scripts))
        refillScriptList();
    if (Has(changes, DocChange::Selection))
        pages_->RefreshCurrent();
    if (Has(changes, DocChange::History))
        updateTitle();
}

void TMainForm::refillScriptList()
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < AnimList->Count(); ++i)
        names.push_back(AnimList->Get(i).Name);
    refill(*scriptList_, names);
}

void TMainForm::updateTitle()
{
    QString name = QStringLiteral("без имени");
    if (document_ && !document_->FileName().empty())
        name = q(document_->FileName());
    setWindowTitle(QStringLiteral("Editor for Ra7Davevi - ") + name + QStringLiteral("[*]"));
    setWindowModified(document_ && document_->Modified());
    if (!undoAction_)
        return;
    const bool undo = document_ && document_->CanUndo();
    const bool redo = document_ && document_->CanRedo();
    undoAction_->setEnabled(undo);
    redoAction_->setEnabled(redo);
    undoAction_->setText(undo ? QStringLiteral("Отменить ") + q(document_->UndoLabel())
                              : QStringLiteral("Отменить"));
    redoAction_->setText(redo ? QStringLiteral("Повторить ") + q(document_->RedoLabel())
                              : QStringLiteral("Повторить"));
}

void TMainForm::Report(const std::string& text)
{
    LogLine("! " + text);
    statusBar()->showMessage(q(text), 10000);
}

bool TMainForm::MayDiscardChanges()
{
    if (!document_ || !document_->Modified())
        return true;
    const std::string name = document_->FileName().empty() ? "без имени" : document_->FileName();
    switch (dialogs_.AskSaveChanges("В сцене <" + name + "> есть несохранённые изменения. Сохранить их?")) {
    case SaveChoice::Save:
        return SaveSceneCommand();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
}

void TMainForm::NewSceneCommand()
{
    if (!Started() || !MayDiscardChanges())
        return;
    try {
        view_->makeCurrent();
        session_->NewScene();
        LogLine("- Новая сцена");
    } catch (const std::exception& e) {
        Report(e.what());
    }
    document_->SceneReplaced("", false);
}

bool TMainForm::SaveSceneCommand()
{
    const auto chosen = dialogs_.AskSaveFile("Сохранить KGF", "KGF format (*.kgf)");
    if (!chosen)
        return false;
    try {
        const std::string fileName = BeginSave(*chosen);
        saveForm_->SaveWindowDisplay();
        dialogs_.RunModal(*saveForm_);
        FinishSave(fileName, saveForm_->Model());
        if (document_)
            document_->MarkSaved(fileName);
        return true;
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        dialogs_.ShowError(e.what());
        return false;
    }
}

void TMainForm::LoadSceneCommand()
{
    if (!MayDiscardChanges())
        return;
    const auto chosen = dialogs_.AskOpenFile("Загрузить KGF", "KGF format (*.kgf)");
    if (chosen)
        LoadSceneFile(*chosen);
}

void TMainForm::LoadSceneFile(const std::string& path)
{
    if (!document_)
        return;
    // A scene loaded into the untouched start-up scene is that file; loaded
    // into anything else it is a merge that no file holds yet.
    const bool fresh = document_->FileName().empty() && !document_->Modified() && !document_->CanUndo();
    bool loaded = false;
    try {
        view_->makeCurrent();
        document_->EditorObjectsRenamed(
            MakeWayForLoadedNames(*SceneObjects, path, document_->EditorObjects()));
        LoadScene(path);
        loaded = true;
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        dialogs_.ShowError(e.what());
    }
    if (loaded && fresh)
        document_->SceneReplaced(path, false);
    else
        document_->SceneReplaced(fresh ? "" : document_->FileName(), true);
}

bool TMainForm::SelectObject(const std::string& name)
{
    if (!document_ || !SceneObjects->FindByName(name))
        return false;
    document_->Select({name});
    return true;
}

bool TMainForm::ShowPage(const QString& id)
{
    return pages_->ShowPage(id);
}

QStringList TMainForm::PageIds() const
{
    return pages_->Ids();
}

} // namespace ra7::editor
