#include "core/ChosenResources.h"
#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/PropertyFields.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7SoundBuffersList.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/PropertyControls.h"
#include "ui/PropertyPanels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

constexpr const char* kSoundFilter = "Звук (*.wav *.ogg);;WAV (*.wav);;Ogg Vorbis (*.ogg);;All (*)";

} // namespace

TSoundPanel::TSoundPanel(EditorServices& services, QWidget* parent)
    : TKindPanel(services, KaObjKind::Sound, parent)
{
    setObjectName(QStringLiteral("SoundPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    addFlag(*layout, LoopingField());
    file_ = new TNameRow("SoundFile", "Звук:", this);
    layout->addWidget(file_);
    connect(file_, &TNameRow::chooseClicked, this, &TSoundPanel::chooseSound);

    auto* buttons = new QHBoxLayout();
    const struct {
        const char* id;
        const char* hint;
        QStyle::StandardPixmap icon;
        void (*operation)(KaSceneObj&);
    } controls[] = {
        {"SoundPlay", "Play", QStyle::SP_MediaPlay, [](KaSceneObj& s) { static_cast<KaSound&>(s).Play(); }},
        {"SoundPause", "Pause", QStyle::SP_MediaPause,
         [](KaSceneObj& s) { static_cast<KaSound&>(s).Pause(); }},
        {"SoundStop", "Stop", QStyle::SP_MediaStop, [](KaSceneObj& s) { static_cast<KaSound&>(s).Stop(); }},
    };
    for (const auto& item : controls) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(item.id));
        button->setToolTip(QString::fromLatin1(item.hint));
        button->setIcon(style()->standardIcon(item.icon));
        buttons->addWidget(button);
        connect(button, &QToolButton::clicked, this,
                [this, operation = item.operation] { control(operation); });
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    offsets_ = new QLabel(this);
    offsets_->setObjectName(QStringLiteral("SoundOffsets"));
    layout->addWidget(offsets_);
    position_ = new QSlider(Qt::Horizontal, this);
    position_->setObjectName(QStringLiteral("SoundPosition"));
    // It shows where the sound is; it does not seek.
    position_->setAttribute(Qt::WA_TransparentForMouseEvents);
    position_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(position_);
}

void TSoundPanel::fillOwn(const KaSceneObj& object)
{
    file_->Show(static_cast<const KaSound&>(object).SoundName);
}

void TSoundPanel::Tick(KaSceneObj& object)
{
    const auto& sound = static_cast<const KaSound&>(object);
    offsets_->setText(QStringLiteral("i1 %1 i2 %2 i3 %3")
                          .arg(sound.SecOffset)
                          .arg(sound.SampleOffset)
                          .arg(sound.ByteOffset));
    position_->setMaximum(sound.BufferSize);
    position_->setValue(sound.ByteOffset);
}

void TSoundPanel::chooseSound()
{
    if (selectedName().empty())
        return;
    const std::optional<std::string> path = services().dialogs.AskOpenFile("Выбрать звук", kSoundFilter);
    if (!path)
        return;
    // Sound file names keep their letter case.
    const std::string file = StoredFileName(*path);
    if (!StoredFileExists(file)) {
        LogLine(FileMissingLine(file));
        return;
    }
    // Loaded before the step, so that a file that cannot be read is refused
    // with its reason and the source keeps its sound.
    try {
        SoundBuffers->Add(file);
    } catch (const std::exception& e) {
        showFailure("Файл <" + file + "> не загружен: " + e.what());
        return;
    }
    if (edit([file](KaObjArray& scene, const std::string& name) { return SoundFileEdit(scene, name, file); }))
        LogLine(FileAddedLine(file));
}

void TSoundPanel::control(void (*operation)(KaSceneObj&))
{
    EditorDocument* document = services().document;
    KaSceneObj* sound = document ? document->Scene().FindByName(selectedName()) : nullptr;
    if (!sound || sound->Kind() != KaObjKind::Sound)
        return;
    try {
        operation(*sound);
    } catch (const std::exception& e) {
        services().report(e.what());
    }
}

} // namespace ra7::editor
