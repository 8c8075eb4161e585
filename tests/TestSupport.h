#pragma once

#include "base/RunLogs.h"
#include "platform/MessagePrompt.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace velmora::test {

// Writes bytes to a file, creating its folder; fails the test when that is impossible.
void WriteBytes(const QString &path, const QByteArray &bytes);
QByteArray ReadBytes(const QString &path);

// The lines of a UTF-16 LE run log without its mark, split after each CR LF.
QStringList DecodeRunLog(const QByteArray &bytes);

// A temporary user data folder with the run logs open and active for the test's lifetime.
class CLogCapture
{
public:
    CLogCapture();
    ~CLogCapture();
    CLogCapture(const CLogCapture &) = delete;
    CLogCapture &operator=(const CLogCapture &) = delete;

    QString Folder() const { return m_dir.path(); }
    QStringList DirectoryLog() const;
    QStringList ErrorLog() const;
    CRunLogs &Logs() { return m_logs; }

private:
    QTemporaryDir m_dir;
    mutable CRunLogs m_logs; // flushed before the files are read
};

// Records every message instead of showing it.
class CScriptedPrompt final : public IMessagePrompt
{
public:
    void ShowMessage(const QString &text) override { m_messages.append(text); }
    EPromptAnswer AskYesNoCancel(const QString &text) override
    {
        m_messages.append(text);
        return EPromptAnswer::Cancel;
    }
    QStringList m_messages;
};

// A named pipe that nobody writes to, made at path. Something that opens it to read would
// wait forever; after rescueAfterMs the pipe's other end is opened now and then, so such a
// test ends (and fails) instead of hanging. Rescued() says whether that was needed.
class CStuckPipe
{
public:
    CStuckPipe(const QString &path, int rescueAfterMs = 5000);
    ~CStuckPipe();
    CStuckPipe(const CStuckPipe &) = delete;
    CStuckPipe &operator=(const CStuckPipe &) = delete;
    bool Made() const { return m_made; }
    bool Rescued() const { return m_rescued.load(); }

private:
    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_rescued{false};
    std::thread m_rescuer;
};

// Moves the settings store into a temporary folder for its lifetime.
class CScratchSettings
{
public:
    CScratchSettings();
    ~CScratchSettings();
    CScratchSettings(const CScratchSettings &) = delete;
    CScratchSettings &operator=(const CScratchSettings &) = delete;

private:
    QTemporaryDir m_dir;
};

} // namespace velmora::test
