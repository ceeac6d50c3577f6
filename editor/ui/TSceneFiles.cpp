#include "ui/TSceneFiles.h"

#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "core/SaveWindowModel.h"
#include "core/SceneBackup.h"
#include "core/SceneEditorState.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>

namespace ra7::editor {

namespace {

std::string absolute(const std::string& path)
{
    return QFileInfo(QString::fromStdString(resolvePath(path).string())).absoluteFilePath().toStdString();
}

} // namespace

TSceneFiles::TSceneFiles(EditorServices& services, QObject* parent) : QObject(parent), services_(services)
{
    settings_ = LoadSettings(SettingsFile(), settingsProblem_);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("AutosaveTimer"));
    connect(timer_, &QTimer::timeout, this, [this] { AutosaveNow(); });
}

void TSceneFiles::Attach(EditorDocument& document, EditorSession& session)
{
    document_ = &document;
    session_ = &session;
    autosavedChange_ = document.ChangeCount();
    if (!settingsProblem_.empty())
        LogLine("! " + settingsProblem_);
    applyInterval();
}

void TSceneFiles::applyInterval()
{
    const double minutes = settings_.autosaveMinutes;
    if (minutes <= 0 || !document_) {
        timer_->stop();
        return;
    }
    timer_->start(static_cast<int>(std::max(1.0, std::round(minutes * 60000))));
}

void TSceneFiles::saveSettings()
{
    try {
        SaveSettings(SettingsFile(), settings_);
    } catch (const std::exception& e) {
        services_.report(std::string("Настройки редактора не сохранены: ") + e.what());
    }
}

bool TSceneFiles::AutosaveNow()
{
    if (!document_ || !document_->Modified() || document_->ChangeCount() == autosavedChange_ ||
        document_->InGesture())
        return false;
    const auto start = std::chrono::steady_clock::now();
    try {
        WriteBackup(*document_, {});
    } catch (const std::exception& e) {
        // Tried again at the next interval; the user hears of each new failure once.
        const std::string text = std::string("Автосохранение не удалось: ") + e.what();
        if (text != lastFailure_)
            services_.report(text);
        lastFailure_ = text;
        return false;
    }
    lastFailure_.clear();
    autosavedChange_ = document_->ChangeCount();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    LogLine("- Автосохранение: " + BackupFor(document_->FileName()).scene.string() + " (" +
            std::to_string(ms) + " мс)");
    return true;
}

bool TSceneFiles::OfferRecovery(const std::string& sceneFile)
{
    if (!offersRecovery_ || !document_ || !session_ || !BackupIsNewer(sceneFile))
        return false;
    const BackupFiles files = BackupFor(sceneFile);
    const std::string what = sceneFile.empty() ? "несохранённой сцены" : "сцены <" + sceneFile + ">";
    const auto answer =
        services_.dialogs.AskChoice("Найдена автосохранённая копия " + what + " (" + files.scene.string() +
                                        "), более новая, чем сама сцена. Восстановить работу из неё?",
                                    {"Восстановить", "Удалить", "Позже"});
    if (answer == 1) {
        RemoveBackup(sceneFile);
        LogLine("- Автосохранённая копия удалена: " + files.scene.string());
        return false;
    }
    if (answer != 0)
        return false;
    try {
        if (services_.makeCurrent)
            services_.makeCurrent();
        RecoverBackup(*session_, *document_, sceneFile);
    } catch (const std::exception& e) {
        services_.report(std::string("Копия не восстановлена: ") + e.what());
        document_->SceneReplaced(sceneFile, true);
        return false;
    }
    autosavedChange_ = document_->ChangeCount();
    return true;
}

void TSceneFiles::SceneSaved(const std::string& fileName)
{
    if (!document_)
        return;
    try {
        WriteSidecar(SidecarPath(resolvePath(fileName)), CurrentEditorState(*document_));
    } catch (const std::exception& e) {
        services_.report(std::string("Состояние редактора не сохранено: ") + e.what());
    }
    RemoveBackup(fileName);
    RemoveBackup("");
    autosavedChange_ = document_->ChangeCount();
    settings_.AddRecent(absolute(fileName));
    saveSettings();
}

void TSceneFiles::SceneLoaded(const std::string& path)
{
    if (!document_)
        return;
    std::string why;
    if (const auto state = ReadSidecar(SidecarPath(resolvePath(path)), why))
        ApplyEditorState(*document_, *state, false);
    else if (!why.empty())
        LogLine("! " + why + "; состояние редактора не восстановлено");
    else
        LogLine("- " + SidecarPath(path).string() + " нет: небо, блики и камера остаются как были");
    settings_.AddRecent(absolute(path));
    saveSettings();
}

void TSceneFiles::CleanExit()
{
    if (document_)
        RemoveBackup(document_->FileName());
}

void TSceneFiles::ConnectRecentMenu(QMenu& menu, std::function<void(const std::string&)> open)
{
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu, open] {
        menu.clear();
        for (const std::string& path : settings_.recentFiles) {
            QAction* item = menu.addAction(QString::fromStdString(path));
            connect(item, &QAction::triggered, this, [open, path] { open(path); });
        }
        if (settings_.recentFiles.empty())
            menu.addAction(QStringLiteral("(пусто)"))->setEnabled(false);
    });
}

void TSceneFiles::ConfigureAutosave()
{
    const auto answer =
        services_.dialogs.AskText("Автосохранение", "Минут между автосохранениями (0 — выключить):",
                                  FormatBoxNumber(static_cast<float>(settings_.autosaveMinutes)));
    if (!answer)
        return;
    const auto minutes = ParseTypedNumber(*answer, {0, 24 * 60});
    if (!minutes) {
        services_.report("Автосохранение: <" + *answer + "> — не число минут от 0 до 1440");
        return;
    }
    settings_.autosaveMinutes = *minutes;
    saveSettings();
    applyInterval();
}

} // namespace ra7::editor
