#pragma once

#include "ui/DraftFileDialogs.h"

#include <deque>

// Draft file dialogs that answer from a script instead of showing themselves, and count how often
// they were asked. An empty answer, or none left, is a cancelled dialog.
class ScriptedFileDialogs final : public DraftFileDialogs
{
public:
    std::deque<QString> Answers;
    int OpenAsked = 0;
    int SaveAsked = 0;

    std::optional<QString> ChooseFileToOpen(QWidget*) override
    {
        ++OpenAsked;
        return NextAnswer();
    }
    std::optional<QString> ChooseFileToSave(QWidget*) override
    {
        ++SaveAsked;
        return NextAnswer();
    }

private:
    std::optional<QString> NextAnswer()
    {
        if (Answers.empty()) return std::nullopt;
        const QString answer = Answers.front();
        Answers.pop_front();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
};
