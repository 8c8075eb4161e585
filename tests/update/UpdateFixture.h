#pragma once

// Shared by the update suites: a scripted prompt, the running program pointed at our built
// program (version 1.0.0.15, file name "velmora"), and the process-wide seams restored.

#include "platform/MessagePrompt.h"
#include "update/ConnectionState.h"
#include "update/ServerReachable.h"
#include "update/UpdateSettings.h"
#include "base/UserPaths.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::test {

class CUpdatePrompt final : public IMessagePrompt
{
public:
    void ShowMessage(const QString &text) override { m_messages.append(text); }
    EPromptAnswer AskYesNoCancel(const QString &text) override
    {
        m_questions.append(text);
        return m_answer;
    }
    EPromptAnswer AskYesNo(const QString &title, const QString &text) override
    {
        m_titles.append(title);
        m_questions.append(text);
        return m_answer;
    }

    EPromptAnswer m_answer = EPromptAnswer::Yes;
    QStringList m_messages;
    QStringList m_titles;
    QStringList m_questions;
};

class CUpdateFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetMessagePrompt(&m_prompt);
        SetRunningProgramPath(QStringLiteral(VELMORA_BINARY));
        SetProgramFolder(m_programFolder.path());
        SetUpdateHostOverride(QString());
        ResetServerReachable();
    }
    void TearDown() override
    {
        SetMessagePrompt(nullptr);
        SetRunningProgramPath({});
        SetProgramFolder({});
        SetUpdateHostOverride(std::nullopt);
        SetInternetConnectionOverride(std::nullopt);
        ResetServerReachable();
    }

    // Puts a stand-in for velmora-ping into the program folder, running script.
    void InstallPingTool(const QByteArray &script)
    {
        const QString tool = m_programFolder.filePath(QStringLiteral("velmora-ping"));
        QFile file(tool);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + script) > 0);
        file.close();
        QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOwner);
    }

    CUpdatePrompt m_prompt;
    QTemporaryDir m_programFolder;
    QTemporaryDir m_updateFolder;
};

} // namespace velmora::test
