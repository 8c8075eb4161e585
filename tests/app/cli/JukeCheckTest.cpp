// The song check of the sample juke folder through the command line: the rows carry the
// details of juke.txt, not those of the songs' own tags.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SJukeRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

SJukeRun RunProgram(const char *program, const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(JukeCheck, SongCheckOfTheSampleJukeFolder)
{
    QTemporaryDir library;
    QTemporaryDir data;
    ASSERT_EQ(RunProgram(VELMORA_SAMPLEGEN_BINARY, {library.path()}).exitCode, 0);

    const SJukeRun run = RunProgram(VELMORA_BINARY, {u"check"_s, u"--songs"_s, u"--format"_s, u"json"_s,
                                                     u"--data-dir"_s, data.path(), library.filePath(u"Juke"_s)});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(rows.size(), 5) << run.out.constData();
    EXPECT_EQ(rows[0][u"fileName"_s].toString(), u".."_s);

    const QJsonObject first = rows[1].toObject();
    EXPECT_EQ(first[u"fileName"_s].toString(), u"00001.cdg;00001.mp3"_s);
    EXPECT_EQ(first[u"title"_s].toString(), u"Paper Boats"_s);
    EXPECT_EQ(first[u"artist"_s].toString(), u"Amber Coast"_s);
    EXPECT_EQ(first[u"album"_s].toString(), u"Harbour Lights"_s);
    EXPECT_EQ(first[u"duration"_s].toInt(), 185);
    EXPECT_EQ(first[u"genre"_s].toString(), u"Pop"_s);
    EXPECT_EQ(first[u"year"_s].toInt(), 1999);
    EXPECT_EQ(first[u"track"_s].toInt(), 3);
    EXPECT_TRUE(first[u"detailsLoaded"_s].toBool());

    // The record that juke.txt splits over two lines.
    EXPECT_EQ(rows[2][u"title"_s].toString(), u"Midnight Ferry"_s);
    EXPECT_EQ(rows[2][u"album"_s].toString(), u"Night Crossing"_s);
    EXPECT_EQ(rows[2][u"duration"_s].toInt(), 242);
    EXPECT_EQ(rows[3][u"title"_s].toString(), u"Caf\u00e9 Soleil"_s);

    // The song juke.txt does not list is read from its own tags.
    EXPECT_EQ(rows[4][u"title"_s].toString(), u"Unlisted Song"_s);
    EXPECT_EQ(rows[4][u"artist"_s].toString(), u"Tag Artist"_s);
}
