#include "ui/TSaveForm.h"

#include "scene/Ka7SceneUnit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ra7::editor {

namespace {

constexpr std::array<const char*, kSaveKindCount> kKindCaptions = {
    "Геометрия:", "Спрайты:", "Источники света:", "Камеры:", "Системы частиц:"};
constexpr std::array<const char*, kSaveKindCount> kKindNames = {"GeomList", "SpriteList", "LightList",
                                                                "CameraList", "ParSysList"};

QPushButton* button(const char* text, const char* name, QWidget* parent)
{
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

void fill(QListWidget& list, const std::vector<std::string>& items)
{
    list.clear();
    for (const std::string& item : items)
        list.addItem(QString::fromStdString(item));
}

QWidget* captioned(const char* caption, QWidget* content, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QString::fromUtf8(caption), box));
    layout->addWidget(content);
    return box;
}

} // namespace

TSaveForm::TSaveForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), toSave_(new QListWidget(this)),
      lines_(new QListWidget(this)), lineEdit_(new QLineEdit(this)), objectName_(new QLabel(this)),
      objectTitle_(new QLabel(this)), objectMemo_(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Сохранить..."));
    setObjectName(QStringLiteral("SaveForm"));
    toSave_->setObjectName(QStringLiteral("SaveList"));
    lines_->setObjectName(QStringLiteral("ScriptLines"));
    lineEdit_->setObjectName(QStringLiteral("ScriptEdit"));
    objectName_->setObjectName(QStringLiteral("ObjectName"));
    objectTitle_->setObjectName(QStringLiteral("ObjectTitle"));
    objectMemo_->setObjectName(QStringLiteral("ObjectMemo"));
    objectMemo_->setReadOnly(true);

    auto* kinds = new QGridLayout;
    for (std::int32_t i = 0; i < kSaveKindCount; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QString::fromLatin1(kKindNames[static_cast<std::size_t>(i)]));
        kindLists_[static_cast<std::size_t>(i)] = list;
        kinds->addWidget(captioned(kKindCaptions[static_cast<std::size_t>(i)], list, this), i / 3, i % 3);
        const auto kind = static_cast<SaveKind>(i);
        connect(list, &QListWidget::itemClicked, this, [this, kind] { kindClicked(kind); });
    }

    auto* moves = new QVBoxLayout;
    auto* add = button("Добавить >>", "AddToSave", this);
    auto* remove = button("<< Удалить", "RemoveFromSave", this);
    auto* reset = button("Сбросить", "ResetSave", this);
    auto* ok = button("ОК", "OkButton", this);
    moves->addStretch();
    for (QPushButton* b : {add, remove, reset, ok})
        moves->addWidget(b);
    moves->addStretch();

    auto* scripts = new QVBoxLayout;
    scripts->addWidget(captioned("На сохранение:", toSave_, this));
    scripts->addWidget(captioned("Скрипты консоли:", lines_, this));
    auto* lineRow = new QHBoxLayout;
    auto* addLine = button("Добавить", "AddScript", this);
    auto* deleteLine = button("Удалить", "DeleteScript", this);
    lineRow->addWidget(lineEdit_, 1);
    lineRow->addWidget(addLine);
    lineRow->addWidget(deleteLine);
    scripts->addLayout(lineRow);

    auto* group = new QGroupBox(QStringLiteral("Объект"), this);
    auto* groupLayout = new QVBoxLayout(group);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Имя:"), group));
    nameRow->addWidget(objectName_, 1);
    groupLayout->addLayout(nameRow);
    groupLayout->addWidget(objectTitle_);
    groupLayout->addWidget(objectMemo_);
    kinds->addWidget(group, 1, 2);

    auto* top = new QHBoxLayout(this);
    top->addLayout(kinds, 3);
    top->addLayout(moves);
    top->addLayout(scripts, 2);
    resize(900, 480);

    connect(add, &QPushButton::clicked, this, &TSaveForm::AddToSave);
    connect(remove, &QPushButton::clicked, this, &TSaveForm::RemoveFromSave);
    connect(reset, &QPushButton::clicked, this, &TSaveForm::ResetSave);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(addLine, &QPushButton::clicked, this, &TSaveForm::AddScriptLine);
    connect(deleteLine, &QPushButton::clicked, this, &TSaveForm::DeleteScriptLine);
}

void TSaveForm::SaveWindowDisplay()
{
    model_.Display(*SceneObjects);
    showModel();
}

void TSaveForm::AddToSave()
{
    for (const SaveKind kind : kAddOrder) {
        QListWidget* list = kindList(kind);
        const int row = list->currentRow();
        if (row < 0 || !list->currentItem()->isSelected())
            continue;
        const std::int32_t next = model_.Add(*SceneObjects, kind, row);
        showModel();
        if (next >= 0)
            list->setCurrentRow(next);
        return;
    }
}

void TSaveForm::RemoveFromSave()
{
    const int row = toSave_->currentRow();
    if (row < 0)
        return;
    model_.Remove(*SceneObjects, row);
    showModel();
}

void TSaveForm::ResetSave()
{
    model_.Reset(*SceneObjects);
    showModel();
}

void TSaveForm::AddScriptLine()
{
    model_.AddLine(lineEdit_->text().toStdString());
    showModel();
}

void TSaveForm::DeleteScriptLine()
{
    const int row = lines_->currentRow();
    if (row < 0)
        return;
    model_.RemoveLine(row);
    showModel();
}

void TSaveForm::kindClicked(SaveKind kind)
{
    for (QListWidget* list : kindLists_)
        if (list != kindList(kind))
            list->clearSelection();
    QListWidgetItem* item = kindList(kind)->currentItem();
    if (!item)
        return;
    const ObjectInfo info = DescribeObject(*SceneObjects, kind, item->text().toStdString());
    objectName_->setText(QString::fromStdString(info.name));
    objectTitle_->setText(QString::fromStdString(info.title));
    QStringList memo;
    for (const std::string& line : info.memo)
        memo << QString::fromStdString(line);
    objectMemo_->setPlainText(memo.join(QLatin1Char('\n')));
}

void TSaveForm::showModel()
{
    for (std::int32_t i = 0; i < kSaveKindCount; ++i)
        fill(*kindLists_[static_cast<std::size_t>(i)], model_.KindList(static_cast<SaveKind>(i)));
    fill(*toSave_, model_.ToSave());
    fill(*lines_, model_.Lines());
}

} // namespace ra7::editor
