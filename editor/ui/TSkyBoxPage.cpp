#include "ui/TSkyBoxPage.h"

#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/SkyBoxEdits.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ra7::editor {

namespace {
constexpr const char* kImageFilter = "Изображения (*.bmp *.jpg *.jpeg *.png *.tga *.dds);;Все файлы (*)";
} // namespace

TSkyBoxPage::TSkyBoxPage(EditorServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("SkyBoxPage"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    enabled_ = new QCheckBox(QStringLiteral("SkyBox"), this);
    enabled_->setObjectName(QStringLiteral("SkyBoxEnabled"));
    layout->addWidget(enabled_, 0, 0, 1, 2);
    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) {
        if (document_)
            SetSkyBoxEnabled(*document_, on);
    });
    int row = 1;
    for (const SkyFaceBox& box : kSkyFaceBoxes) {
        layout->addWidget(new QLabel(QString::fromUtf8(box.caption), this), row, 0);
        auto* name = new QLineEdit(this);
        name->setObjectName(QString::fromLatin1(box.objectName));
        name->setReadOnly(true);
        name->setToolTip(QStringLiteral("Двойной щелчок: выбрать текстуру"));
        name->installEventFilter(this);
        layout->addWidget(name, row++, 1);
        faces_[box.face] = name;
    }
    auto* apply = new QPushButton(QStringLiteral("Применить"), this);
    apply->setObjectName(QStringLiteral("SkyApply"));
    auto* clear = new QPushButton(QStringLiteral("Очистить"), this);
    clear->setObjectName(QStringLiteral("SkyClear"));
    layout->addWidget(apply, row, 0);
    layout->addWidget(clear, row++, 1);
    layout->setRowStretch(row, 1);
    connect(apply, &QPushButton::clicked, this, [this] {
        if (document_)
            ApplySkyBoxNow(*document_);
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        if (document_)
            ClearSkyBox(*document_);
    });
    setEnabled(false);
}

TSkyBoxPage::~TSkyBoxPage()
{
    if (document_)
        document_->Unlisten(listener_);
}

void TSkyBoxPage::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) {
        if (Has(changes, DocChange::SkyBox) || Has(changes, DocChange::History))
            Refresh();
    });
    setEnabled(true);
    Refresh();
}

void TSkyBoxPage::Refresh()
{
    if (!document_)
        return;
    const SkyBoxFaces& sky = document_->EditorState().sky;
    const QSignalBlocker blocker(enabled_);
    enabled_->setChecked(sky.enabled);
    for (std::size_t face = 0; face < kSkyFaceCount; ++face)
        faces_[face]->setText(QString::fromStdString(sky.names[face]));
}

void TSkyBoxPage::ChooseFace(std::size_t face)
{
    if (!document_ || face >= kSkyFaceCount)
        return;
    // The old texture stays until a new one has loaded: a cancelled dialog
    // or a missing file leaves the face as it was.
    const auto chosen = services_.dialogs.AskOpenFile("Текстура грани", kImageFilter);
    if (!chosen)
        return;
    if (services_.makeCurrent)
        services_.makeCurrent();
    const FaceChoice choice = ChooseSkyFace(*document_, face, StoredFileName(*chosen));
    if (choice.changed)
        LogLine(choice.line);
    else if (services_.report)
        services_.report(choice.line);
}

bool TSkyBoxPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        for (std::size_t face = 0; face < kSkyFaceCount; ++face)
            if (watched == faces_[face]) {
                ChooseFace(face);
                return true;
            }
    return QWidget::eventFilter(watched, event);
}

} // namespace ra7::editor
