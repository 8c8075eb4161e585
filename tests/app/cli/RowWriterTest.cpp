#include "app/DisplayWidth.h"
#include "app/cli/RowWriter.h"
#include "check/DirItemList.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

void AddRow(CDirItemList &list, const QString &fileName, const QString &title, const QString &artist)
{
    _ITEMINFO item{};
    item.szFileName = fileName;
    item.szType = u"MP3"_s;
    item.szTitle = title;
    item.szArtist = artist;
    item.nDuration = 185;
    list.m_items.Add(item);
}

// The display column at which `needle` starts in `line`.
int ColumnOf(const QString &line, const QString &needle)
{
    const qsizetype at = line.indexOf(needle);
    return at < 0 ? -1 : DisplayWidth(QStringView(line).left(at));
}

} // namespace

TEST(RowWriter, TextColumnsLineUpAsATerminalDrawsThem)
{
    CDirItemList list;
    AddRow(list, u"plain.mp3"_s, u"Plain"_s, u"ArtistA"_s);
    AddRow(list, u"사랑노래.mp3"_s, u"사랑의 노래"_s, u"ArtistB"_s);
    AddRow(list, u"Cafe\u0301.mp3"_s, u"カラオケ"_s, u"ArtistC"_s);
    AddRow(list, u"\U0001F3A4.mp3"_s, u"Ｆｕｌｌ"_s, u"ArtistD"_s);
    const QStringList lines = QString::fromUtf8(WriteRows(list, EOutputFormat::Text)).split(u'\n');
    ASSERT_GE(lines.size(), 5);

    const int typeColumn = ColumnOf(lines.at(1), u"MP3"_s);
    const int artistColumn = ColumnOf(lines.at(1), u"ArtistA"_s);
    const int durationColumn = ColumnOf(lines.at(1), u"3:05"_s);
    ASSERT_GT(typeColumn, 0);
    for (int row = 2; row <= 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ColumnOf(lines.at(row), u"MP3"_s), typeColumn);
        EXPECT_EQ(ColumnOf(lines.at(row), u"Artist"_s), artistColumn);
        EXPECT_EQ(ColumnOf(lines.at(row), u"3:05"_s), durationColumn);
    }
    // The widest file name is 사랑노래.mp3: twelve columns in eight code units, then the gap.
    EXPECT_EQ(typeColumn - ColumnOf(lines.at(1), u"plain.mp3"_s), 12 + 2);
}
