#pragma once
// Below the tree: the selected object's name (`liD`) and world position
// (`CoordX`, `CoordY`, `CoordZ`) with a "-" button each (`MinX`, `MinY`,
// `MinZ`). A box the user is in shows the info-tip colour and keeps its
// text; Enter or leaving it applies the text through the document's
// commands. The position boxes follow the object on every pass.

#include "core/GizmoMath.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace ra7::editor {

class EditorDocument;
struct EditorServices;

class TSelectionPanel : public QWidget {
    Q_OBJECT
public:
    TSelectionPanel(EditorServices& services, QWidget* parent = nullptr);
    ~TSelectionPanel() override;

    void Attach(EditorDocument& document);
    // The per-pass refresh: the position boxes show the selected object's
    // world position, except a box being edited.
    void Refresh();

    QLineEdit& NameBox() const { return *name_; }
    QLineEdit& CoordBox(GizmoAxis axis) const { return *coords_[index(axis)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(GizmoAxis axis) { return static_cast<std::size_t>(axis); }
    void documentChanged(std::uint32_t changes);
    void showName();
    void setEditing(QLineEdit& box, bool editing);
    void applyName();
    void applyCoordinate(GizmoAxis axis);
    void negate(GizmoAxis axis);
    void report(const std::string& text);
    bool hasSelection() const;

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    QLineEdit* name_ = nullptr;
    std::array<QLineEdit*, 3> coords_{};
    std::array<QPushButton*, 3> negates_{};
};

} // namespace ra7::editor
