#include "ui/TShadersForm.h"

#include "core/ShaderLists.h"
#include "resources/Ka7Shaders.h"
#include "ui/DialogService.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ra7::editor {

namespace {

QListWidget* list(const char* caption, const char* name, QWidget* parent, QHBoxLayout& row)
{
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(QString::fromUtf8(caption), parent));
    auto* made = new QListWidget(parent);
    made->setObjectName(QString::fromLatin1(name));
    column->addWidget(made);
    row.addLayout(column);
    return made;
}

void fill(QListWidget& target, const std::vector<std::string>& names, bool enabled)
{
    target.clear();
    for (const std::string& name : names)
        target.addItem(QString::fromStdString(name));
    target.setEnabled(enabled);
}

std::string selected(const QListWidget& source)
{
    const QList<QListWidgetItem*> items = source.selectedItems();
    return items.isEmpty() ? std::string() : items.front()->text().toStdString();
}

} // namespace

TShadersForm::TShadersForm(DialogService& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("Шейдеры"));
    setObjectName(QStringLiteral("ShadersForm"));
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout;
    vertex_ = list("ARB vertex:", "VertexList", this, *lists);
    fragment_ = list("ARB fragment:", "FragmentList", this, *lists);
    glsl_ = list("GLSL:", "GlslList", this, *lists);
    layout->addLayout(lists);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &TShadersForm::cancel);
    for (QListWidget* l : {vertex_, fragment_, glsl_})
        connect(l, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

KaShader* TShadersForm::ChooseShader(bool vertexAllowed, bool fragmentAllowed, bool glslAllowed)
{
    const ShaderLists lists = ListShaders(*Shaders);
    fill(*vertex_, lists.vertex, vertexAllowed);
    fill(*fragment_, lists.fragment, fragmentAllowed);
    fill(*glsl_, lists.glsl, glslAllowed);
    // "Отмена", Escape and the window's close button choose nothing; a
    // selection left in a list counts only when the window was accepted.
    if (!dialogs_.RunModal(*this))
        return nullptr;
    return ChosenShader(*Shaders, selected(*vertex_), selected(*fragment_), selected(*glsl_));
}

void TShadersForm::cancel()
{
    for (QListWidget* l : {vertex_, fragment_, glsl_})
        l->clearSelection();
    reject();
}

} // namespace ra7::editor
