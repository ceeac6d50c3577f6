#include "ui/TMaterialColourGroup.h"

#include "core/MaterialPageModel.h"
#include "core/PageRules.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace ra7::editor {

namespace {

// The wheel scrolls the page, not the colour under the pointer: a bar
// leaves wheel events to its parents.
class ColourBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

} // namespace

TMaterialColourGroup::TMaterialColourGroup(const QString& title, int id, QWidget* parent)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("ColourGroup_%1").arg(id));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(3);
    preview_ = new QFrame(this);
    preview_->setObjectName(QStringLiteral("ColourPreview_%1").arg(id));
    preview_->setFrameShape(QFrame::Box);
    preview_->setFixedSize(14, 52);
    preview_->setAutoFillBackground(true);
    const char* const letters[4] = {"R", "G", "B", "A"};
    for (std::size_t c = 0; c < 4; ++c) {
        const int row = static_cast<int>(c);
        grid->addWidget(new QLabel(QString::fromLatin1(letters[c]), this), row, 0);
        auto* bar = new ColourBar(Qt::Horizontal, this);
        bar->setObjectName(QStringLiteral("ColourBar_%1_%2").arg(id).arg(row));
        bar->setRange(kColourBar.min, kColourBar.max);
        bar->setPageStep(10);
        bar->setFixedHeight(12);
        grid->addWidget(bar, row, 1);
        auto* value = new QLabel(this);
        value->setFixedWidth(28);
        grid->addWidget(value, row, 2);
        bars_[c] = bar;
        values_[c] = value;
        connect(bar, &QScrollBar::sliderPressed, this, [this, c] {
            if (onPressed)
                onPressed(c);
        });
        connect(bar, &QScrollBar::valueChanged, this, [this, c](int position) {
            values_[c]->setText(QString::fromStdString(kColourBar.Text(kColourBar.Value(position))));
            if (onMoved)
                onMoved(c, position);
        });
        connect(bar, &QScrollBar::sliderReleased, this, [this, c] {
            if (onReleased)
                onReleased(c);
        });
    }
    grid->addWidget(preview_, 0, 3, 4, 1);
    grid->setColumnStretch(1, 1); // the bars take the width the letters and values leave
}

void TMaterialColourGroup::Show(const std::array<std::int32_t, 4>& positions, const KaColor& colour)
{
    for (std::size_t c = 0; c < 4; ++c) {
        const QSignalBlocker quiet(bars_[c]);
        bars_[c]->setValue(positions[c]);
        values_[c]->setText(QString::fromStdString(kColourBar.Text(colour[c])));
    }
    QPalette palette = preview_->palette();
    palette.setColor(QPalette::Window,
                     QColor(PreviewByte(colour[0]), PreviewByte(colour[1]), PreviewByte(colour[2])));
    preview_->setPalette(palette);
}

void TMaterialColourGroup::SetBarsEnabled(bool enabled)
{
    for (QScrollBar* bar : bars_)
        bar->setEnabled(enabled);
    preview_->setEnabled(enabled);
}

} // namespace ra7::editor
