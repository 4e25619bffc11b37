#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/UiServices.h"

// UI services without a window: records what was said and answers from a
// script (for tests), or prints messages to a stream (for the command line).
class CHeadlessUi : public IUiServices
{
public:
    struct Message
    {
        std::string text;
        MsgButtons buttons;
        MsgIcon icon;
    };

    // When echo is set, messages go to standard error as they are shown.
    explicit CHeadlessUi(bool echo = false) : m_echo(echo) {}

    void SetStatusText(const std::string& text) override;
    void ShowStatusWarning(const std::string& text) override { statusWarnings.push_back(text); }
    void BeginWaitCursor() override { ++m_waitDepth; ++m_waitBegins; }
    void EndWaitCursor() override { --m_waitDepth; }
    MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    MsgResult AskSaveChanges(const std::string& title) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;

    // Scripted answers, used in order; when a queue is empty the default
    // applies: message boxes answer ok / yes, the save prompt answers no
    // (discard), file choices are cancelled.
    std::deque<MsgResult> messageAnswers;
    std::deque<MsgResult> saveAnswers;
    std::deque<std::optional<std::string>> openChoices;
    std::deque<std::optional<std::string>> saveChoices;

    // What happened.
    std::vector<std::string> statusTexts;
    std::vector<std::string> statusWarnings;
    std::vector<Message> messages;
    std::vector<std::string> savePrompts;
    std::vector<FileDialogOptions> fileDialogs;
    int m_waitDepth = 0;
    int m_waitBegins = 0;

    const std::string& LastStatus() const;

private:
    bool m_echo;
};
