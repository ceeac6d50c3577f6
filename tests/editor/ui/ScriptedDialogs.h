#pragma once
// Answers the editor's questions from a script the test writes, and records
// every message the editor showed.

#include "ui/DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ra7::editor::test {

// How a modal window of the editor is left.
enum class ModalOutcome { Accept, Reject, Escape };

class ScriptedDialogs : public DialogService {
public:
    // Answers to file, folder and text questions in order; an empty optional is a cancel.
    std::deque<std::optional<std::string>> answers;
    // Answers to yes/no questions (none left: no) and to unsaved-changes questions (none left: cancel).
    std::deque<bool> confirmations;
    std::deque<SaveChoice> saveChoices;
    // Answers to questions with several answers, by index (none left: the last answer, as Escape).
    std::deque<std::size_t> choices;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    // Who was to ask before overwriting, for each save dialog shown.
    std::vector<OverwriteQuestion> overwriteQuestions;
    // Acts on a modal window instead of a user (fills lists, presses
    // buttons); the window is then left as the next outcome says (none
    // left: accepted, as its "OK" would).
    std::function<void(QDialog&)> onModal;
    std::deque<ModalOutcome> modalOutcomes;
    std::vector<std::string> modalWindows;

    std::optional<std::string> AskOpenFile(const std::string& title, const std::string&) override
    {
        return next(title);
    }
    std::optional<std::string> AskSaveFile(const std::string& title, const std::string&,
                                           OverwriteQuestion overwrite = OverwriteQuestion::ByDialog) override
    {
        overwriteQuestions.push_back(overwrite);
        return next(title);
    }
    std::optional<std::string> AskFolder(const std::string& title) override { return next(title); }
    std::optional<std::string> AskText(const std::string& title, const std::string&,
                                       const std::string&) override
    {
        return next(title);
    }
    bool Confirm(const std::string& text) override
    {
        questions.push_back(text);
        return pop(confirmations, false);
    }
    SaveChoice AskSaveChanges(const std::string& text) override
    {
        questions.push_back(text);
        return pop(saveChoices, SaveChoice::Cancel);
    }
    std::size_t AskChoice(const std::string& text, const std::vector<std::string>& buttons) override
    {
        questions.push_back(text);
        const std::size_t last = buttons.empty() ? 0 : buttons.size() - 1;
        return std::min(pop(choices, last), last);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool RunModal(QDialog& dialog) override
    {
        modalWindows.push_back(dialog.windowTitle().toStdString());
        dialog.setResult(QDialog::Rejected);
        bool closed = false;
        const auto watch = QObject::connect(&dialog, &QDialog::finished, [&closed] { closed = true; });
        if (onModal)
            onModal(dialog);
        if (!closed) {
            switch (pop(modalOutcomes, ModalOutcome::Accept)) {
            case ModalOutcome::Accept:
                dialog.accept();
                break;
            case ModalOutcome::Reject:
                dialog.reject();
                break;
            case ModalOutcome::Escape: {
                // Through the window's own key handling, as a user's key would go.
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&dialog, &escape);
                break;
            }
            }
        }
        QObject::disconnect(watch);
        return dialog.result() == QDialog::Accepted;
    }

private:
    template <class T>
    static T pop(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    std::optional<std::string> next(const std::string& question)
    {
        questions.push_back(question);
        return pop(answers, std::optional<std::string>());
    }
};

} // namespace ra7::editor::test
