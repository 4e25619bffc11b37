#include "HeadlessUi.h"

#include <cstdio>

void CHeadlessUi::SetStatusText(const std::string& text)
{
    statusTexts.push_back(text);
}

const std::string& CHeadlessUi::LastStatus() const
{
    static const std::string none;
    return statusTexts.empty() ? none : statusTexts.back();
}

MsgResult CHeadlessUi::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon)
{
    messages.push_back({text, buttons, icon});
    if (m_echo)
        std::fprintf(stderr, "kestrin: %s\n", text.c_str());
    if (!messageAnswers.empty()) {
        const MsgResult r = messageAnswers.front();
        messageAnswers.pop_front();
        return r;
    }
    return (buttons == MsgButtons::yesNo || buttons == MsgButtons::yesNoCancel) ? MsgResult::yes : MsgResult::ok;
}

MsgResult CHeadlessUi::AskSaveChanges(const std::string& title)
{
    savePrompts.push_back(title);
    if (!saveAnswers.empty()) {
        const MsgResult r = saveAnswers.front();
        saveAnswers.pop_front();
        return r;
    }
    return MsgResult::no;
}

std::optional<std::string> CHeadlessUi::ChooseOpenFile(const FileDialogOptions& options)
{
    fileDialogs.push_back(options);
    if (openChoices.empty())
        return std::nullopt;
    auto r = openChoices.front();
    openChoices.pop_front();
    return r;
}

std::optional<std::string> CHeadlessUi::ChooseSaveFile(const FileDialogOptions& options)
{
    fileDialogs.push_back(options);
    if (saveChoices.empty())
        return std::nullopt;
    auto r = saveChoices.front();
    saveChoices.pop_front();
    return r;
}
