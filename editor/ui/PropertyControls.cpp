#include "ui/PropertyControls.h"

#include "core/PropertyFields.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ra7::editor {

namespace {

QString q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString latin(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Wide enough for "-0.400" and "5000".
constexpr int kValueTextWidth = 42;

} // namespace

// --- TBarRow ------------------------------------------------------------------------

TBarRow::TBarRow(const BarField& field, QWidget* parent, bool ownLabel) : QWidget(parent), field_(field)
{
    setObjectName(latin(field.id) + QStringLiteral("Row"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(0);
    bar_ = new QScrollBar(Qt::Horizontal, this);
    bar_->setObjectName(latin(field.id));
    bar_->setRange(field.bar.min, field.bar.max);
    bar_->setPageStep(std::max(1, (field.bar.max - field.bar.min) / 20));
    bar_->setFocusPolicy(Qt::StrongFocus);
    // As a value bar, not a view's scroll bar: Right and the wheel up raise the value.
    bar_->setInvertedControls(false);
    bar_->installEventFilter(this);
    value_ = new QLabel(this);
    value_->setObjectName(latin(field.id) + QStringLiteral("Value"));
    value_->setMinimumWidth(kValueTextWidth);
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    int row = 0;
    if (ownLabel) {
        auto* label = new QLabel(q(field.label), this);
        layout->addWidget(label, row++, 0, 1, 2);
    }
    layout->addWidget(bar_, row, 0);
    layout->addWidget(value_, row, 1);
    layout->setColumnStretch(0, 1);
    connect(bar_, &QScrollBar::valueChanged, this, &TBarRow::moved);
    connect(bar_, &QScrollBar::sliderReleased, this, &TBarRow::finished);
}

void TBarRow::Show(float value)
{
    const QSignalBlocker quiet(bar_);
    // A bar being dragged keeps the position under the mouse; the value text
    // still says what the object holds.
    if (!bar_->isSliderDown())
        bar_->setValue(field_.bar.Position(value));
    value_->setText(QString::fromStdString(field_.bar.Text(value)));
}

bool TBarRow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == bar_ && event->type() == QEvent::FocusOut)
        emit finished();
    return QWidget::eventFilter(watched, event);
}

// --- TColourGroup ---------------------------------------------------------------------

TColourGroup::TColourGroup(const ColourFields& colour, QWidget* parent) : QWidget(parent), colour_(colour)
{
    setObjectName(latin(colour.id));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(0);
    layout->addWidget(new QLabel(q(colour.label), this), 0, 0, 1, 2);
    preview_ = new QLabel(this);
    preview_->setObjectName(latin(colour.id) + QStringLiteral("Preview"));
    preview_->setFixedSize(40, 14);
    preview_->setFrameShape(QFrame::Box);
    preview_->setAutoFillBackground(true);
    preview_->setToolTip(QStringLiteral("Цвет в половину силы: 2.0 — полная яркость"));
    layout->addWidget(preview_, 0, 2, Qt::AlignRight);
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const BarField& part = colour.parts[i];
        parts_[i] = new TBarRow(part, this, false);
        const int row = static_cast<int>(i) + 1;
        layout->addWidget(new QLabel(q(part.label), this), row, 0);
        layout->addWidget(parts_[i], row, 1, 1, 2);
    }
    layout->setColumnStretch(1, 1);
}

void TColourGroup::ShowPreview(const PreviewRgb& rgb)
{
    QPalette palette = preview_->palette();
    palette.setColor(QPalette::Window, QColor(rgb.red, rgb.green, rgb.blue));
    preview_->setPalette(palette);
}

// --- TNameRow ---------------------------------------------------------------------------

TNameRow::TNameRow(std::string_view id, std::string_view label, QWidget* parent) : QWidget(parent)
{
    setObjectName(latin(id) + QStringLiteral("Row"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(0);
    layout->addWidget(new QLabel(q(label), this), 0, 0, 1, 2);
    box_ = new QLineEdit(this);
    box_->setObjectName(latin(id));
    box_->setReadOnly(true);
    box_->installEventFilter(this);
    choose_ = new QToolButton(this);
    choose_->setObjectName(latin(id) + QStringLiteral("Choose"));
    choose_->setText(QStringLiteral("..."));
    layout->addWidget(box_, 1, 0);
    layout->addWidget(choose_, 1, 1);
    connect(choose_, &QToolButton::clicked, this, &TNameRow::chooseClicked);
}

void TNameRow::Show(const std::string& name)
{
    box_->setText(QString::fromStdString(name));
    box_->setToolTip(box_->text());
    box_->setCursorPosition(0);
}

bool TNameRow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box_ && event->type() == QEvent::MouseButtonRelease)
        emit boxClicked();
    return QWidget::eventFilter(watched, event);
}

} // namespace ra7::editor
