#include "platform/HeadlessUi.h"

#include <cstdio>

namespace {

// The next scripted answer, or the fallback when the script has run out.
template <class T>
T NextAnswer(std::deque<T>& script, T fallback)
{
    if (script.empty())
        return fallback;
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

} // namespace

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
    if (m_echo) {
        // Messages that already name the program ("Kestrin: Unable to open
        // database!") are not prefixed a second time.
        const bool named = text.rfind("Kestrin: ", 0) == 0;
        std::fprintf(stderr, "%s%s\n", named ? "" : "kestrin: ", text.c_str());
    }
    const bool question = buttons == MsgButtons::yesNo || buttons == MsgButtons::yesNoCancel;
    return NextAnswer(messageAnswers, question ? MsgResult::yes : MsgResult::ok);
}

MsgResult CHeadlessUi::AskSaveChanges(const std::string& title)
{
    savePrompts.push_back(title);
    return NextAnswer(saveAnswers, MsgResult::no);
}

std::optional<std::string> CHeadlessUi::ChooseOpenFile(const FileDialogOptions& options)
{
    fileDialogs.push_back(options);
    return NextAnswer<std::optional<std::string>>(openChoices, std::nullopt);
}

std::optional<std::string> CHeadlessUi::ChooseSaveFile(const FileDialogOptions& options)
{
    fileDialogs.push_back(options);
    return NextAnswer<std::optional<std::string>>(saveChoices, std::nullopt);
}
