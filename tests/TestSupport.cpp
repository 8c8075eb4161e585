#include "TestSupport.h"

#include "base/UserPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace velmora::test {

namespace {

// The work folders of the code under test, and of every program a test starts, go into a
// scratch temporary folder of this test process, removed at its end: no test leaves
// anything in the machine's temporary folder or the user's runtime folder.
class CScratchTemporaryFolder final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
        m_tmpDir = qgetenv("TMPDIR");
        m_runtimeDir = qgetenv("XDG_RUNTIME_DIR");
        m_folder = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_folder->isValid());
        qputenv("TMPDIR", QFile::encodeName(m_folder->path()));
        qunsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override
    {
        if (m_hadTmpDir)
            qputenv("TMPDIR", m_tmpDir);
        else
            qunsetenv("TMPDIR");
        if (!m_runtimeDir.isEmpty())
            qputenv("XDG_RUNTIME_DIR", m_runtimeDir);
        // Names that are not UTF-8 (the odd-library tests make them) are beyond Qt's
        // removal; the file system's own walk takes them as bytes.
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(m_folder->path()).toStdString(), ignored);
        m_folder.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QByteArray m_tmpDir;
    QByteArray m_runtimeDir;
    bool m_hadTmpDir = false;
};

[[maybe_unused]] const ::testing::Environment *const g_scratchTemporaryFolder =
    ::testing::AddGlobalTestEnvironment(new CScratchTemporaryFolder);

} // namespace

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList DecodeRunLog(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xFF\xFE"))
        body.remove(0, 2);
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(body.constData()),
                                            body.size() / 2);
    QStringList lines = text.split(u"\r\n"_s);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

CLogCapture::CLogCapture()
{
    SetUserDataFolder(m_dir.path());
    m_logs.OpenRunLogs();
    SetActiveRunLogs(&m_logs);
}

CLogCapture::~CLogCapture()
{
    SetActiveRunLogs(nullptr);
    m_logs.CloseRunLogs();
    SetUserDataFolder({});
}

QStringList CLogCapture::DirectoryLog() const
{
    m_logs.Flush();
    return DecodeRunLog(ReadBytes(m_dir.filePath(u"directory.log"_s)));
}

QStringList CLogCapture::ErrorLog() const
{
    m_logs.Flush();
    return DecodeRunLog(ReadBytes(m_dir.filePath(u"error.log"_s)));
}

CStuckPipe::CStuckPipe(const QString &path, int rescueAfterMs)
    : m_path(path)
{
    m_made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (!m_made)
        return;
    m_rescuer = std::thread([this, rescueAfterMs] {
        const auto start = std::chrono::steady_clock::now();
        while (!m_done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(rescueAfterMs))
                continue;
            // Succeeds only while a reader waits; closing at once gives that reader its end.
            const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_rescued.store(true);
                ::close(fd);
            }
        }
    });
}

CStuckPipe::~CStuckPipe()
{
    m_done.store(true);
    if (m_rescuer.joinable())
        m_rescuer.join();
}

namespace {
void PointSettingsAt(const QString &folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}
} // namespace

CScratchSettings::CScratchSettings()
{
    PointSettingsAt(m_dir.path());
}

CScratchSettings::~CScratchSettings()
{
    PointSettingsAt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace velmora::test
