#pragma once
// Answers the editor's questions from a script the test writes, and records
// every message the editor showed.

#include "ui/DialogService.h"

#include <deque>
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
