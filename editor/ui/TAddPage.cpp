#include "ui/TAddPage.h"

#include "ui/DialogService.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TAddPage::TAddPage(EditorServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("AddPage"));
    auto* layout = new QVBoxLayout(this);
    for (const NewObjectKind kind : kNewObjectKinds) {
        const NewObjectTexts& texts = TextsOf(kind);
        auto* button = new QPushButton(q(texts.button), this);
        button->setObjectName(QStringLiteral("Add") + q(texts.id));
        connect(button, &QPushButton::clicked, this, [this, kind] { AddObject(kind); });
        layout->addWidget(button);
    }
    layout->addSpacing(12);
    auto* loadButton = new QPushButton(QStringLiteral("Загрузить KGF"), this);
    loadButton->setObjectName(QStringLiteral("LoadKgfButton"));
    connect(loadButton, &QPushButton::clicked, this, [this] {
        if (onLoadScene)
            onLoadScene();
    });
    layout->addWidget(loadButton);
    layout->addStretch();
}

void TAddPage::AddObject(NewObjectKind kind)
{
    EditorDocument* document = services_.document;
    if (!document)
        return;
    std::int32_t count = 0;
    if (kind == NewObjectKind::ParSystem) {
        const auto answer = services_.dialogs.AskText(kParticleCountTitle, kParticleCountPrompt, "0");
        if (!answer)
            return;
        const ParticleCountAnswer parsed = ParseParticleCount(*answer);
        if (parsed.problem)
            services_.dialogs.ShowMessage(*parsed.problem);
        if (!parsed.count)
            return;
        count = *parsed.count;
    }
    try {
        AddNewObject(*document, kind, count);
    } catch (const std::exception& e) {
        services_.report(e.what());
    }
}

} // namespace ra7::editor
