#pragma once
// The save window "Сохранить...": which objects and which command lines go
// into a scene file. The lists mirror a SaveWindowModel; the buttons call it.

#include "core/SaveWindowModel.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace ra7::editor {

class TSaveForm : public QDialog {
    Q_OBJECT
public:
    explicit TSaveForm(QWidget* parent = nullptr);

    // SaveWindowDisplay: the kind lists from SceneObjects.
    void SaveWindowDisplay();
    const SaveWindowModel& Model() const { return model_; }

    // The buttons, as the user presses them.
    void AddToSave();
    void RemoveFromSave();
    void ResetSave();
    void AddScriptLine();
    void DeleteScriptLine();

private:
    QListWidget* kindList(SaveKind kind) const { return kindLists_[static_cast<std::size_t>(kind)]; }
    void kindClicked(SaveKind kind);
    void showModel();

    SaveWindowModel model_;
    std::array<QListWidget*, kSaveKindCount> kindLists_{};
    QListWidget* toSave_;
    QListWidget* lines_;
    QLineEdit* lineEdit_;
    QLabel* objectName_;
    QLabel* objectTitle_;
    QPlainTextEdit* objectMemo_;
};

} // namespace ra7::editor
