#pragma once
// Answers the editor's questions from a script the test writes, and records
// every message the editor showed.

#include "ui/DialogService.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ra7::editor::test {

class ScriptedDialogs : public DialogService {
public:
    // Answers in order; an empty optional is a cancel.
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    // Acts on a modal window instead of a user (fills lists, presses
    // buttons); the window is then closed as its "ОК" would close it.
    std::function<void(QDialog&)> onModal;
    std::vector<std::string> modalWindows;

    std::optional<std::string> AskOpenFile(const std::string& title, const std::string&) override
    {
        return next(title);
    }
    std::optional<std::string> AskSaveFile(const std::string& title, const std::string&) override
    {
        return next(title);
    }
    std::optional<std::string> AskText(const std::string& title, const std::string&,
                                       const std::string&) override
    {
        return next(title);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RunModal(QDialog& dialog) override
    {
        modalWindows.push_back(dialog.windowTitle().toStdString());
        if (onModal)
            onModal(dialog);
        dialog.accept();
    }

private:
    std::optional<std::string> next(const std::string& question)
    {
        questions.push_back(question);
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace ra7::editor::test
