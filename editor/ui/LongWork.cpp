#include "ui/LongWork.h"

#include "WorkProgress.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include <atomic>
#include <exception>
#include <thread>

namespace ra7::editor {

namespace {

// Progress bars count in int; the work's units (bytes of a model) may not fit.
constexpr int kBarSteps = 1000;

} // namespace

TProgressWindow::TProgressWindow(QWidget* parent, const QString& title, WorkProgress& progress)
    : QProgressDialog(parent), progress_(progress)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setAutoReset(false);
    setAutoClose(false);
    setMinimumDuration(0);
    setMinimumWidth(360);
    setRange(0, 0);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("ProgressCancel"));
    setCancelButton(cancel);
    connect(this, &QProgressDialog::canceled, this, [this] {
        progress_.Cancel();
        setLabelText(QStringLiteral("Отмена..."));
    });
}

void TProgressWindow::Follow()
{
    if (progress_.CancelRequested())
        return;
    const WorkProgress::State state = progress_.Read();
    setLabelText(QString::fromStdString(state.what));
    if (state.total <= 0) {
        setRange(0, 0); // a moving bar: how long is not known
        return;
    }
    setRange(0, kBarSteps);
    const double part = static_cast<double>(state.done) / static_cast<double>(state.total);
    setValue(static_cast<int>(std::clamp(part, 0.0, 1.0) * kBarSteps));
}

void RunLongWork(QWidget* parent, const QString& title, WorkProgress& progress,
                 const std::function<void()>& work)
{
    TProgressWindow window(parent, title, progress);
    std::exception_ptr error;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        finished.store(true);
    });
    // The window follows the work from the GUI thread; the worker only sets
    // the flag, so nothing of Qt is touched from it.
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        window.Follow();
    });
    window.Follow();
    window.show();
    poll.start();
    loop.exec();
    worker.join();
    window.hide();
    if (error)
        std::rethrow_exception(error);
}

bool RunPageWork(QWidget* parent, DialogService& dialogs, const QString& title,
                 const std::function<void(WorkProgress&)>& watch,
                 const std::function<void(WorkProgress&)>& work)
{
    WorkProgress progress;
    if (watch)
        watch(progress);
    try {
        RunLongWork(parent, title, progress, [&] { work(progress); });
        return true;
    } catch (const WorkCancelled&) {
        LogLine("- " + title.toStdString() + ": отменено, ничего не изменено");
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
        dialogs.ShowError(e.what());
    }
    return false;
}

} // namespace ra7::editor
