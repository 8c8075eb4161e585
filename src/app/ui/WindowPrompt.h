#pragma once

#include "platform/MessagePrompt.h"

class QWidget;

namespace velmora {

// The program's messages as message boxes over the main window.
class CWindowPrompt final : public IMessagePrompt
{
public:
    void SetParent(QWidget *parent) { m_parent = parent; }
    void ShowMessage(const QString &text) override;
    EPromptAnswer AskYesNoCancel(const QString &text) override;
    EPromptAnswer AskYesNo(const QString &title, const QString &text) override;

private:
    QWidget *m_parent = nullptr;
};

} // namespace velmora
