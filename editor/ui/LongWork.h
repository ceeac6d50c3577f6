#pragma once
// Long work off the GUI thread: the work runs on a worker thread while a
// modal progress window says what it is doing and offers "Отмена", and the
// editor's main loop goes on drawing frames. GL stays on the GUI thread:
// the work must touch no context and no engine list that the frame uses
// for writing.

#include <QProgressDialog>

#include <functional>

namespace ra7 {
class WorkProgress;
}

namespace ra7::editor {

// The progress window: "ProgressWindow", its cancel button "ProgressCancel".
class TProgressWindow : public QProgressDialog {
    Q_OBJECT
public:
    TProgressWindow(QWidget* parent, const QString& title, WorkProgress& progress);
    // Shows the work's state.
    void Follow();

private:
    WorkProgress& progress_;
};

// Runs `work` on a worker thread under a TProgressWindow titled `title`;
// returns when it has ended. "Отмена" asks the work to stop (WorkProgress
// throws WorkCancelled at its next report). An exception of the work is
// rethrown here, on the GUI thread.
void RunLongWork(QWidget* parent, const QString& title, WorkProgress& progress,
                 const std::function<void()>& work);

class DialogService;

// RunLongWork as the pages use it: `watch` (may be empty) is shown the
// progress before the work starts; a stop is logged ("- " + title + ":
// отменено, ничего не изменено"), an error logged with "! " and shown.
// True when the work ran to its end.
bool RunPageWork(QWidget* parent, DialogService& dialogs, const QString& title,
                 const std::function<void(WorkProgress&)>& watch,
                 const std::function<void(WorkProgress&)>& work);

} // namespace ra7::editor
