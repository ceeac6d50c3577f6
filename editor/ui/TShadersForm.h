#pragma once
// The shader chooser "Шейдеры": the programs of the shader set in three
// lists by kind; the Materials page asks it for one program.

#include <QDialog>

class QListWidget;

namespace ra7 {
class KaShader;
}

namespace ra7::editor {

class DialogService;

class TShadersForm : public QDialog {
    Q_OBJECT
public:
    TShadersForm(DialogService& dialogs, QWidget* parent = nullptr);

    // Fills the lists from Shaders, enables them as allowed, shows the window
    // modally and returns the chosen program, or null (nothing selected, or
    // the window left with "Отмена", Escape or its close button).
    KaShader* ChooseShader(bool vertexAllowed, bool fragmentAllowed, bool glslAllowed);

private:
    void cancel();

    DialogService& dialogs_;
    QListWidget* vertex_;
    QListWidget* fragment_;
    QListWidget* glsl_;
};

} // namespace ra7::editor
