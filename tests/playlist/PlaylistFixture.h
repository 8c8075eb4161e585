#pragma once

#include "TestSupport.h"

#include "platform/MessagePrompt.h"
#include "base/StdioFileEx.h"
#include "samplegen/TextEncoding.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::test {

// A folder for playlists, with the work folder (through TMPDIR) and the settings store moved
// into temporary folders of their own, and the messages captured.
class CPlaylistFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTmpDir = qgetenv("TMPDIR");
        m_hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_work.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
        SetMessagePrompt(&m_prompt);
    }
    void TearDown() override
    {
        SetMessagePrompt(nullptr);
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
        if (m_hadTmpDir)
            qputenv("TMPDIR", m_oldTmpDir);
        else
            qunsetenv("TMPDIR");
    }

    QString Path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString Write(const QString &name, const QByteArray &bytes)
    {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }
    QStringList Messages() const { return m_prompt.m_messages; }

    static QStringList ReadTextLines(const QString &path)
    {
        CStdioFileEx file;
        QStringList lines;
        if (!file.Open(path, CStdioFileEx::modeRead | CStdioFileEx::typeText))
            return lines;
        QString line;
        while (file.ReadString(line))
            lines.append(line);
        return lines;
    }

    static QByteArray Utf16(const QString &text) { return samplegen::Utf16WithMark(text); }

    QTemporaryDir m_dir;
    QTemporaryDir m_work;
    QTemporaryDir m_config;
    CScriptedPrompt m_prompt;

private:
    QByteArray m_oldTmpDir;
    bool m_hadTmpDir = false;
};

} // namespace velmora::test
