#include "ui/TSecondariesPage.h"

#include "core/EditorDocument.h"
#include "core/FlareEdits.h"
#include "core/PageRules.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Sprite.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace ra7::editor {

namespace {

constexpr const char* kImageFilter = "Изображения (*.bmp *.jpg *.jpeg *.png *.tga *.dds);;Все файлы (*)";
constexpr const char* kKlsFilter = "KLS format (*.kls)";
constexpr int kPositionBar = 4;
constexpr int kSizeBar = 5;
const char* const kColourFields[] = {"Красный", "Зелёный", "Синий", "Прозрачность"};

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

KaLensFlare* flareNamed(const std::string& name)
{
    return LensFlares && !name.empty() ? LensFlares->Find(name) : nullptr;
}

QAction* deleteAction(QWidget* owner, const char* objectName)
{
    auto* action = new QAction(QStringLiteral("Удалить"), owner);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcut(QKeySequence::Delete);
    action->setShortcutContext(Qt::WidgetShortcut);
    owner->addAction(action);
    owner->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

} // namespace

TSecondariesPage::TSecondariesPage(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("SecondariesPage"));
    build();
    setEnabled(false);
}

TSecondariesPage::~TSecondariesPage()
{
    if (document_)
        document_->Unlisten(listener_);
}

QScrollBar* TSecondariesPage::addBar(const char* objectName, int min, int max)
{
    auto* bar = new QScrollBar(Qt::Horizontal, this);
    bar->setObjectName(QString::fromLatin1(objectName));
    bar->setRange(min, max);
    connect(bar, &QScrollBar::sliderReleased, this, [this] {
        if (document_)
            document_->BreakMerge();
    });
    return bar;
}

void TSecondariesPage::build()
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    int row = 0;

    flares_ = new QListWidget(this);
    flares_->setObjectName(QStringLiteral("FlareList"));
    flares_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(flares_, row++, 0, 1, 3);
    connect(flares_, &QListWidget::itemSelectionChanged, this, &TSecondariesPage::flareClicked);
    connect(flares_, &QListWidget::itemDoubleClicked, this, &TSecondariesPage::flareDoubleClicked);
    connect(deleteAction(flares_, "FlareDelete"), &QAction::triggered, this, &TSecondariesPage::deleteFlares);

    auto* addFlare = new QPushButton(QStringLiteral("Добавить"), this);
    addFlare->setObjectName(QStringLiteral("FlareAdd"));
    auto* save = new QPushButton(QStringLiteral("Сохранить"), this);
    save->setObjectName(QStringLiteral("FlareSave"));
    auto* load = new QPushButton(QStringLiteral("Загрузить"), this);
    load->setObjectName(QStringLiteral("FlareLoad"));
    layout->addWidget(addFlare, row, 0);
    layout->addWidget(save, row, 1);
    layout->addWidget(load, row++, 2);
    connect(addFlare, &QPushButton::clicked, this, &TSecondariesPage::addFlare);
    connect(save, &QPushButton::clicked, this, &TSecondariesPage::saveFlares);
    connect(load, &QPushButton::clicked, this, &TSecondariesPage::loadFlares);

    lenses_ = new QListWidget(this);
    lenses_->setObjectName(QStringLiteral("LensList"));
    layout->addWidget(lenses_, row++, 0, 1, 3);
    connect(lenses_, &QListWidget::itemSelectionChanged, this, &TSecondariesPage::fillPage);
    connect(lenses_, &QListWidget::itemDoubleClicked, this, &TSecondariesPage::chooseLensTexture);
    connect(deleteAction(lenses_, "LensDelete"), &QAction::triggered, this, &TSecondariesPage::deleteLens);
    auto* addLens = new QPushButton(QStringLiteral("Добавить"), this);
    addLens->setObjectName(QStringLiteral("LensAdd"));
    layout->addWidget(addLens, row++, 0);
    connect(addLens, &QPushButton::clicked, this, &TSecondariesPage::addLens);

    layout->addWidget(new QLabel(QStringLiteral("IDName:"), this), row, 0);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("IDName"));
    name_->setReadOnly(true);
    name_->setToolTip(QStringLiteral("Двойной щелчок: переименовать блик"));
    name_->installEventFilter(this);
    layout->addWidget(name_, row++, 1, 1, 2);
    count_ = new QLabel(QStringLiteral("Count:-"), this);
    count_->setObjectName(QStringLiteral("LensCount"));
    layout->addWidget(count_, row++, 0, 1, 3);

    layout->addWidget(new QLabel(QStringLiteral("Цвет:"), this), row, 0);
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("LensPreview"));
    preview_->setFixedSize(40, 16);
    preview_->setAutoFillBackground(true);
    layout->addWidget(preview_, row++, 1);
    const char* colourNames[] = {"LensR", "LensG", "LensB", "LensA"};
    for (int i = 0; i < 4; ++i) {
        colour_[static_cast<std::size_t>(i)] = addBar(colourNames[i], kLensColourBar.min, kLensColourBar.max);
        layout->addWidget(colour_[static_cast<std::size_t>(i)], row++, 0, 1, 3);
        connect(colour_[static_cast<std::size_t>(i)], &QScrollBar::valueChanged, this,
                [this, i] { barMoved(i); });
    }
    layout->addWidget(new QLabel(QStringLiteral("Позиция:"), this), row++, 0);
    position_ = addBar("LensPos", kLensPositionBar.min, kLensPositionBar.max);
    layout->addWidget(position_, row++, 0, 1, 3);
    connect(position_, &QScrollBar::valueChanged, this, [this] { barMoved(kPositionBar); });
    layout->addWidget(new QLabel(QStringLiteral("Размер:"), this), row++, 0);
    size_ = addBar("LensSize", kLensSizeBar.min, kLensSizeBar.max);
    layout->addWidget(size_, row++, 0, 1, 3);
    connect(size_, &QScrollBar::valueChanged, this, [this] { barMoved(kSizeBar); });

    layout->addWidget(new QLabel(QStringLiteral("Расстояние:"), this), row, 0);
    distance_ = new QLineEdit(this);
    distance_->setObjectName(QStringLiteral("Distance"));
    distance_->setReadOnly(true);
    layout->addWidget(distance_, row, 1);
    auto* ask = new QPushButton(QStringLiteral("..."), this);
    ask->setObjectName(QStringLiteral("DistanceAsk"));
    ask->setFixedWidth(28);
    layout->addWidget(ask, row++, 2);
    connect(ask, &QPushButton::clicked, this, &TSecondariesPage::askDistance);
    layout->setRowStretch(row, 1);
}

void TSecondariesPage::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) { documentChanged(changes); });
    setEnabled(true);
    Refresh();
}

void TSecondariesPage::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::LensFlares) || Has(changes, DocChange::Textures))
        Refresh();
}

std::vector<std::string> TSecondariesPage::selectedFlares() const
{
    // In list order, as the KLS file is written.
    std::vector<std::string> names;
    for (int i = 0; i < flares_->count(); ++i)
        if (flares_->item(i)->isSelected())
            names.push_back(flares_->item(i)->text().toStdString());
    return names;
}

std::string TSecondariesPage::SelectedFlare() const
{
    const QListWidgetItem* current = flares_->currentItem();
    if (current && current->isSelected())
        return current->text().toStdString();
    const std::vector<std::string> names = selectedFlares();
    return names.empty() ? std::string() : names.front();
}

std::int32_t TSecondariesPage::SelectedLens() const
{
    const QListWidgetItem* current = lenses_->currentItem();
    return current && current->isSelected() ? lenses_->row(current) : -1;
}

void TSecondariesPage::Refresh()
{
    if (!document_)
        return;
    const std::string current = SelectedFlare();
    std::vector<std::string> keep = selectedFlares();
    if (!current.empty()) { // the first selected stays first
        std::erase(keep, current);
        keep.insert(keep.begin(), current);
    }
    const std::int32_t lens = SelectedLens();
    fillFlareList(keep);
    fillLensList(lens);
    fillPage();
}

void TSecondariesPage::fillFlareList(const std::vector<std::string>& select)
{
    const QSignalBlocker blocker(flares_);
    flares_->clear();
    if (!LensFlares)
        return;
    for (std::int32_t i = 0; i < LensFlares->Count(); ++i)
        flares_->addItem(q(LensFlares->Get(i).Name));
    for (const std::string& name : select) {
        const auto found = flares_->findItems(q(name), Qt::MatchExactly);
        if (found.isEmpty())
            continue;
        found.front()->setSelected(true);
        if (name == select.front())
            flares_->setCurrentItem(found.front(), QItemSelectionModel::Current);
    }
}

void TSecondariesPage::fillLensList(std::int32_t select)
{
    const QSignalBlocker blocker(lenses_);
    lenses_->clear();
    const KaLensFlare* flare = flareNamed(SelectedFlare());
    if (!flare)
        return;
    const std::int32_t count = std::clamp(flare->LensCount, 0, kMaxLenses);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string& texture = flare->Lenses[static_cast<std::size_t>(i)].TextureName;
        lenses_->addItem(texture.empty() ? QStringLiteral("(без текстуры)") : q(texture));
    }
    if (select >= 0 && select < count)
        lenses_->setCurrentRow(select);
}

void TSecondariesPage::fillPage()
{
    lensFilling_ = false;
    name_->setText(QStringLiteral("Не выбрано"));
    count_->setText(QStringLiteral("Count:-"));
    distance_->clear();
    for (QScrollBar* bar : colour_) {
        const QSignalBlocker blocker(bar);
        bar->setValue(0);
    }
    for (QScrollBar* bar : {position_, size_}) {
        const QSignalBlocker blocker(bar);
        bar->setValue(bar->minimum());
    }
    QColor shown(Qt::black);
    const KaLensFlare* flare = flareNamed(SelectedFlare());
    if (flare) {
        name_->setText(q(flare->Name));
        count_->setText(QStringLiteral("Count: ") + QString::number(flare->LensCount));
        distance_->setText(q(FormatBoxNumber(flare->DistanceScale)));
        const std::int32_t lens = SelectedLens();
        if (lens >= 0 && lens < std::min(flare->LensCount, kMaxLenses)) {
            const KaLens& values = flare->Lenses[static_cast<std::size_t>(lens)];
            for (std::size_t i = 0; i < 4; ++i) {
                const QSignalBlocker blocker(colour_[i]);
                colour_[i]->setValue(kLensColourBar.Position(values.Color[i]));
            }
            const QSignalBlocker positionBlocker(position_);
            position_->setValue(kLensPositionBar.Position(values.Pos));
            const QSignalBlocker sizeBlocker(size_);
            size_->setValue(kLensSizeBar.Position(values.Size));
            auto byte = [](float c) {
                return static_cast<int>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255));
            };
            shown = QColor(byte(values.Color[0]), byte(values.Color[1]), byte(values.Color[2]));
        }
    }
    QPalette colours = preview_->palette();
    colours.setColor(QPalette::Window, shown);
    preview_->setPalette(colours);
    lensFilling_ = true;
}

void TSecondariesPage::flareClicked()
{
    fillLensList(-1);
    fillPage();
}

void TSecondariesPage::refuse(const std::optional<std::string>& reason)
{
    if (reason && services_.report)
        services_.report(*reason);
}

void TSecondariesPage::flareDoubleClicked()
{
    if (!document_)
        return;
    const std::string sprite = document_->Selection().SelectedName();
    const std::string flare = SelectedFlare();
    if (sprite.empty() || !dynamic_cast<const KaSprite*>(document_->Scene().FindByName(sprite))) {
        refuse("Блик даётся выделенному спрайту: спрайт не выделен");
        return;
    }
    refuse(AssignFlareToSprite(*document_, sprite, flare));
}

void TSecondariesPage::addFlare()
{
    if (!document_)
        return;
    const auto answer = services_.dialogs.AskText("Название имя lens", "Название:", NewFlareName());
    if (!answer)
        return;
    if (auto refused = AddFlare(*document_, *answer)) {
        refuse(refused);
        return;
    }
    fillFlareList({TrimmedName(*answer)});
    flares_->scrollToItem(flares_->currentItem());
    fillLensList(-1);
    fillPage();
}

void TSecondariesPage::renameFlare()
{
    const std::string flare = SelectedFlare();
    if (!document_ || flare.empty())
        return;
    const auto answer = services_.dialogs.AskText("Введите название", "Название:", flare);
    if (!answer)
        return;
    if (auto refused = RenameFlare(*document_, flare, *answer)) {
        refuse(refused);
        return;
    }
    fillFlareList({TrimmedName(*answer)});
    fillLensList(-1);
    fillPage();
}

void TSecondariesPage::deleteFlares()
{
    if (!document_)
        return;
    refuse(DeleteFlares(*document_, selectedFlares()));
}

std::optional<std::string> TSecondariesPage::chooseTexture()
{
    const auto chosen = services_.dialogs.AskOpenFile("Текстура линзы", kImageFilter);
    if (!chosen)
        return std::nullopt;
    const std::string stored = StoredFileName(*chosen);
    if (services_.makeCurrent)
        services_.makeCurrent();
    if (auto problem = LoadPageTexture(stored)) {
        refuse(problem);
        return std::string();
    }
    LogLine(FileAddedLine(stored));
    return stored;
}

void TSecondariesPage::addLens()
{
    const std::string flare = SelectedFlare();
    const KaLensFlare* values = flareNamed(flare);
    if (!document_ || !values) {
        refuse("Сначала выберите блик");
        return;
    }
    // Refused before the dialog, so that nothing is asked in vain.
    if (values->LensCount >= kMaxLenses) {
        refuse(AddLens(*document_, flare, {}));
        return;
    }
    const std::string texture = chooseTexture().value_or(std::string());
    if (auto refused = AddLens(*document_, flare, texture)) {
        refuse(refused);
        return;
    }
    fillLensList(flareNamed(flare) ? flareNamed(flare)->LensCount - 1 : -1);
    fillPage();
}

void TSecondariesPage::chooseLensTexture()
{
    const std::string flare = SelectedFlare();
    const std::int32_t lens = SelectedLens();
    if (!document_ || flare.empty() || lens < 0)
        return;
    const auto texture = chooseTexture();
    if (!texture || texture->empty())
        return;
    refuse(SetLensTexture(*document_, flare, lens, *texture));
}

void TSecondariesPage::deleteLens()
{
    const std::string flare = SelectedFlare();
    const std::int32_t lens = SelectedLens();
    if (!document_ || flare.empty() || lens < 0) {
        refuse("Линза не выбрана");
        return;
    }
    refuse(DeleteLens(*document_, flare, lens));
}

void TSecondariesPage::barMoved(int bar)
{
    if (!lensFilling_ || !document_)
        return;
    const std::string flare = SelectedFlare();
    const std::int32_t lens = SelectedLens();
    const KaLensFlare* values = flareNamed(flare);
    if (!values || lens < 0 || lens >= std::min(values->LensCount, kMaxLenses))
        return;
    // Each bar writes only its own field.
    KaLens edited = values->Lenses[static_cast<std::size_t>(lens)];
    std::string field;
    if (bar < 4) {
        edited.Color[static_cast<std::size_t>(bar)] =
            kLensColourBar.Value(colour_[static_cast<std::size_t>(bar)]->value());
        field = std::string("Цвет (") + kColourFields[bar] + ")";
    } else if (bar == kPositionBar) {
        edited.Pos = kLensPositionBar.Value(position_->value());
        field = "Позиция";
    } else {
        edited.Size = kLensSizeBar.Value(size_->value());
        field = "Размер";
    }
    refuse(SetLens(*document_, flare, lens, edited, field));
}

void TSecondariesPage::askDistance()
{
    const std::string flare = SelectedFlare();
    const KaLensFlare* values = flareNamed(flare);
    if (!document_ || !values) {
        refuse("Сначала выберите блик");
        return;
    }
    std::string shown = FormatBoxNumber(values->DistanceScale);
    std::replace(shown.begin(), shown.end(), '.', ',');
    const auto answer = services_.dialogs.AskText("Расстояние", "Введите проценты", shown);
    if (answer)
        refuse(SetFlareDistance(*document_, flare, *answer));
}

void TSecondariesPage::saveFlares()
{
    if (!LensFlares)
        return;
    std::vector<std::int32_t> indexes;
    for (const std::string& name : selectedFlares())
        indexes.push_back(LensFlares->IndexOf(name));
    if (indexes.empty()) {
        refuse(SaveFlares(indexes, {}));
        return;
    }
    const auto chosen = services_.dialogs.AskSaveFile("Сохранить блики", kKlsFilter);
    if (!chosen)
        return;
    const std::string stored = StoredFileName(*chosen, {true, ".kls"});
    if (auto refused = SaveFlares(indexes, stored))
        refuse(refused);
    else
        LogLine("Блики сохранены в " + stored);
}

void TSecondariesPage::loadFlares()
{
    if (!document_)
        return;
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить блики", kKlsFilter);
    if (!chosen)
        return;
    if (services_.makeCurrent)
        services_.makeCurrent();
    refuse(LoadFlares(*document_, StoredFileName(*chosen, {true, {}})));
}

bool TSecondariesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == name_ && event->type() == QEvent::MouseButtonDblClick) {
        renameFlare();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ra7::editor
