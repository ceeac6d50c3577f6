#pragma once
// The console window: the engine log with coloured markers and a command box.

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTimer;

namespace ra7::editor {

class DialogService;

class TConsoleForm : public QWidget {
    Q_OBJECT
public:
    TConsoleForm(DialogService& dialogs, QWidget* parent = nullptr);

    // Refreshes the lines and brings the window up.
    void ShowConsole();
    // Replaces the lines by the log when it has new lines; leaves none selected.
    void Refresh();

private:
    void runCommand();

    DialogService& dialogs_;
    QListWidget* lines_;
    QLineEdit* command_;
    QTimer* timer_;
};

} // namespace ra7::editor
