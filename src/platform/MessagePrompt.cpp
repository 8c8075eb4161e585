#include "platform/MessagePrompt.h"

namespace velmora {

namespace {

class CSilentPrompt final : public IMessagePrompt
{
public:
    void ShowMessage(const QString &) override {}
    EPromptAnswer AskYesNoCancel(const QString &) override { return EPromptAnswer::Cancel; }
};

CSilentPrompt g_silentPrompt;
IMessagePrompt *g_prompt = &g_silentPrompt;

} // namespace

IMessagePrompt &MessagePrompt()
{
    return *g_prompt;
}

void SetMessagePrompt(IMessagePrompt *prompt)
{
    g_prompt = prompt ? prompt : &g_silentPrompt;
}

} // namespace velmora
