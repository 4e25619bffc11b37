#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/QtUiServices.h"

// The workbench's UI services with a person's answers scripted: status texts
// still go to the real status bar, and everything asked is recorded.
class CScriptedQtUi : public CQtUiServices
{
public:
    void SetStatusText(const std::string& text) override
    {
        statusTexts.push_back(text);
        CQtUiServices::SetStatusText(text);
    }
    MsgResult MessageBox(const std::string& text, MsgButtons, MsgIcon) override
    {
        messages.push_back(text);
        return Next(messageAnswers, MsgResult::ok);
    }
    MsgResult AskSaveChanges(const std::string& title) override
    {
        savePrompts.push_back(title);
        return Next(saveAnswers, MsgResult::no);
    }
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override
    {
        fileDialogs.push_back(options);
        return Next(openChoices, std::optional<std::string>());
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override
    {
        fileDialogs.push_back(options);
        return Next(saveChoices, std::optional<std::string>());
    }

    // What the keyboard says of its lock keys: nothing, as offscreen.
    std::optional<CLockKeyState> LockKeys() const override { return lockKeys; }

    std::optional<CLockKeyState> lockKeys;
    std::deque<MsgResult> messageAnswers;
    std::deque<MsgResult> saveAnswers;
    std::deque<std::optional<std::string>> openChoices;
    std::deque<std::optional<std::string>> saveChoices;

    std::vector<std::string> statusTexts;
    std::vector<std::string> messages;
    std::vector<std::string> savePrompts;
    std::vector<FileDialogOptions> fileDialogs;

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
