// A check only reads: after every kind of check, each file of the library has the same
// size, modification time, permissions and content, and no file came or went.
#include "inspect/MediaInfoLibrary.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SFileState
{
    qint64 size = -1;
    qint64 modifiedNs = -1;
    quint32 mode = 0;
    QByteArray sha1;

    bool operator==(const SFileState &) const = default;
};

SFileState StateOf(const QString &path)
{
    SFileState state;
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return state;
    state.size = info.st_size;
    state.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    state.mode = info.st_mode;
    QFile file(path);
    if (S_ISREG(info.st_mode) && file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(&file);
        state.sha1 = hash.result();
    }
    return state;
}

// Every file and folder under root, by path relative to it.
QMap<QString, SFileState> Snapshot(const QString &root)
{
    QMap<QString, SFileState> states;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        states.insert(QDir(root).relativeFilePath(path), StateOf(path));
    }
    return states;
}

bool Generate(const QStringList &arguments)
{
    QProcess generator;
    generator.start(QString::fromUtf8(VELMORA_SAMPLEGEN_BINARY), arguments);
    return generator.waitForFinished(120000) && generator.exitCode() == 0;
}

int RunCheck(const QStringList &arguments, const QString &folder)
{
    QTemporaryDir data;
    QProcess process;
    process.start(QString::fromUtf8(VELMORA_BINARY),
                  QStringList{u"check"_s, u"--format"_s, u"csv"_s, u"--data-dir"_s, data.path()} + arguments
                      + QStringList{folder});
    process.waitForFinished(300000);
    return process.exitCode();
}

} // namespace

TEST(UntouchedLibrary, NoKindOfCheckChangesAFile)
{
    QTemporaryDir library;
    ASSERT_TRUE(library.isValid());
    const QDir root(library.path());
    ASSERT_TRUE(Generate({root.filePath(u"Samples"_s)}));
    ASSERT_TRUE(Generate({u"--songs"_s, u"40"_s, u"--seed"_s, u"9"_s, root.filePath(u"Scaled"_s)}));

    const QMap<QString, SFileState> before = Snapshot(root.path());
    ASSERT_GT(before.size(), 150);

    QList<QStringList> checks = {{u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"1"_s},
                                 {u"--subfolders"_s, u"--engine"_s, u"tool"_s, u"--jobs"_s, u"2"_s},
                                 {u"--subfolders"_s}};
    if (velmora::CMediaInfoModule::Shared().Load() == 1)
        checks.append({u"--subfolders"_s, u"--engine"_s, u"library"_s, u"--jobs"_s, u"2"_s});
    for (const QStringList &check : checks)
        EXPECT_NE(RunCheck(check, root.path()), 2) << qPrintable(check.join(u' '));

    // The song check of every folder: plain ones, zip packages, the juke and jukebox layouts.
    QDirIterator folders(root.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    int songChecks = 0;
    while (folders.hasNext()) {
        EXPECT_NE(RunCheck({u"--songs"_s, u"--jobs"_s, u"2"_s}, folders.next()), 2);
        ++songChecks;
    }
    EXPECT_GT(songChecks, 10);

    const QMap<QString, SFileState> after = Snapshot(root.path());
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_TRUE(after.value(it.key()) == it.value()) << qPrintable(it.key());
}
