#pragma once
// Everything that keeps a level designer's work safe around the scene files:
// the autosave timer and its backups, the offer to recover a backup after a
// crash, the sidecar with the editor's state beside each saved scene, and
// the list of recently opened scenes ("Файл → Последние").

#include "core/EditorSettings.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class QMenu;
class QTimer;

namespace ra7::editor {

class EditorDocument;
class EditorSession;
struct EditorServices;

class TSceneFiles : public QObject {
    Q_OBJECT
public:
    TSceneFiles(EditorServices& services, QObject* parent = nullptr);

    // The engine has started: autosave may begin.
    void Attach(EditorDocument& document, EditorSession& session);

    // Fills `menu` with the recent scenes each time it is shown; choosing
    // one calls `open`.
    void ConnectRecentMenu(QMenu& menu, std::function<void(const std::string&)> open);
    // "Настройки → Автосохранение...": asks for the minutes (0 turns it off).
    void ConfigureAutosave();

    // A backup newer than `sceneFile` ("" for a scene never saved): offers
    // "Восстановить" / "Удалить" / "Позже". True when the backup was loaded.
    bool OfferRecovery(const std::string& sceneFile);
    // Unattended runs (screenshots, timings) never stop to ask.
    void SetOffersRecovery(bool offers) { offersRecovery_ = offers; }
    // The scene was written to `fileName`: its sidecar is written, its
    // backups go and it joins the recent files.
    void SceneSaved(const std::string& fileName);
    // A scene was loaded from `path`: its sidecar is applied and it joins
    // the recent files.
    void SceneLoaded(const std::string& path);
    // The editor closes in order: the scene's backup is not needed.
    void CleanExit();
    // Writes the backup now when the scene changed since the last one.
    bool AutosaveNow();

    const EditorSettings& Settings() const { return settings_; }
    std::string SettingsProblem() const { return settingsProblem_; }

private:
    void applyInterval();
    void saveSettings();

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    EditorSession* session_ = nullptr;
    EditorSettings settings_;
    std::string settingsProblem_;
    QTimer* timer_ = nullptr;
    std::uint64_t autosavedChange_ = 0;
    std::string lastFailure_;
    bool offersRecovery_ = true;
};

} // namespace ra7::editor
