#include "check/NoCaseKey.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

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
