// Long checks on the command line: a progress line for a person at a terminal, nothing of
// it anywhere else, and Ctrl+C or SIGTERM ending the check as the window's Stop does.
#include "TestSupport.h"
#include "app/cli/CliRun.h"
#include "app/cli/TerminalRun.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CTerminalProgress : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_library = new QTemporaryDir;
        QProcess generator;
        generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY),
                        {u"--songs"_s, u"300"_s, u"--seed"_s, u"7"_s, s_library->path()});
        generator.waitForFinished(60000);
    }
    static void TearDownTestSuite()
    {
        delete s_library;
        s_library = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Temp())); }

    QString Temp() const { return m_scratch.filePath(u"tmp"_s); }
    QString DataDir() const { return m_scratch.filePath(u"data"_s); }
    QStringList Environment() const
    {
        return {u"PATH="_s + qEnvironmentVariable("PATH"), u"HOME="_s + m_scratch.path(),
                u"XDG_CONFIG_HOME="_s + m_scratch.filePath(u"config"_s), u"TMPDIR="_s + Temp(),
                u"LANG=C.UTF-8"_s, u"TERM=xterm"_s};
    }
    QStringList CheckArguments(const QStringList &more) const
    {
        return QStringList{u"check"_s, u"--data-dir"_s, DataDir()} + more + QStringList{s_library->path()};
    }
    // Regular files anywhere under the temporary folder the program was given.
    QStringList FilesLeftInTemp() const
    {
        QStringList left;
        QDirIterator it(Temp(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            left.append(it.next());
        return left;
    }

    static QTemporaryDir *s_library;
    QTemporaryDir m_scratch;
};

QTemporaryDir *CTerminalProgress::s_library = nullptr;

// Files done in the last "reading" progress the terminal shows, or -1.
int LastFilesRead(const QByteArray &terminal)
{
    static const QRegularExpression reading(u"reading: ([0-9,]+) of"_s);
    int last = -1;
    for (auto it = reading.globalMatch(QString::fromUtf8(terminal)); it.hasNext();)
        last = it.next().captured(1).remove(u',').toInt();
    return last;
}

// Interrupts the check once it has read a few files, so it is stopped well before its end.
std::function<bool(const QByteArray &, int)> SignalAfterFirstFiles(int signal)
{
    return [signal](const QByteArray &terminal, int pid) {
        if (LastFilesRead(terminal) < 3)
            return true;
        ::kill(pid, signal);
        return false;
    };
}

bool IsValidUtf16RunLog(const QByteArray &bytes)
{
    if (!bytes.startsWith("\xff\xfe") || bytes.size() % 2 != 0)
        return false;
    const auto *units = reinterpret_cast<const char16_t *>(bytes.constData() + 2);
    const qsizetype count = (bytes.size() - 2) / 2;
    for (qsizetype i = 0; i < count; ++i) {
        if (QChar::isHighSurrogate(units[i]) && i + 1 < count && QChar::isLowSurrogate(units[i + 1]))
            ++i;
        else if (QChar::isSurrogate(units[i]))
            return false;
    }
    return true;
}

} // namespace

TEST_F(CTerminalProgress, ATerminalSeesTheProgressLineAndThenACleanLine)
{
    const test::STerminalRun run =
        test::RunOnTerminal(CheckArguments({u"--songs"_s, u"--subfolders"_s, u"--format"_s, u"json"_s}), Environment());
    ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.terminal.toStdString();
    EXPECT_TRUE(run.terminal.contains("walking: ")) << run.terminal.toStdString();
    EXPECT_TRUE(run.terminal.contains("reading: ")) << run.terminal.toStdString();
    EXPECT_TRUE(run.terminal.endsWith("\r\x1b[K")) << "the line is cleared at the end";
    // stdout stays clean for the machine that reads it.
    EXPECT_FALSE(run.out.contains('\r'));
    EXPECT_FALSE(run.out.contains('\x1b'));
    EXPECT_TRUE(QJsonDocument::fromJson(run.out).isArray());
    EXPECT_TRUE(FilesLeftInTemp().isEmpty()) << FilesLeftInTemp().join(u' ').toStdString();
}

TEST_F(CTerminalProgress, NoProgressWithoutATerminalOrWithQuiet)
{
    QProcessEnvironment environment;
    for (const QString &variable : Environment())
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    const QStringList songCheck{u"--songs"_s, u"--subfolders"_s};
    const test::SRun piped = test::RunVelmora(CheckArguments(songCheck), environment);
    EXPECT_TRUE(piped.exitCode == 0 || piped.exitCode == 1);
    EXPECT_FALSE(piped.out.isEmpty());
    EXPECT_TRUE(piped.err.isEmpty()) << piped.err.toStdString();

    const test::STerminalRun quiet = test::RunOnTerminal(CheckArguments(songCheck + QStringList{u"--quiet"_s}), Environment());
    EXPECT_TRUE(quiet.exitCode == 0 || quiet.exitCode == 1);
    EXPECT_FALSE(quiet.out.isEmpty());
    EXPECT_FALSE(quiet.terminal.contains("reading")) << quiet.terminal.toStdString();
    EXPECT_FALSE(quiet.terminal.contains("walking")) << quiet.terminal.toStdString();
}

TEST_F(CTerminalProgress, CtrlCStopsTheCheckAndPrintsTheRowsReadSoFar)
{
    // One run of the media tool per file makes the check long enough to be stopped midway.
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "mediainfo is not installed";
    const test::STerminalRun run = test::RunOnTerminal(
        CheckArguments({u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--format"_s, u"json"_s}), Environment(),
        SignalAfterFirstFiles(SIGINT));
    ASSERT_EQ(run.exitCode, 130) << run.terminal.toStdString();

    const QJsonDocument rows = QJsonDocument::fromJson(run.out);
    ASSERT_TRUE(rows.isArray()) << run.out.toStdString();
    const int total = int(QDir(s_library->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
    EXPECT_GE(rows.array().size(), 3);
    EXPECT_LT(rows.array().size(), 400) << "of " << total << " top-level entries and 555 files";

    const QByteArray directoryLog = test::ReadBytes(QDir(DataDir()).filePath(u"directory.log"_s));
    const QByteArray errorLog = test::ReadBytes(QDir(DataDir()).filePath(u"error.log"_s));
    EXPECT_TRUE(IsValidUtf16RunLog(directoryLog));
    EXPECT_TRUE(IsValidUtf16RunLog(errorLog));
    const QStringList lines = test::DecodeRunLog(directoryLog);
    const QString stopLine = u"LIST, Check stopped by the user after %1 of "_s.arg(rows.array().size());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString &line) { return line.startsWith(stopLine); }))
        << lines.join(u"").toStdString();
    EXPECT_TRUE(FilesLeftInTemp().isEmpty()) << FilesLeftInTemp().join(u' ').toStdString();
}

TEST_F(CTerminalProgress, SigtermStopsLikeCtrlCWithItsOwnStatus)
{
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "mediainfo is not installed";
    const test::STerminalRun run = test::RunOnTerminal(
        CheckArguments({u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--format"_s, u"csv"_s}), Environment(),
        SignalAfterFirstFiles(SIGTERM));
    EXPECT_EQ(run.exitCode, 143) << run.terminal.toStdString();
    EXPECT_TRUE(run.out.startsWith("fileName,")) << run.out.toStdString();
    EXPECT_TRUE(run.terminal.endsWith("\r\x1b[K"));
}

TEST_F(CTerminalProgress, ThePlaylistCommandShowsItsFileCheckOnATerminal)
{
    const QString playlist = m_scratch.filePath(u"list.txt"_s);
    QByteArray lines;
    for (int i = 1; i <= 40; ++i)
        lines += QByteArray::number(i) + "|Song " + QByteArray::number(i) + "|Artist|song" + QByteArray::number(i)
               + ".mp3|" + m_scratch.path().toUtf8() + "/\r\n";
    test::WriteBytes(playlist, lines);
    const QStringList arguments{u"playlist"_s, u"--data-dir"_s, DataDir(), u"--format"_s, u"csv"_s, playlist};
    const test::STerminalRun run = test::RunOnTerminal(arguments, Environment());
    EXPECT_EQ(run.exitCode, 1) << "every song is missing";
    EXPECT_TRUE(run.terminal.contains("reading: 0 of 40 files")) << run.terminal.toStdString();
    EXPECT_TRUE(run.terminal.endsWith("\r\x1b[K"));
    EXPECT_EQ(run.out.count('\n'), 41) << run.out.toStdString();

    const test::STerminalRun quiet = test::RunOnTerminal(arguments.mid(0, 1) + QStringList{u"--quiet"_s} + arguments.mid(1),
                                                         Environment());
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_FALSE(quiet.terminal.contains("reading")) << quiet.terminal.toStdString();
}
