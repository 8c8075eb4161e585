// The window form seen from outside: what it says and returns when it cannot open.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SOutcome
{
    int exitCode = -1;
    QByteArray err;
};

SOutcome RunWithoutDisplay(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(name);
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError()};
}

} // namespace

TEST(WindowForm, WithoutADisplayItSaysSoInOneLine)
{
    QTemporaryDir folder;
    for (const QStringList &arguments : {QStringList{}, QStringList{u"-iDodOdevOdiviz"_s}, QStringList{folder.path()}}) {
        const SOutcome outcome = RunWithoutDisplay(arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.contains("no display")) << outcome.err.constData();
        EXPECT_EQ(outcome.err.count('\n'), 1);
    }
}

TEST(WindowForm, AFolderThatIsNotThereIsAUsageError)
{
    const SOutcome outcome = RunWithoutDisplay({u"/no/such/folder/anywhere"_s});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.err.contains("is not a folder"));
}
