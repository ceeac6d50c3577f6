#include "ui/TBoundsPage.h"

#include "core/BoundsEdits.h"
#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ra7::editor {

namespace {

constexpr const char* kPhzFilter = "PHZ format (*.phz)";
constexpr std::array<GizmoAxis, 3> kAxes = {GizmoAxis::X, GizmoAxis::Y, GizmoAxis::Z};
const char* const kAxisNames[] = {"X", "Y", "Z"};

QPushButton* button(QWidget* parent, const char* text, const char* objectName)
{
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(objectName));
    return made;
}

// A row "caption X [..] Y [..] Z [..]" of boxes named prefix + axis.
QWidget* boxRow(QWidget* parent, const char* caption, const char* prefix, std::array<QLineEdit*, 3>& boxes)
{
    // The caption above the boxes: the tool panel is narrow.
    auto* row = new QWidget(parent);
    auto* layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(2);
    layout->addWidget(new QLabel(QString::fromUtf8(caption), row), 0, 0, 1, 6);
    for (std::size_t i = 0; i < 3; ++i) {
        const int column = static_cast<int>(i) * 2;
        layout->addWidget(new QLabel(QString::fromLatin1(kAxisNames[i]), row), 1, column);
        boxes[i] = new QLineEdit(row);
        boxes[i]->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(kAxisNames[i]));
        boxes[i]->setMinimumWidth(40);
        layout->addWidget(boxes[i], 1, column + 1);
        layout->setColumnStretch(column + 1, 1);
    }
    return row;
}

} // namespace

TBoundsPage::TBoundsPage(EditorServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("BoundsPage"));
    build();
    setEnabled(false);
}

TBoundsPage::~TBoundsPage()
{
    if (document_)
        document_->Unlisten(listener_);
}

void TBoundsPage::build()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    show_ = new QCheckBox(QStringLiteral("Показывать"), this);
    show_->setObjectName(QStringLiteral("ShowBounds"));
    layout->addWidget(show_);
    nothing_ = new QLabel(QStringLiteral("Выделите геометрию, камеру или систему частиц"), this);
    nothing_->setObjectName(QStringLiteral("BoundsNothing"));
    nothing_->setWordWrap(true);
    layout->addWidget(nothing_);

    setControls_ = new QWidget(this);
    auto* grid = new QGridLayout(setControls_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Объём:"), setControls_), 0, 0);
    number_ = new QSpinBox(setControls_);
    number_->setObjectName(QStringLiteral("VolumeNumber"));
    number_->setRange(0, 0);
    grid->addWidget(number_, 0, 1);
    type_ = new QComboBox(setControls_);
    type_->setObjectName(QStringLiteral("VolumeType"));
    type_->addItems({QStringLiteral("Сфера"), QStringLiteral("AABB"), QStringLiteral("Точка")});
    grid->addWidget(type_, 0, 2);
    auto* add = button(setControls_, "Добавить", "VolumeAdd");
    copy_ = button(setControls_, "Копировать", "VolumeCopy");
    delete_ = button(setControls_, "Удалить", "VolumeDelete");
    grid->addWidget(add, 1, 0, 1, 2);
    grid->addWidget(copy_, 1, 2);
    grid->addWidget(delete_, 2, 2);
    layout->addWidget(setControls_);
    connect(number_, &QSpinBox::valueChanged, this, &TBoundsPage::numberChanged);
    connect(type_, &QComboBox::currentIndexChanged, this, &TBoundsPage::typeChosen);
    connect(add, &QPushButton::clicked, this, &TBoundsPage::addVolume);
    connect(copy_, &QPushButton::clicked, this, &TBoundsPage::copyVolume);
    connect(delete_, &QPushButton::clicked, this, &TBoundsPage::deleteVolume);

    radiusRow_ = new QWidget(this);
    auto* radiusLayout = new QHBoxLayout(radiusRow_);
    radiusLayout->setContentsMargins(0, 0, 0, 0);
    radiusLayout->addWidget(new QLabel(QStringLiteral("Радиус:"), radiusRow_));
    radius_ = new QScrollBar(Qt::Horizontal, radiusRow_);
    radius_->setObjectName(QStringLiteral("BoundsRadius"));
    radius_->setRange(kRadiusBar.min, kRadiusBar.max);
    radiusLayout->addWidget(radius_, 1);
    radiusText_ = new QLabel(radiusRow_);
    radiusText_->setMinimumWidth(44);
    radiusLayout->addWidget(radiusText_);
    layout->addWidget(radiusRow_);
    connect(radius_, &QScrollBar::valueChanged, this, &TBoundsPage::radiusMoved);
    connect(radius_, &QScrollBar::sliderReleased, this, [this] {
        if (document_)
            document_->BreakMerge();
    });

    sizeRow_ = boxRow(this, "Размер:", "BOUsize", size_);
    offsetRow_ = boxRow(this, "Позиция:", "BOUloc", offset_);
    layout->addWidget(sizeRow_);
    layout->addWidget(offsetRow_);
    for (const GizmoAxis axis : kAxes) {
        QLineEdit* sizeBox = size_[static_cast<std::size_t>(axis)];
        QLineEdit* offsetBox = offset_[static_cast<std::size_t>(axis)];
        connect(sizeBox, &QLineEdit::editingFinished, this, [this, sizeBox, axis] {
            if (sizeBox->isModified())
                applyBox(*sizeBox, axis, true);
        });
        connect(offsetBox, &QLineEdit::editingFinished, this, [this, offsetBox, axis] {
            if (offsetBox->isModified())
                applyBox(*offsetBox, axis, false);
        });
    }

    move_ = new QCheckBox(QStringLiteral("Двигать указателем"), this);
    move_->setObjectName(QStringLiteral("MoveWithGizmo"));
    layout->addWidget(move_);
    connect(move_, &QCheckBox::toggled, this, &TBoundsPage::retarget);

    files_ = new QWidget(this);
    auto* filesLayout = new QHBoxLayout(files_);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    auto* save = button(files_, "Сохранить", "VolumesSave");
    auto* load = button(files_, "Загрузить", "VolumesLoad");
    filesLayout->addWidget(save);
    filesLayout->addWidget(load);
    layout->addWidget(files_);
    connect(save, &QPushButton::clicked, this, &TBoundsPage::saveVolumes);
    connect(load, &QPushButton::clicked, this, &TBoundsPage::loadVolumes);
    layout->addStretch();

    // Delete on the page removes the chosen further shape.
    auto* remove = new QAction(QStringLiteral("Удалить объём"), this);
    remove->setObjectName(QStringLiteral("VolumeDeleteKey"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(remove);
    connect(remove, &QAction::triggered, this, &TBoundsPage::deleteVolume);
}

void TBoundsPage::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) { documentChanged(changes); });
    setEnabled(true);
    Refresh();
}

bool TBoundsPage::ShowBounds() const
{
    return show_->isChecked();
}

std::int32_t TBoundsPage::VolumeNumber() const
{
    return number_->value();
}

std::string TBoundsPage::owner() const
{
    return document_ ? document_->Selection().SelectedName() : std::string();
}

GizmoTarget TBoundsPage::shapeTarget() const
{
    return ShapeTarget(*document_, owner(), number_->value());
}

void TBoundsPage::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Selection) || Has(changes, DocChange::Properties) ||
        Has(changes, DocChange::Objects))
        Refresh();
}

void TBoundsPage::Refresh()
{
    if (!document_ || filling_)
        return;
    filling_ = true;
    const std::string name = owner();
    if (name != shownOwner_ && move_->isChecked()) {
        // Another object is selected: the gizmo moves the object again.
        const QSignalBlocker blocker(move_);
        move_->setChecked(false);
    }
    shownOwner_ = name;
    const BoundsOwner kind = BoundsOwnerOf(*document_, name);
    const auto* geometry = dynamic_cast<const KaGeometry*>(document_->Scene().FindByName(name));
    const std::int32_t count = geometry ? geometry->Bounds->Count() : 0;
    {
        // A load or an undo may have shrunk the set under the number.
        const QSignalBlocker blocker(number_);
        number_->setRange(0, count);
        number_->setValue(ClampVolumeNumber(number_->value(), count));
        number_->setEnabled(count > 0);
    }
    nothing_->setVisible(kind == BoundsOwner::None);
    setControls_->setVisible(kind == BoundsOwner::Geometry);
    files_->setVisible(kind == BoundsOwner::Geometry);
    move_->setVisible(kind == BoundsOwner::Geometry || kind == BoundsOwner::ParticleSystem);
    const std::int32_t number = number_->value();
    copy_->setEnabled(number > 0);
    delete_->setEnabled(number > 0);

    const KaBoundingObj* shape = ShapeAt(*document_, shapeTarget());
    const KaBoundingSphere* sphere = dynamic_cast<const KaBoundingSphere*>(shape);
    if (kind == BoundsOwner::Camera)
        sphere = static_cast<const KaCamera*>(document_->Scene().FindByName(name))->Bounds.get();
    const auto* box = dynamic_cast<const KaBoundingAABB*>(shape);
    radiusRow_->setVisible(sphere != nullptr);
    sizeRow_->setVisible(box != nullptr);
    offsetRow_->setVisible(shape != nullptr);
    if (shape && kind == BoundsOwner::Geometry && number > 0) {
        const QSignalBlocker blocker(type_);
        type_->setCurrentText(QString::fromUtf8(ShapeKindName(shape->Kind()).data()));
    }
    type_->setToolTip(number > 0 ? QStringLiteral("Тип объёма") : QStringLiteral("Тип нового объёма"));
    if (sphere) {
        const QSignalBlocker blocker(radius_);
        radius_->setValue(kRadiusBar.Position(sphere->Radius));
        radiusText_->setText(QString::fromStdString(kRadiusBar.Text(sphere->Radius)));
    }
    for (const GizmoAxis axis : kAxes) {
        const std::size_t i = static_cast<std::size_t>(axis);
        // A box being typed into keeps its text.
        if (box && !(size_[i]->hasFocus() && size_[i]->isModified()))
            size_[i]->setText(QString::fromStdString(FormatBoxNumber(AxisValue(box->Size, axis))));
        if (shape && !(offset_[i]->hasFocus() && offset_[i]->isModified()))
            offset_[i]->setText(
                QString::fromStdString(FormatBoxNumber(AxisValue(shape->LocalTrans.Position, axis))));
    }
    filling_ = false;
    if (move_->isChecked())
        retarget();
}

void TBoundsPage::retarget()
{
    if (!document_)
        return;
    const GizmoTarget target = GizmoTargetFor(*document_, owner(), number_->value(), move_->isChecked());
    if (move_->isChecked() && target.kind == GizmoTarget::Kind::Object) {
        const QSignalBlocker blocker(move_);
        move_->setChecked(false);
    }
    document_->SetGizmoTarget(target);
}

void TBoundsPage::numberChanged()
{
    if (filling_)
        return;
    Refresh();
    retarget();
}

void TBoundsPage::refuse(const std::optional<std::string>& reason)
{
    if (reason && services_.report)
        services_.report(*reason);
}

void TBoundsPage::typeChosen()
{
    if (filling_ || !document_ || number_->value() < 1)
        return; // for the main box the type box only chooses what "Добавить" adds
    refuse(ChangeVolumeKind(*document_, owner(), number_->value(),
                            ShapeKindByName(type_->currentText().toStdString())));
}

void TBoundsPage::addVolume()
{
    if (!document_)
        return;
    if (auto refused = AddVolume(*document_, owner(), ShapeKindByName(type_->currentText().toStdString()))) {
        refuse(refused);
        return;
    }
    number_->setValue(number_->maximum()); // the new shape
}

void TBoundsPage::copyVolume()
{
    if (!document_)
        return;
    if (auto refused = CopyVolume(*document_, owner(), number_->value())) {
        refuse(refused);
        return;
    }
    number_->setValue(number_->maximum());
}

void TBoundsPage::deleteVolume()
{
    if (!document_)
        return;
    refuse(DeleteVolume(*document_, owner(), number_->value()));
}

void TBoundsPage::radiusMoved(int position)
{
    if (filling_ || !document_)
        return;
    const float value = kRadiusBar.Value(position);
    if (BoundsOwnerOf(*document_, owner()) == BoundsOwner::Camera)
        refuse(SetCameraRadius(*document_, owner(), value));
    else
        refuse(SetShapeRadius(*document_, shapeTarget(), value));
}

void TBoundsPage::applyBox(QLineEdit& box, GizmoAxis axis, bool size)
{
    if (!document_)
        return;
    const std::string text = box.text().toStdString();
    box.setModified(false);
    refuse(size ? SetShapeSizeText(*document_, shapeTarget(), axis, text)
                : SetShapeOffsetText(*document_, shapeTarget(), axis, text));
    Refresh(); // a refused text shows the kept value again
}

void TBoundsPage::saveVolumes()
{
    if (!document_)
        return;
    if (BoundsOwnerOf(*document_, owner()) != BoundsOwner::Geometry) {
        refuse("Объёмы сохраняются только у геометрии");
        return;
    }
    const auto chosen = services_.dialogs.AskSaveFile("Сохранить объёмы", kPhzFilter);
    if (!chosen)
        return;
    const std::string stored = StoredFileName(*chosen, {true, ".phz"});
    if (auto refused = SaveVolumes(*document_, owner(), stored))
        refuse(refused);
    else
        LogLine("Объёмы сохранены в " + stored);
}

void TBoundsPage::loadVolumes()
{
    if (!document_)
        return;
    if (BoundsOwnerOf(*document_, owner()) != BoundsOwner::Geometry) {
        refuse("Объёмы загружаются только в геометрию");
        return;
    }
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить объёмы", kPhzFilter);
    if (chosen)
        refuse(LoadVolumes(*document_, owner(), StoredFileName(*chosen, {true, {}})));
}

} // namespace ra7::editor
