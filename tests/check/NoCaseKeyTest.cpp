#include "check/DirItemList.h"
#include "check/NoCaseKey.h"
#include "check/SortOrders.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <algorithm>

using namespace velmora;

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Letters whose folding is special (sharp s, dotted and dotless i, long s, final sigma,
// Kelvin and Angstrom signs, title-case digraphs, Cherokee, full-width forms), digits and
// punctuation, lone and paired surrogates, and the private-use units that stand for bytes of
// names that were not UTF-8.
QString RandomName(QRandomGenerator &random)
{
    static const char16_t kPool[] = {u'a', u'A', u'z', u'Z', u'_', u'.', u' ', u'0', u'9', u'/', 0xDF, 0x130, 0x131,
                                     0x17F, 0x3A3, 0x3C2, 0x3C3, 0x13A0, 0xAB70, 0x1E9E, 0xFB00, 0xFF21, 0xFF41,
                                     0x212A, 0x212B, 0xE5, 0xC5, 0x1C4, 0x1C5, 0x1C6, 0xD801, 0xDC00, 0xDC28,
                                     0xDBFF, 0xDFFF, 0xE000, 0xF780, 0xFFFD};
    QString name;
    const int length = int(random.bounded(7));
    for (int i = 0; i < length; ++i) {
        const bool anyUnit = random.bounded(4) == 0;
        name.append(QChar(anyUnit ? char16_t(random.bounded(0x10000)) : kPool[random.bounded(int(std::size(kPool)))]));
    }
    return name;
}

} // namespace

// The sorts of a check compare folded keys instead of folding at every comparison; their
// order must stay exactly Qt's, or rows and logs would change.
TEST(NoCaseKey, OrdersExactlyAsQtsCompareWithoutCase)
{
    QRandomGenerator random(27);
    for (int n = 0; n < 200000; ++n) {
        const QString a = RandomName(random);
        const QString b = RandomName(random);
        ASSERT_EQ(Sign(CNoCaseKey(a).Compare(CNoCaseKey(b))), Sign(a.compare(b, Qt::CaseInsensitive)))
            << a.toStdU16String().size() << " " << b.toStdU16String().size();
    }
    EXPECT_EQ(CNoCaseKey(QStringLiteral("Stra\u00DFe.MP3")).Compare(CNoCaseKey(QStringLiteral("STRASSE.mp3"))) == 0,
              QStringLiteral("Stra\u00DFe.MP3").compare(QStringLiteral("STRASSE.mp3"), Qt::CaseInsensitive) == 0);
    EXPECT_EQ(CNoCaseKey(QStringLiteral("song.mp3")).Compare(CNoCaseKey(QStringLiteral("SONG.MP3"))), 0);
}

// The directory order keys a row by its folder and name, folding a folder once for the rows
// listed in it; with the same random texts as folders and names (runs of rows in one folder,
// folders that are prefixes of others) the order must be that of whole paths.
TEST(NoCaseKey, DirectoryOrderOfRandomPathsIsThatOfQtsCompareWithoutCase)
{
    QRandomGenerator random(24);
    CDirItemList list;
    QStringList paths;
    QString folder;
    for (int n = 0; n < 6000; ++n) {
        if (random.bounded(8) == 0 || folder.isEmpty())
            folder = (random.bounded(3) == 0 && !folder.isEmpty() ? folder : QStringLiteral("/l"))
                + QLatin1Char('/') + RandomName(random);
        const QString name = RandomName(random).remove(QLatin1Char('/'));
        const QString path = folder + QLatin1Char('/') + (name == QStringLiteral("..") ? QStringLiteral("...") : name);
        paths.append(path);
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK;
        item.SetPath(path);
        item.SetFileNames({path.section(QLatin1Char('/'), -1)});
        list.m_items.Add(std::move(item));
    }
    SortByDirectoryOrder(list);
    std::stable_sort(paths.begin(), paths.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ASSERT_EQ(list.GetItemCount(), int(paths.size()));
    for (int i = 0; i < list.GetItemCount(); ++i)
        ASSERT_EQ(list.Item(i).FullPath().compare(paths[i], Qt::CaseInsensitive), 0) << i;
}
