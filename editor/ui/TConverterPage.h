#pragma once
// The page "Конвертер": loads one OBJ model at a time (held for conversion
// and previewed in the viewport: `ModelLoaded`), or a GMS file straight into
// the scene; scales the model, converts it into meshes, materials and
// geometry, computes tangent space by one of three methods, and saves the
// scene. The tool panel cannot leave the page while a model is held.
//
// Reading, converting and tangent space run on a worker thread under a
// progress window (RunLongWork); everything that touches the engine's lists
// or GL happens on the GUI thread before and after.

#include "MeshMenderCall.h"
#include "SceneTangentSpace.h"
#include "core/ConverterState.h"
#include "ui/EditorPage.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace ra7 {
class WorkProgress;
}

namespace ra7::editor {

class TConverterPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    TConverterPage(EditorServices& services, QWidget* parent = nullptr);
    // Releases a model still held (as "Отменить конвертацию" does).
    ~TConverterPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;
    // "Отмените конвертацию!" while a model is held.
    std::optional<std::string> LeaveRefusal() const override;

    // The page's commands, as its buttons run them.
    void LoadObjCommand();
    // "Загрузить OBJ" with the file chosen already (the command line's --model).
    void LoadObjFile(const std::string& path);
    void LoadGmsCommand();
    void ScaleCommand();
    void ConvertCommand();
    void TangentCommand(TangentMethod method);
    void SaveKgfCommand();
    void CancelConversionCommand();

    // The mesh mender, opened once when the engine starts (from Attach);
    // without it "NVMeshMender" is disabled and says why.
    void UseMeshMender(std::unique_ptr<MeshMenderLibrary> library, const std::string& whyNot);
    // The mender's settings as the sliders and boxes give them.
    MeshMenderOptions MenderOptions() const;

    const ConverterState& State() const { return state_; }
    // The frame's preview step (the main window calls it while painting).
    void DrawPreview();
    // Lets go of the held model; the context must be current.
    void ReleaseModel();

    // Told of every long work before it starts (tests watch or stop it here).
    std::function<void(WorkProgress&)> onWork;

private:
    QWidget* buildMenderBox(QWidget* parent);
    QPushButton* addButton(QWidget* parent, const char* text, const char* name);
    void updateControls();
    void loadObj(const std::string& path, const WorkingDirectoryGuard& directory);
    // Runs `work` under the progress window; false (reported) when it was
    // cancelled or failed.
    bool runWork(const QString& title, const std::function<void(WorkProgress&)>& work);
    void fail(const std::string& text);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    ConverterState state_;
    std::string modelFile_;
    std::unique_ptr<MeshMenderLibrary> mender_;
    std::string menderWhyNot_;

    QLabel* status_ = nullptr;
    QPushButton* scale_ = nullptr;
    QPushButton* convert_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* menderButton_ = nullptr;
    QLabel* menderNote_ = nullptr;
    QSlider* normalCrease_ = nullptr;
    QSlider* areaWeight_ = nullptr;
    QSlider* tangentCrease_ = nullptr;
    QSlider* binormalCrease_ = nullptr;
    QCheckBox* calculateNormals_ = nullptr;
    QCheckBox* respectSplits_ = nullptr;
    QCheckBox* fixCylindrical_ = nullptr;
};

} // namespace ra7::editor
