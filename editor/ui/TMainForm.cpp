#include "ui/TMainForm.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/EditorDocument.h"
#include "core/EditorFrame.h"
#include "core/EditorSession.h"
#include "core/SceneCommands.h"
#include "host/Ka7ConsoleCommands.h"
#include "runtime/DotWindow.h"
#include "runtime/FrameTime.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/TAddPage.h"
#include "ui/TAnimPanel.h"
#include "ui/TAnimScriptEditor.h"
#include "ui/TBoundsPage.h"
#include "ui/TConsoleForm.h"
#include "ui/TConverterPage.h"
#include "ui/TGLView.h"
#include "ui/THierarchyPanel.h"
#include "ui/TMaterialsPage.h"
#include "ui/TMeshesPage.h"
#include "ui/TPageHost.h"
#include "ui/TPropertiesPage.h"
#include "ui/TSaveForm.h"
#include "ui/TSceneFiles.h"
#include "ui/TSecondariesPage.h"
#include "ui/TSelectionPanel.h"
#include "ui/TShadersForm.h"
#include "ui/TSkyBoxPage.h"
#include "ui/TViewControls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>
#include <exception>

namespace ra7::editor {

namespace {

constexpr int kTreePanelWidth = kLeftEdgeWithTree - kLeftEdgeWithoutTree;

QString q(const std::string& text)
{
    return QString::fromStdString(text);
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
    sceneFiles_ = new TSceneFiles(services_, this);
    setAcceptDrops(true);
    buildTreePanel(client_);
    viewControls_ = new TViewControls(*view_, services_, this);
    addToolBar(Qt::TopToolBarArea, &viewControls_->ToolBar());
    selectionPanel_ = new TSelectionPanel(services_, &hierarchy_->SelectionPanel());
    hierarchy_->SelectionPanel().layout()->addWidget(selectionPanel_);
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
    scriptEditor_ = new TAnimScriptEditor(services_, this);
    animPanel_->onEditScript = [this] { scriptEditor_->ShowEditor(); };

    // One frame per timeout; each pass schedules the next (FramePacer).
    idleTimer_ = new QTimer(this);
    idleTimer_->setSingleShot(true);
    idleTimer_->setTimerType(Qt::PreciseTimer);
    idleTimer_->setInterval(0);
    connect(idleTimer_, &QTimer::timeout, this, &TMainForm::idle);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &TMainForm::wakeIdleLoop);
    SetConsoleExitHandler([this] { QTimer::singleShot(0, this, &QWidget::close); });
}

TMainForm::~TMainForm()
{
    idleTimer_->stop();
    SetConsoleExitHandler({});
    // The views stop listening before the document goes; the engine lets go
    // of its GL objects while the view's context still exists (the converter
    // page releases a held model, the history the meshes it keeps).
    viewControls_->Detach();
    if (Started())
        view_->makeCurrent();
    delete hierarchy_;
    hierarchy_ = nullptr;
    selectionPanel_ = nullptr;
    delete toolPanel_;
    toolPanel_ = nullptr;
    delete scriptEditor_;
    scriptEditor_ = nullptr;
    delete animPanel_;
    animPanel_ = nullptr;
    services_.document = nullptr;
    document_.reset();
    session_.reset();
    context_.reset();
}

std::string TMainForm::ShowAndStart(int timeoutMs)
{
    show();
    // A window just opened is the one in use (a desktop without a window
    // manager would not give it the focus by itself).
    activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!startTried_ && waited.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!startTried_)
        return "Движок не запустился за " + std::to_string(timeoutMs / 1000) +
               " с: 3-D вид не получил контекст OpenGL (есть ли дисплей?)";
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
        selectionPanel_->Attach(*document_);
        viewControls_->Attach(
            *document_, {&session_->ArrowX(), &session_->ArrowY(), &session_->ArrowZ()}, [this] {
                const qreal ratio = view_->devicePixelRatioF();
                return ViewGeometry{CurrentViewport(), static_cast<std::int32_t>(view_->height() * ratio),
                                    ratio};
            });
        pages_->AttachAll(*document_);
        sceneFiles_->Attach(*document_, *session_);
        animPanel_->Attach(*document_);
        scriptEditor_->Attach(*document_, *animPanel_->Workspace());
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
    QMenu* recent = file->addMenu(QStringLiteral("Последние"));
    recent->setObjectName(QStringLiteral("MenuRecent"));
    sceneFiles_->ConnectRecentMenu(*recent, [this](const std::string& path) { OpenSceneCommand(path); });
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("Выход"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("ActionExit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

    buildEditMenu();

    // The same handler as the buttons of the page "Добавить".
    QMenu* create = menuBar()->addMenu(QStringLiteral("Создать"));
    create->setObjectName(QStringLiteral("MenuCreate"));
    for (const NewObjectKind kind : kNewObjectKinds) {
        const NewObjectTexts& texts = TextsOf(kind);
        QAction* item = create->addAction(
            QString::fromUtf8(texts.menuItem.data(), static_cast<qsizetype>(texts.menuItem.size())), this,
            [this, kind] { addPage_->AddObject(kind); });
        item->setObjectName(QStringLiteral("ActionCreate") +
                            QString::fromLatin1(texts.id.data(), static_cast<qsizetype>(texts.id.size())));
    }

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
    options->addSeparator();
    QAction* autosave = options->addAction(QStringLiteral("Автосохранение..."), this,
                                           [this] { sceneFiles_->ConfigureAutosave(); });
    autosave->setObjectName(QStringLiteral("ActionAutosave"));

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

    addPage_ = new TAddPage(services_, pages_);
    addPage_->onLoadScene = [this] { LoadSceneCommand(); };
    pages_->AddPage(QStringLiteral("add"), QStringLiteral("Добавить"), addPage_, addPage_);
    propertiesPage_ = new TPropertiesPage(services_, pages_);
    pages_->AddPage(QStringLiteral("properties"), QStringLiteral("Свойства"), propertiesPage_,
                    propertiesPage_);
    connect(this, &TMainForm::frameDrawn, propertiesPage_, &TPropertiesPage::Tick);
    auto* materials = new TMaterialsPage(services_, pages_);
    materials->chooseShader = [this](bool vertex, bool fragment, bool glsl) {
        return shadersForm_->ChooseShader(vertex, fragment, glsl);
    };
    hierarchy_->onGoToMaterial = [materials](const std::string& geometry) {
        materials->GoToMaterialOf(geometry);
    };
    pages_->AddPage(QStringLiteral("materials"), QStringLiteral("Материалы"), materials, materials);
    auto* secondaries = new TSecondariesPage(services_, pages_);
    pages_->AddPage(QStringLiteral("secondaries"), QStringLiteral("Secondaries"), secondaries, secondaries);
    auto* skyBox = new TSkyBoxPage(services_, pages_);
    pages_->AddPage(QStringLiteral("skybox"), QStringLiteral("SkyBox"), skyBox, skyBox);
    boundsPage_ = new TBoundsPage(services_, pages_);
    pages_->AddPage(QStringLiteral("bounds"), QStringLiteral("Bounds"), boundsPage_, boundsPage_);
    converterPage_ = new TConverterPage(services_, pages_);
    pages_->AddPage(QStringLiteral("converter"), QStringLiteral("Конвертер"), converterPage_, converterPage_);
    meshesPage_ = new TMeshesPage(services_, pages_);
    pages_->AddPage(QStringLiteral("meshes"), QStringLiteral("Meshes"), meshesPage_, meshesPage_);
    pages_->setCurrentIndex(0);
    return panel;
}

TAnimPanel* TMainForm::buildAnimPanel(QWidget* parent)
{
    return new TAnimPanel(services_, parent);
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
    sceneFiles_->CleanExit();
    consoleForm_->close();
    event->accept();
}

namespace {

// The scene files among what is dragged over the window.
QStringList sceneFilesIn(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".kgf"), Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!sceneFilesIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QStringList files = sceneFilesIn(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    OpenSceneCommand(files.front().toStdString());
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
    for (QWidget* panel : {static_cast<QWidget*>(hierarchy_), static_cast<QWidget*>(treeToggle_), toolPanel_,
                           static_cast<QWidget*>(animPanel_)})
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

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        wakeIdleLoop();
    QMainWindow::changeEvent(event);
}

double TMainForm::FramePeriod() const
{
    const bool inUse = QApplication::activeWindow() != nullptr && !isMinimized();
    return FramePeriodMs(inUse, screen() ? screen()->refreshRate() : 0);
}

void TMainForm::wakeIdleLoop()
{
    // Back to the full rate at once when the editor comes into use again.
    if (idleTimer_->isActive() && FramePacer::WaitMs(pacerDue_, FramePacer::Clock::now()) > FramePeriod())
        idleTimer_->start(0);
}

void TMainForm::idle()
{
    if (!Started())
        return;
    pacerDue_ = pacer_.NextDue(FramePacer::Clock::now(), FramePeriod());
    try {
        view_->makeCurrent();
        UpdateScene();
        RefreshEditorLists();
        if (ViewInput* input = viewControls_->Input())
            input->Advance(FrameTime);
        selectionPanel_->Refresh();
        // The time bar follows the selected script's clock; the script
        // editor window shows what changed, while it is shown.
        animPanel_->Tick();
        scriptEditor_->Tick();
    } catch (const std::exception& e) {
        reportFrameError(e.what());
    }
    view_->repaint();
    idleTimer_->start(FramePacer::WaitMs(pacerDue_, FramePacer::Clock::now()));
}

void TMainForm::paint()
{
    if (!Started()) {
        ClearView();
        return;
    }
    // The clock ticks once per frame drawn, so the figure covers frames, not idle passes.
    AdvanceClock(clock_);
    animPanel_->ShowFps(clock_.FpsText());
    const qreal ratio = view_->devicePixelRatioF();
    FrameInputs frame;
    frame.clientWidth = static_cast<std::int32_t>(view_->width() * ratio);
    frame.clientHeight = static_cast<std::int32_t>(view_->height() * ratio);
    frame.view = CurrentViewport();
    frame.showGrid = flags_.ShowGrid;
    frame.showBounds = boundsPage_ && boundsPage_->ShowBounds();
    if (document_)
        frame.selectedName = document_->Selection().SelectedName();
    frame.fpsText = clock_.FpsText();
    frame.text2D = session_ ? session_->Text2D() : nullptr;
    if (ViewInput* input = viewControls_->Input()) {
        frame.picking = [input] { return input->PickingPass(); };
        frame.outlines = [input] { input->DrawOutlines(); };
        frame.gizmo = [input] { input->DrawGizmo(); };
    }
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
    // A fault that repeats every frame is shown once, not sixty times a
    // second; faults that take turns are each shown once too.
    if (!frameErrorsShown_.insert(text).second)
        return;
    Report(text);
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
    if (Has(changes, DocChange::Selection))
        pages_->RefreshCurrent();
    if (Has(changes, DocChange::History))
        updateTitle();
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
    if (unattended_)
        std::fprintf(stderr, "ra7editor: %s\n", text.c_str());
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
        if (document_) {
            document_->MarkSaved(fileName);
            sceneFiles_->SceneSaved(fileName);
        }
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

void TMainForm::OpenSceneCommand(const std::string& path)
{
    if (MayDiscardChanges())
        LoadSceneFile(path);
}

void TMainForm::OfferStartupRecovery()
{
    sceneFiles_->OfferRecovery("");
}

bool TMainForm::LoadSceneFile(const std::string& path)
{
    if (!document_)
        return false;
    // A scene loaded into the untouched start-up scene is that file; loaded
    // into anything else it is a merge that no file holds yet.
    const bool fresh = document_->FileName().empty() && !document_->Modified() && !document_->CanUndo();
    if (fresh && sceneFiles_->OfferRecovery(path))
        return true;
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
    if (loaded && fresh)
        sceneFiles_->SceneLoaded(path);
    return loaded;
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
