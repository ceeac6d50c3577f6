#pragma once
// The page "Материалы": the material list with its popup (load, save, add,
// delete), the selected material's settings and a live picture of it. The
// rules live in MaterialPageModel; the page shows the model's view and turns
// the user's actions into the model's edits.

#include "core/MaterialPageModel.h"
#include "core/MaterialPreview.h"
#include "ui/EditorPage.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;

namespace ra7 {
class KaShader;
}

namespace ra7::editor {

class TMaterialColourGroup;

class TMaterialsPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    TMaterialsPage(EditorServices& services, QWidget* parent = nullptr);
    ~TMaterialsPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;

    // The shader chooser: the lists it may offer; returns the pick or null.
    std::function<const KaShader*(bool vertex, bool fragment, bool glsl)> chooseShader;

    // "Перейти к материалу" of the tree: shows the page with the geometry's
    // material selected (none when it has none).
    void GoToMaterialOf(const std::string& geometryName);

    // The popup's commands, as the menu runs them.
    void LoadLibrary();
    void SaveLibrary();
    void AddMaterial();
    void DeleteMaterial();

    MaterialPageModel* Model() const { return model_.get(); }
    // The last picture drawn (null image before the first).
    const QImage& PreviewImage() const { return previewImage_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildList(QWidget* parent);
    QWidget* buildSettings(QWidget* parent);
    QWidget* buildFiles(QWidget* parent);
    QLineEdit* fileBox(const char* name, QWidget* parent);
    void documentChanged(std::uint32_t changes);
    void fill();
    void fillList();
    void renderPreview();
    // Runs a model call; a refusal or failure goes to the user.
    void run(const std::function<EditOutcome()>& edit);
    void report(const PageMessage& message);
    void pickShader(ShaderBox box);
    void chooseTexture(int slot);
    // A double click or "Выбрать..." on a shader or self-illumination box.
    void chooseFor(QObject* box);
    void clearFileBox(QObject* box);
    void applyName();
    void barPressed(MaterialColour group);
    void barReleased();

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    std::unique_ptr<MaterialPageModel> model_;
    MaterialPreview preview_;
    QImage previewImage_;
    MaterialView shown_;
    bool dragCancelled_ = false;
    // An edit of this page is running: it fills the page itself when done.
    bool editing_ = false;

    QListWidget* matBox_ = nullptr;
    QMenu* listPopup_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QWidget* settings_ = nullptr;
    std::array<TMaterialColourGroup*, kColourGroups> groups_{};
    QCheckBox* engineColour_ = nullptr;
    QLineEdit* shininess_ = nullptr;
    QCheckBox* blend_ = nullptr;
    QCheckBox* cullFace_ = nullptr;
    QLineEdit* alpha_ = nullptr;
    QLineEdit* vertexShader_ = nullptr;
    QLineEdit* fragmentShader_ = nullptr;
    QLineEdit* selfIllumination_ = nullptr;
    QLabel* texturesLabel_ = nullptr;
    QListWidget* textures_ = nullptr;
};

} // namespace ra7::editor
