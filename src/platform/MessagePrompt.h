#pragma once

#include <QString>

namespace velmora {

enum class EPromptAnswer { Yes, No, Cancel };

// The message boxes of the program. The window shows dialogs, the command line prints to
// stderr and answers from its flags, tests script the answers.
class IMessagePrompt
{
public:
    virtual ~IMessagePrompt() = default;
    virtual void ShowMessage(const QString &text) = 0;
    virtual EPromptAnswer AskYesNoCancel(const QString &text) = 0;
    // A Yes/No question with a title of its own. Prompts without such a dialog ask the
    // three-way question with the title as its first line; anything but Yes is No.
    virtual EPromptAnswer AskYesNo(const QString &title, const QString &text)
    {
        return AskYesNoCancel(title.trimmed() + u'\n' + text) == EPromptAnswer::Yes ? EPromptAnswer::Yes
                                                                                   : EPromptAnswer::No;
    }
};

// The prompt in use; never null (a silent one that answers Cancel until one is set).
IMessagePrompt &MessagePrompt();
void SetMessagePrompt(IMessagePrompt *prompt);

} // namespace velmora
