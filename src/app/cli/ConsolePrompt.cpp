#include "app/cli/ConsolePrompt.h"

#include <cstdio>

namespace velmora {

void CConsolePrompt::ShowMessage(const QString &text)
{
    std::fprintf(stderr, "velmora: %s\n", text.toUtf8().constData());
}

EPromptAnswer CConsolePrompt::AskYesNoCancel(const QString &text)
{
    ShowMessage(text);
    return m_answer;
}

} // namespace velmora
