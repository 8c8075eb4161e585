// The command-line form links the window code but must never make a GUI object: with a
// display platform that does not exist, a GUI application would abort at its start.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

int RunWithoutDisplay(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"no-such-platform"_s);
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(HeadlessStart, CommandLineFormNeedsNoDisplayPlatform)
{
    EXPECT_EQ(RunWithoutDisplay({u"--version"_s}), 0);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(u"empty"_s);
    const QString data = QDir(folder.path()).filePath(u"logs"_s);
    const QString empty = QDir(folder.path()).filePath(u"empty"_s);
    EXPECT_EQ(RunWithoutDisplay({u"check"_s, u"--data-dir"_s, data, empty}), 0);
    EXPECT_EQ(RunWithoutDisplay({u"check"_s, u"--songs"_s, u"--data-dir"_s, data, empty}), 0);
    // The window form does need one, so the platform really is missing.
    EXPECT_NE(RunWithoutDisplay({u"-iDodOdevOdiviz"_s, empty}), 0);
}
