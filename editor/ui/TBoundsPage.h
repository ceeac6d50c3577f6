#pragma once
// The "Bounds" page: the bounding shapes of the selected object. A geometry
// shows its whole set (the number box picks the main box or a further
// shape; type, add, copy, delete, radius, size, offset, PHZ files); a
// camera its sphere's radius; a particle system its box's size and offset.
// "Двигать указателем" points the gizmo at the shape on the page; it is
// unticked when another object is selected.

#include "core/GizmoMath.h"
#include "ui/EditorPage.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;

namespace ra7::editor {

struct GizmoTarget;

class TBoundsPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    explicit TBoundsPage(EditorServices& services, QWidget* parent = nullptr);
    ~TBoundsPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;
    // "Показывать": the frame draws every object's bounding shapes.
    bool ShowBounds() const;
    std::int32_t VolumeNumber() const;

private:
    void build();
    void documentChanged(std::uint32_t changes);
    std::string owner() const;
    GizmoTarget shapeTarget() const;
    void retarget();
    void numberChanged();
    void typeChosen();
    void addVolume();
    void copyVolume();
    void deleteVolume();
    void radiusMoved(int position);
    void applyBox(QLineEdit& box, GizmoAxis axis, bool size);
    void saveVolumes();
    void loadVolumes();
    void refuse(const std::optional<std::string>& reason);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    std::string shownOwner_;
    bool filling_ = false;
    QCheckBox* show_ = nullptr;
    QLabel* nothing_ = nullptr;
    QWidget* setControls_ = nullptr;
    QSpinBox* number_ = nullptr;
    QComboBox* type_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* delete_ = nullptr;
    QWidget* radiusRow_ = nullptr;
    QScrollBar* radius_ = nullptr;
    QLabel* radiusText_ = nullptr;
    QWidget* sizeRow_ = nullptr;
    QWidget* offsetRow_ = nullptr;
    std::array<QLineEdit*, 3> size_{};
    std::array<QLineEdit*, 3> offset_{};
    QCheckBox* move_ = nullptr;
    QWidget* files_ = nullptr;
};

} // namespace ra7::editor
