#include "samplegen/GraphicsSamples.h"

#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora::samplegen;

namespace {

QMap<QString, QByteArray> GraphicsSamples()
{
    QList<SSampleFile> list;
    AddGraphicsSamples(list);
    QMap<QString, QByteArray> files;
    for (const SSampleFile &file : list) {
        EXPECT_TRUE(file.relativePath.startsWith(u"Graphics/"_s)) << qPrintable(file.relativePath);
        files.insert(file.relativePath.mid(9), file.content);
    }
    EXPECT_EQ(files.size(), list.size()) << "a name is used twice";
    return files;
}

} // namespace

TEST(SampleGraphics, FilesAndInstructionKinds)
{
    const auto files = GraphicsSamples();
    const QByteArray stream = files.value(u"Every Instruction.cdg"_s);
    ASSERT_EQ(stream.size(), 3 * 7200);
    QSet<int> drawn;
    int skippedTiles = 0;
    int otherModes = 0;
    for (qsizetype at = 0; at < stream.size(); at += 24) {
        const quint8 command = quint8(stream.at(at));
        const int instruction = stream.at(at + 1) & 0x3F;
        if (command == 0)
            continue;
        if ((command & 0x3F) != 9)
            ++otherModes;
        else if ((instruction == 6 || instruction == 38) && (stream.at(at + 5) & 0x20))
            ++skippedTiles;
        else
            drawn.insert(instruction);
    }
    EXPECT_EQ(drawn, (QSet<int>{1, 2, 6, 20, 24, 30, 31, 38}));
    EXPECT_EQ(skippedTiles, 1);
    EXPECT_EQ(otherModes, 1);

    const QByteArray longSong = files.value(u"Long Song.cdg"_s);
    EXPECT_EQ(longSong.size(), 1'512'000);
    // The last instruction sits in the final pack, 15,749.
    EXPECT_NE(longSong.mid(15'749 * 96, 96).count('\0'), 96);
    for (const QString &base : {u"Every Instruction"_s, u"Long Song"_s, u"Tagged Song"_s, u"Maker Song"_s})
        EXPECT_TRUE(files.value(base + u".mp3"_s).startsWith("ID3")) << qPrintable(base);
    // How the maker's forms and the fake ".cdg" are recognised is checked with the identification.
    EXPECT_TRUE(files.value(u"Not Graphics.cdg"_s).startsWith("ID3"));
}
