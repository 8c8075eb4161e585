#pragma once

#include "platform/MessagePrompt.h"

namespace velmora {

// Message boxes on the command line: messages go to stderr; questions take the answer
// given on the command line (Cancel unless told otherwise), never waiting for a person.
class CConsolePrompt final : public IMessagePrompt
{
public:
    explicit CConsolePrompt(EPromptAnswer answer = EPromptAnswer::Cancel) : m_answer(answer) {}
    void ShowMessage(const QString &text) override;
    EPromptAnswer AskYesNoCancel(const QString &text) override;

private:
    EPromptAnswer m_answer;
};

} // namespace velmora
