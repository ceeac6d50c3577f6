#include "ui/TMaterialsPage.h"

#include "core/EditorDocument.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"
#include "ui/TMaterialColourGroup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

constexpr const char* kImageFilter =
    "Изображения (*.png *.jpg *.jpeg *.bmp *.tga *.dds *.tif *.tiff *.gif *.pcx);;Все файлы (*)";
constexpr const char* kKmtFilter = "KMT format (*.kmt)";
const char* const kGroupTitles[kColourGroups] = {
    "Цвет:", "World ambient:", "Ambient:", "Diffuse:", "Specular:"};

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Sets a box's text unless the user is typing in it.
void showText(QLineEdit& box, const std::string& text)
{
    if (box.hasFocus() && box.isModified())
        return;
    const QSignalBlocker quiet(&box);
    box.setText(q(text));
    box.setModified(false);
}

void showChecked(QCheckBox& box, bool checked)
{
    const QSignalBlocker quiet(&box);
    box.setChecked(checked);
}

} // namespace

TMaterialsPage::TMaterialsPage(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("MaterialsPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("MaterialsScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    outer->addWidget(scroll);

    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addWidget(buildList(content));
    settings_ = new QWidget(content);
    auto* settingsLayout = new QVBoxLayout(settings_);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->setSpacing(3);
    settingsLayout->addWidget(buildSettings(settings_));
    settingsLayout->addWidget(buildFiles(settings_));
    layout->addWidget(settings_);
    layout->addStretch();
    scroll->setWidget(content);
    settings_->setEnabled(false);
}

TMaterialsPage::~TMaterialsPage()
{
    if (document_)
        document_->Unlisten(listener_);
    if (document_ && services_.makeCurrent) {
        services_.makeCurrent();
        preview_.Release();
    }
}

QWidget* TMaterialsPage::buildList(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    matBox_ = new QListWidget(box);
    matBox_->setObjectName(QStringLiteral("MatBox"));
    matBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    matBox_->setFixedHeight(110);
    matBox_->setToolTip(QStringLiteral("Двойной щелчок: назначить материал выделенной геометрии"));
    matBox_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(matBox_);
    connect(matBox_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!model_)
            return;
        model_->Select(item ? item->text().toStdString() : std::string());
        fill();
    });
    connect(matBox_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!model_)
            return;
        model_->Select(item->text().toStdString());
        run([this] { return model_->AssignToSelection(); });
    });

    listPopup_ = new QMenu(this);
    listPopup_->setObjectName(QStringLiteral("MaterialPopup"));
    auto add = [this](const char* text, const char* name, void (TMaterialsPage::*slot)()) {
        QAction* action = listPopup_->addAction(QString::fromUtf8(text), this, slot);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    add("Загрузить", "ActionLoadMaterials", &TMaterialsPage::LoadLibrary);
    add("Сохранить", "ActionSaveMaterials", &TMaterialsPage::SaveLibrary);
    add("Добавить", "ActionAddMaterial", &TMaterialsPage::AddMaterial);
    QAction* remove = add("Удалить", "ActionDeleteMaterial", &TMaterialsPage::DeleteMaterial);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    matBox_->addAction(remove);
    connect(matBox_, &QWidget::customContextMenuRequested, this, [this, remove](const QPoint& at) {
        remove->setEnabled(model_ && model_->Material());
        listPopup_->popup(matBox_->viewport()->mapToGlobal(at));
    });

    nameEdit_ = new QLineEdit(box);
    nameEdit_->setObjectName(QStringLiteral("matNameEdit"));
    layout->addWidget(nameEdit_);
    connect(nameEdit_, &QLineEdit::textEdited, this, [this] {
        if (!model_ || !model_->Material()) {
            nameEdit_->clear();
            return;
        }
        QPalette palette = nameEdit_->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
        nameEdit_->setPalette(palette);
    });
    connect(nameEdit_, &QLineEdit::editingFinished, this, &TMaterialsPage::applyName);

    previewLabel_ = new QLabel(box);
    previewLabel_->setObjectName(QStringLiteral("MaterialPreview"));
    previewLabel_->setFixedSize(MaterialPreview::kSize, MaterialPreview::kSize);
    previewLabel_->setAlignment(Qt::AlignCenter);
    previewLabel_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(previewLabel_, 0, Qt::AlignHCenter);
    return box;
}

QWidget* TMaterialsPage::buildSettings(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t g = 0; g < kColourGroups; ++g) {
        const auto group = static_cast<MaterialColour>(g);
        auto* colourGroup =
            new TMaterialColourGroup(QString::fromUtf8(kGroupTitles[g]), static_cast<int>(g), box);
        colourGroup->onPressed = [this, group](std::size_t) { barPressed(group); };
        colourGroup->onMoved = [this, group, colourGroup](std::size_t c, std::int32_t position) {
            if (!model_ || dragCancelled_)
                return;
            run([&] {
                model_->MoveColourBar(group, c, position);
                return EditOutcome{};
            });
            // Outside a drag (keys, arrows, clicks beside the handle) each move is a step.
            if (!colourGroup->Bar(c).isSliderDown())
                document_->BreakMerge();
        };
        colourGroup->onReleased = [this](std::size_t) { barReleased(); };
        layout->addWidget(colourGroup);
        groups_[g] = colourGroup;
        if (group == MaterialColour::Colour) {
            engineColour_ = new QCheckBox(QStringLiteral("Задается движком"), box);
            engineColour_->setObjectName(QStringLiteral("EngineColourCheck"));
            layout->addWidget(engineColour_);
            connect(engineColour_, &QCheckBox::clicked, this, [this](bool on) {
                run([&] {
                    model_->SetEngineColour(on);
                    return EditOutcome{};
                });
            });
        }
    }

    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    shininess_ = new QLineEdit(box);
    shininess_->setObjectName(QStringLiteral("ShininessEdit"));
    shininess_->setToolTip(QStringLiteral("0 до 128; больше 128 запоминается как 128"));
    form->addRow(QStringLiteral("Shininess:"), shininess_);
    connect(shininess_, &QLineEdit::editingFinished, this, [this] {
        shininess_->setModified(false); // the box shows what the material holds afterwards
        if (model_ && shininess_->text().toStdString() != std::to_string(shown_.shininess))
            run([this] { return model_->SetShininessText(shininess_->text().toStdString()); });
    });
    alpha_ = new QLineEdit(box);
    alpha_->setObjectName(QStringLiteral("AlphaEdit"));
    alpha_->setToolTip(QStringLiteral("Порог альфа-теста; 0 или пусто: без теста"));
    form->addRow(QStringLiteral("Alpha range:"), alpha_);
    connect(alpha_, &QLineEdit::editingFinished, this, [this] {
        alpha_->setModified(false);
        if (model_ && alpha_->text().toStdString() != shown_.alphaText)
            run([this] { return model_->SetAlphaText(alpha_->text().toStdString()); });
    });
    layout->addLayout(form);

    blend_ = new QCheckBox(QStringLiteral("Прозрачность"), box);
    blend_->setObjectName(QStringLiteral("BlendCheck"));
    layout->addWidget(blend_);
    connect(blend_, &QCheckBox::clicked, this, [this](bool on) {
        run([&] {
            model_->SetBlend(on);
            return EditOutcome{};
        });
    });
    cullFace_ = new QCheckBox(QStringLiteral("Cull face"), box);
    cullFace_->setObjectName(QStringLiteral("CullFaceCheck"));
    // The stored flag is "two-sided": ticked, faces show from both sides.
    cullFace_->setToolTip(
        QStringLiteral("Отмечено: грани видны с обеих сторон (отсечение задних граней выключено)"));
    layout->addWidget(cullFace_);
    connect(cullFace_, &QCheckBox::clicked, this, [this](bool on) {
        run([&] {
            model_->SetTwoSided(on);
            return EditOutcome{};
        });
    });
    return box;
}

QLineEdit* TMaterialsPage::fileBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setToolTip(QStringLiteral("Двойной щелчок: выбрать; Delete или меню: очистить"));
    box->installEventFilter(this);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, [this, box](const QPoint& at) {
        QMenu menu;
        menu.addAction(QStringLiteral("Выбрать..."), this, [this, box] { chooseFor(box); });
        menu.addAction(QStringLiteral("Очистить"), this, [this, box] { clearFileBox(box); });
        menu.exec(box->mapToGlobal(at));
    });
    return box;
}

QWidget* TMaterialsPage::buildFiles(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(QStringLiteral("Шейдер:"), box));
    vertexShader_ = fileBox("VertexShaderBox", box);
    fragmentShader_ = fileBox("FragmentShaderBox", box);
    layout->addWidget(vertexShader_);
    layout->addWidget(fragmentShader_);
    layout->addWidget(new QLabel(QStringLiteral("Self-Illumination:"), box));
    selfIllumination_ = fileBox("SelfIllumBox", box);
    layout->addWidget(selfIllumination_);

    texturesLabel_ = new QLabel(QStringLiteral("Текстуры:"), box);
    texturesLabel_->setObjectName(QStringLiteral("TexturesLabel"));
    layout->addWidget(texturesLabel_);
    textures_ = new QListWidget(box);
    textures_->setObjectName(QStringLiteral("TextureList"));
    textures_->setToolTip(QStringLiteral("Двойной щелчок: выбрать файл; Delete или меню: очистить"));
    for (std::size_t slot = 0; slot < kMaterialTextureSlots; ++slot)
        textures_->addItem(QString());
    textures_->setFixedHeight(textures_->sizeHintForRow(0) * static_cast<int>(kMaterialTextureSlots) + 6);
    textures_->installEventFilter(this);
    textures_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(textures_);
    connect(textures_, &QListWidget::currentRowChanged, this, [this](int row) {
        texturesLabel_->setText(row < 0 ? QStringLiteral("Текстуры:")
                                        : QStringLiteral("Текстуры: %1").arg(row));
    });
    connect(textures_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { chooseTexture(textures_->row(item)); });
    connect(textures_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = textures_->currentRow();
        if (row < 0)
            return;
        QMenu menu;
        menu.addAction(QStringLiteral("Выбрать..."), this, [this, row] { chooseTexture(row); });
        menu.addAction(QStringLiteral("Очистить"), this, [this] { clearFileBox(textures_); });
        menu.exec(textures_->viewport()->mapToGlobal(at));
    });
    return box;
}

void TMaterialsPage::Attach(EditorDocument& document)
{
    document_ = &document;
    model_ = std::make_unique<MaterialPageModel>(document);
    model_->makeCurrent = services_.makeCurrent;
    listener_ = document.Listen([this](std::uint32_t changes) { documentChanged(changes); });
}

void TMaterialsPage::Refresh()
{
    if (!model_)
        return;
    model_->Reconcile();
    fill();
}

void TMaterialsPage::documentChanged(std::uint32_t changes)
{
    if (!model_ || editing_ || !isVisible())
        return;
    if (Has(changes, DocChange::Materials) || Has(changes, DocChange::Properties) ||
        Has(changes, DocChange::Textures)) {
        model_->Reconcile();
        fill();
    }
}

void TMaterialsPage::fillList()
{
    const std::vector<std::string> names = model_->Names();
    const QSignalBlocker quiet(matBox_);
    bool same = matBox_->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < matBox_->count(); ++i)
        same = matBox_->item(i)->text() == q(names[static_cast<std::size_t>(i)]);
    if (!same) {
        matBox_->setUpdatesEnabled(false);
        matBox_->clear();
        for (const std::string& name : names)
            matBox_->addItem(q(name));
        matBox_->setUpdatesEnabled(true);
    }
    const auto selected = std::find(names.begin(), names.end(), model_->Selected());
    if (selected == names.end() || model_->Selected().empty()) {
        matBox_->setCurrentRow(-1);
        matBox_->clearSelection();
    } else {
        matBox_->setCurrentRow(static_cast<int>(selected - names.begin()));
    }
}

void TMaterialsPage::fill()
{
    fillList();
    shown_ = model_->View();
    const bool selected = model_->Material() != nullptr;
    settings_->setEnabled(selected);
    showText(*nameEdit_, shown_.name);
    for (std::size_t g = 0; g < kColourGroups; ++g)
        groups_[g]->Show(shown_.bars[g], shown_.colours[g]);
    groups_[0]->SetBarsEnabled(!shown_.engineColour);
    showChecked(*engineColour_, shown_.engineColour);
    showText(*shininess_, selected ? std::to_string(shown_.shininess) : std::string());
    showText(*alpha_, shown_.alphaText);
    showChecked(*blend_, shown_.blend);
    showChecked(*cullFace_, shown_.twoSided);
    showText(*vertexShader_, shown_.shaders.vertex);
    showText(*fragmentShader_, shown_.shaders.fragment);
    showText(*selfIllumination_, shown_.selfIllumination);
    for (std::size_t slot = 0; slot < kMaterialTextureSlots; ++slot)
        textures_->item(static_cast<int>(slot))->setText(q(shown_.textures[slot]));
    renderPreview();
}

void TMaterialsPage::renderPreview()
{
    const KaMaterial* material = model_->Material();
    if (!material || !services_.makeCurrent) {
        previewImage_ = QImage();
        previewLabel_->clear();
        return;
    }
    services_.makeCurrent();
    const std::vector<std::uint8_t> pixels = preview_.Render(material->Name);
    if (pixels.empty()) {
        previewImage_ = QImage();
        previewLabel_->setText(QStringLiteral("Нет предпросмотра"));
        return;
    }
    previewImage_ =
        QImage(pixels.data(), MaterialPreview::kSize, MaterialPreview::kSize, QImage::Format_RGBA8888).copy();
    previewLabel_->setPixmap(QPixmap::fromImage(previewImage_));
}

void TMaterialsPage::run(const std::function<EditOutcome()>& edit)
{
    if (!model_)
        return;
    editing_ = true;
    try {
        const EditOutcome message = edit();
        editing_ = false;
        if (message)
            report(*message);
    } catch (const std::exception& e) {
        editing_ = false;
        report({e.what()});
    }
    fill();
}

void TMaterialsPage::report(const PageMessage& message)
{
    if (services_.report)
        services_.report(message.text);
    if (message.showConsole && services_.showConsole)
        services_.showConsole();
}

void TMaterialsPage::applyName()
{
    nameEdit_->setPalette(QPalette());
    if (!model_ || !model_->Material()) {
        nameEdit_->clear();
        return;
    }
    const std::string text = nameEdit_->text().toStdString();
    nameEdit_->setModified(false);
    run([&] { return model_->Rename(text); });
}

void TMaterialsPage::barPressed(MaterialColour group)
{
    if (!model_ || !model_->Material())
        return;
    dragCancelled_ = false;
    std::string title = kGroupTitles[static_cast<std::size_t>(group)];
    title.pop_back(); // the caption's colon
    document_->BeginGesture("Материал " + model_->Selected() + ": " + title);
    // Escape during the drag puts the colour back; the keys go to the focused widget.
    qApp->installEventFilter(this);
}

void TMaterialsPage::barReleased()
{
    qApp->removeEventFilter(this);
    if (!model_)
        return;
    if (!dragCancelled_)
        document_->CommitGesture();
    dragCancelled_ = false;
    fill();
}

bool TMaterialsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && document_ && document_->InGesture() && !dragCancelled_) {
            document_->CancelGesture();
            dragCancelled_ = true;
            fill();
            return true;
        }
        if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) &&
            (watched == vertexShader_ || watched == fragmentShader_ || watched == selfIllumination_ ||
             watched == textures_)) {
            clearFileBox(watched);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == vertexShader_ || watched == fragmentShader_ || watched == selfIllumination_)) {
        chooseFor(watched);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMaterialsPage::chooseFor(QObject* box)
{
    if (box == vertexShader_ || box == fragmentShader_)
        pickShader(box == vertexShader_ ? ShaderBox::Vertex : ShaderBox::Fragment);
    else if (box == selfIllumination_)
        chooseTexture(-1);
}

void TMaterialsPage::pickShader(ShaderBox box)
{
    if (!model_ || !model_->Material() || !chooseShader)
        return;
    const bool vertex = box == ShaderBox::Vertex;
    // The first box takes vertex programs and GLSL programs, the second fragment programs.
    const KaShader* picked = chooseShader(vertex, !vertex, vertex);
    run([&] {
        model_->ChooseShader(box, picked);
        return EditOutcome{};
    });
}

void TMaterialsPage::chooseTexture(int slot)
{
    if (!model_ || !model_->Material())
        return;
    const auto path = services_.dialogs.AskOpenFile(
        slot < 0 ? "Self-Illumination" : "Текстура " + std::to_string(slot), kImageFilter);
    if (!path)
        return; // a cancelled dialog changes nothing; clearing is its own command
    const std::string stored = StoredFileName(*path, {.lowerCase = true});
    run([&] {
        return slot < 0 ? model_->SetSelfIllumination(stored)
                        : model_->SetTexture(static_cast<std::size_t>(slot), stored);
    });
}

void TMaterialsPage::clearFileBox(QObject* box)
{
    run([&] {
        if (box == vertexShader_)
            model_->ClearShader(ShaderBox::Vertex);
        else if (box == fragmentShader_)
            model_->ClearShader(ShaderBox::Fragment);
        else if (box == selfIllumination_)
            model_->ClearSelfIllumination();
        else if (box == textures_ && textures_->currentRow() >= 0)
            model_->ClearTexture(static_cast<std::size_t>(textures_->currentRow()));
        return EditOutcome{};
    });
}

void TMaterialsPage::GoToMaterialOf(const std::string& geometryName)
{
    if (!model_)
        return;
    model_->GoToMaterialOf(geometryName);
    if (services_.showPage)
        services_.showPage(QStringLiteral("materials"));
    fill();
}

void TMaterialsPage::LoadLibrary()
{
    const auto path = services_.dialogs.AskOpenFile("Загрузить KMT", kKmtFilter);
    if (!path)
        return;
    const std::string stored = StoredFileName(*path, {.lowerCase = true});
    run([&] { return model_->Load(stored); });
}

void TMaterialsPage::SaveLibrary()
{
    if (!model_)
        return;
    const auto path = services_.dialogs.AskSaveFile("Сохранить KMT", kKmtFilter);
    if (!path)
        return;
    const std::string fileName = StoredFileName(*path, {.extension = ".kmt"});
    try {
        model_->Save(fileName);
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        services_.dialogs.ShowError(e.what());
    }
}

void TMaterialsPage::AddMaterial()
{
    if (!model_)
        return;
    const auto text =
        services_.dialogs.AskText("Название имя материала", "Имя материала:", model_->NewMaterialName());
    if (!text)
        return;
    run([&] { return model_->Add(*text); });
}

void TMaterialsPage::DeleteMaterial()
{
    run([this] {
        model_->Delete();
        return EditOutcome{};
    });
}

} // namespace ra7::editor
