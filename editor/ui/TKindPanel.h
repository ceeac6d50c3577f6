#pragma once
// The base of the Properties page's six kind panels: it keeps the panel's
// bars, colour groups and check boxes with the fields they stand for, fills
// them from the selected object, and turns the user's changes into edits of
// the document. Each kind's panel only lays out its controls and adds what
// is its own (file choices, typed names, buttons).

#include "core/CommandStack.h"
#include "scene/Ka7SceneObjUnit.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QCheckBox;
class QLayout;

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

class EditorDocument;
class TBarRow;
class TColourGroup;
struct BarField;
struct ColourFields;
struct EditorServices;
struct ChosenResource;
struct FlagField;
struct NameField;
struct RangeFields;

class TKindPanel : public QWidget {
    Q_OBJECT
public:
    TKindPanel(EditorServices& services, KaObjKind kind, QWidget* parent);

    KaObjKind Kind() const { return kind_; }
    // Shows what `object` (of this panel's kind) holds now.
    void Fill(const KaSceneObj& object);
    // Every pass of the main loop while the panel shows `object`.
    virtual void Tick(KaSceneObj& /*object*/) {}

protected:
    using MakeEdit = std::function<std::unique_ptr<EditorCommand>(KaObjArray&, const std::string&)>;

    // Runs the edit made by `make` on the selected object as one step (or
    // merged into the step before). A failure is reported; false then.
    bool edit(const MakeEdit& make);
    // The selected object (empty when none).
    std::string selectedName() const;
    EditorServices& services() const { return services_; }

    // Controls whose fill and edits the base does.
    TBarRow* addBar(QLayout& layout, const BarField& field);
    // Both bars of an ordered range, minimum first.
    std::pair<TBarRow*, TBarRow*> addRange(QLayout& layout, const RangeFields& range);
    TColourGroup* addColour(QLayout& layout, const ColourFields& colour);
    QCheckBox* addFlag(QLayout& layout, const FlagField& field);

    // What the kind's panel fills beyond the base's controls.
    virtual void fillOwn(const KaSceneObj& /*object*/) {}

    // Shows a failure the user must read (a file that cannot be loaded).
    void showFailure(const std::string& text);

    // A "..." button of a texture or mesh box: the open dialog (cancel
    // changes nothing), the load with the view's context current, the
    // console line, and the field named as one step unless the load failed.
    void chooseTexture(const NameField& field);
    void chooseMesh(const NameField& field);

private:
    void chooseFile(const char* title, const char* filter, const NameField& field,
                    ChosenResource (*load)(std::string_view));
    void barMoved(TBarRow& row, int position);
    void refill();

    EditorServices& services_;
    KaObjKind kind_;
    std::vector<TBarRow*> bars_;
    std::vector<std::pair<TBarRow*, const RangeFields*>> rangeBars_;
    std::vector<TColourGroup*> colours_;
    std::vector<std::pair<QCheckBox*, const FlagField*>> flags_;
};

} // namespace ra7::editor
