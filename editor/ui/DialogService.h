#pragma once
// Every question the editor asks the user goes through this interface, so
// that tests can answer it. The Qt implementation shows real dialogs.

#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace ra7::editor {

class DialogService {
public:
    virtual ~DialogService() = default;

    // A file to open or to save; `filter` is in Qt's form ("KGF format (*.kgf)").
    // Nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFile(const std::string& title, const std::string& filter) = 0;
    virtual std::optional<std::string> AskSaveFile(const std::string& title, const std::string& filter) = 0;
    // A line of text (input box); nothing when cancelled.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& label,
                                               const std::string& initial) = 0;
    // Information and errors; returns when the user has seen it.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // Shows one of the editor's own windows modally; returns when it closes.
    virtual void RunModal(QDialog& dialog) = 0;
};

// Real dialogs, parented to `parent`.
class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> AskOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> AskSaveFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& label,
                                       const std::string& initial) override;
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void RunModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};

} // namespace ra7::editor
