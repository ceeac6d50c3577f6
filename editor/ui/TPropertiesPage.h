#pragma once
// The page "Свойства": the selected object's kind, its "Статика" flag and
// the panel of its kind. It fills itself whenever the selection or any
// object's fields change (an edit here, an undo, a script, a gizmo drag),
// so it always shows what the object holds.

#include "core/PropertyEdits.h"
#include "ui/EditorPage.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;

namespace ra7::editor {

class TKindPanel;

class TPropertiesPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    TPropertiesPage(EditorServices& services, QWidget* parent = nullptr);
    ~TPropertiesPage() override;

    void Attach(EditorDocument& document) override;
    // FillProperties: nothing but "нет выбранных объектов" without a
    // selection, else the kind's panel filled from the object.
    void Refresh() override;
    // Every pass of the main loop: what changes while nothing is edited (the
    // playing position of a sound).
    void Tick();

    // The panel shown, or none.
    TKindPanel* ShownPanel() const;
    QLabel& KindLabel() const { return *kind_; }

private:
    void documentChanged(std::uint32_t changes);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    QLabel* kind_ = nullptr;
    QCheckBox* static_ = nullptr;
    std::array<TKindPanel*, 6> panels_{};
    UnendingLifeMemory lifetimes_;
};

} // namespace ra7::editor
