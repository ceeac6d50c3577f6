#pragma once
// One colour group of the Materials page: a caption with a preview box and
// four bars (red, green, blue, alpha). The group only shows values and
// reports what the user does with a bar; the page turns that into edits.

#include "resources/Ka7Material.h"

#include <QGroupBox>

#include <array>
#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QScrollBar;

namespace ra7::editor {

class TMaterialColourGroup : public QGroupBox {
    Q_OBJECT
public:
    // `id` names the controls for tests ("ColourBar_<id>_<component>").
    TMaterialColourGroup(const QString& title, int id, QWidget* parent = nullptr);

    // Shows bar positions and the preview colour without reporting them.
    void Show(const std::array<std::int32_t, 4>& positions, const KaColor& colour);
    void SetBarsEnabled(bool enabled);
    QScrollBar& Bar(std::size_t component) const { return *bars_[component]; }

    // A bar was pressed, moved (also by keys and clicks) or released.
    std::function<void(std::size_t component)> onPressed;
    std::function<void(std::size_t component, std::int32_t position)> onMoved;
    std::function<void(std::size_t component)> onReleased;

private:
    std::array<QScrollBar*, 4> bars_{};
    std::array<QLabel*, 4> values_{};
    QFrame* preview_ = nullptr;
};

} // namespace ra7::editor
