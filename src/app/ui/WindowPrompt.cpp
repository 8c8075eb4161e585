#include "app/ui/WindowPrompt.h"

#include "res/Version.h"

#include <QMessageBox>

namespace velmora {

namespace {
QString Title()
{
    return QString::fromUtf16(kApplicationTitle);
}
}

void CWindowPrompt::ShowMessage(const QString &text)
{
    QMessageBox::warning(m_parent, Title(), text);
}

EPromptAnswer CWindowPrompt::AskYesNoCancel(const QString &text)
{
    const auto answer = QMessageBox::question(m_parent, Title(), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return EPromptAnswer::Yes;
    return answer == QMessageBox::No ? EPromptAnswer::No : EPromptAnswer::Cancel;
}

EPromptAnswer CWindowPrompt::AskYesNo(const QString &title, const QString &text)
{
    const auto answer = QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                              QMessageBox::Yes);
    return answer == QMessageBox::Yes ? EPromptAnswer::Yes : EPromptAnswer::No;
}

} // namespace velmora
