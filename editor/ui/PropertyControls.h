#pragma once
// The small controls the Properties page's panels are made of: a scroll bar
// with its label and the value it stands for, a colour group with its
// preview box, and a name box with its "..." button. Setting a control from
// the object never reports a change; only the user's moves do.

#include <QWidget>

#include <array>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;

namespace ra7::editor {

struct BarField;
struct ColourFields;
struct NameField;
struct PreviewRgb;

// "Размер: [====|====] 2.4": a horizontal bar and the value beside it, for a
// user cannot read a value off a bar's position.
class TBarRow : public QWidget {
    Q_OBJECT
public:
    // `ownLabel` puts the field's label on a line above the bar; a colour
    // group puts its R, G, B, A beside the bars instead.
    TBarRow(const BarField& field, QWidget* parent, bool ownLabel = true);

    // The position and the value text for `value`, without a `moved` signal.
    void Show(float value);
    QScrollBar& Bar() const { return *bar_; }
    QLabel& ValueText() const { return *value_; }
    const BarField& Field() const { return field_; }

signals:
    // The user moved the bar (drag, click, key or wheel).
    void moved(int position);
    // The user let go of the bar or left it: the next move starts a new step.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const BarField& field_;
    QScrollBar* bar_ = nullptr;
    QLabel* value_ = nullptr;
};

// A caption, a preview box and four bars (R, G, B, A) of one colour.
class TColourGroup : public QWidget {
    Q_OBJECT
public:
    TColourGroup(const ColourFields& colour, QWidget* parent);

    void ShowPreview(const PreviewRgb& rgb);
    TBarRow& Part(std::size_t index) const { return *parts_[index]; }
    QLabel& Preview() const { return *preview_; }
    const ColourFields& Fields() const { return colour_; }

private:
    const ColourFields& colour_;
    std::array<TBarRow*, 4> parts_{};
    QLabel* preview_ = nullptr;
};

// "Текстура: [name] [...]": a read-only box with the name and a button that
// chooses; a click into the box can ask for the name instead (the material).
class TNameRow : public QWidget {
    Q_OBJECT
public:
    TNameRow(std::string_view id, std::string_view label, QWidget* parent);

    void Show(const std::string& name);
    QLineEdit& Box() const { return *box_; }
    QToolButton& ChooseButton() const { return *choose_; }

signals:
    void chooseClicked();
    void boxClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_ = nullptr;
    QToolButton* choose_ = nullptr;
};

} // namespace ra7::editor
