#include "widgets/ui/ColumnContentWidth.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <random>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

// Texts whose widths in pixels and in characters disagree, with kerning pairs, ligatures,
// other scripts, combining marks and line breaks among them.
QString TrickyText(std::mt19937 &random)
{
    static const QStringList pieces = {
        u"W"_s, u"i"_s, u"AV"_s, u"To"_s, u"ffi"_s, u"Wa"_s, u"l"_s, u"MM"_s, u" "_s, u"."_s, u"ß"_s,
        u"Ä"_s, u"ǅ"_s, u"日本"_s, u"كاراوكي"_s, u"e\u0301"_s, u"\u00ad"_s, u"\n"_s, u"\t"_s, u"🎤"_s,
        u"Kar"_s, u"aoke - "_s, u"Song (Live)"_s, u"[SC]"_s, u"_"_s, u"0123"_s};
    std::uniform_int_distribution<int> length(0, 14);
    std::uniform_int_distribution<int> piece(0, int(pieces.size()) - 1);
    std::uniform_int_distribution<int> plain(0, 9);
    QString text;
    for (int i = length(random); i > 0; --i) {
        // Mostly plain Latin, as in most libraries, so that the estimate does the sorting.
        const QString &next = pieces[piece(random)];
        if (plain(random) < 8 && next.front().unicode() >= 0x250)
            continue;
        text += next;
    }
    return text;
}

QIcon Swatch(Qt::GlobalColor colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Rows of tricky texts: some with icons of two sizes, some with check boxes, some hidden.
void Fill(QStandardItemModel &model, QTableView &view, int rows, unsigned seed)
{
    std::mt19937 random(seed);
    const QIcon small = Swatch(Qt::red, 8);
    const QIcon large = Swatch(Qt::blue, 16);
    model.setRowCount(rows);
    model.setColumnCount(3);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto *item = new QStandardItem(TrickyText(random));
            if (column == 0 && row % 3 == 0)
                item->setIcon(row % 2 ? small : large);
            if (column == 0 && row % 5 == 0)
                item->setCheckable(true);
            model.setItem(row, column, item);
        }
    }
    for (int row = 0; row < rows; row += 7)
        view.setRowHidden(row, true);
}

// Qt's own measure of a column, which the fast one must equal.
int QtsWidth(const QTableView &view, int column)
{
    const QAbstractItemView &items = view;
    return std::max(items.sizeHintForColumn(column), view.horizontalHeader()->sectionSizeHint(column));
}

void ExpectQtsWidths(const QTableView &view, const char *what)
{
    for (int column = 0; column < view.model()->columnCount(); ++column)
        EXPECT_EQ(ColumnContentWidth(view, column), QtsWidth(view, column)) << what << ", column " << column;
}

} // namespace

TEST(ColumnContentWidth, EqualsQtsOwnMeasureOverTheSameRows)
{
    QStandardItemModel model;
    QTableView view;
    view.setModel(&model);
    view.setWordWrap(false);
    view.resize(500, 300);
    for (const unsigned seed : {1u, 2u}) {
        Fill(model, view, 1600, seed);
        view.setShowGrid(seed % 2 == 1);
        view.hide();
        ExpectQtsWidths(view, "hidden view, first thousand rows");
        view.show();
        view.verticalScrollBar()->setValue(1200);
        ExpectQtsWidths(view, "shown, scrolled, the rows around the view");
        view.horizontalHeader()->setResizeContentsPrecision(0);
        ExpectQtsWidths(view, "only the rows in view");
        view.horizontalHeader()->setResizeContentsPrecision(-1);
        ExpectQtsWidths(view, "every row");
        view.horizontalHeader()->setResizeContentsPrecision(1000);
    }
}

// Cells the estimate could misjudge: a text wider in pixels than a longer one, a shorter
// text beside a check box and an icon, and a hidden row with the widest text of all.
TEST(ColumnContentWidth, TheWidestCellWinsWhateverItsTextsLength)
{
    QStandardItemModel model(0, 1);
    const QString texts[] = {QString(40, u'i'), QString(12, u'W'), QString(30, u'l'), u"\ufb03"_s, QString(20, u'x')};
    for (const QString &text : texts)
        model.appendRow(new QStandardItem(text));
    QTableView view;
    view.setModel(&model);
    const int wide = QFontMetrics(view.font()).horizontalAdvance(QString(12, u'W'));
    EXPECT_GE(ColumnContentWidth(view, 0), wide);
    EXPECT_EQ(ColumnContentWidth(view, 0), QtsWidth(view, 0));

    model.removeRows(0, 4);
    auto *ticked = new QStandardItem(Swatch(Qt::green, 16), QString(15, u'x'));
    ticked->setCheckable(true);
    model.appendRow(ticked);
    const QAbstractItemView &items = view;
    ASSERT_GT(items.sizeHintForIndex(model.index(1, 0)).width(), items.sizeHintForIndex(model.index(0, 0)).width());
    EXPECT_EQ(ColumnContentWidth(view, 0), items.sizeHintForIndex(model.index(1, 0)).width() + 1);

    model.appendRow(new QStandardItem(QString(60, u'W')));
    view.setRowHidden(2, true);
    EXPECT_EQ(ColumnContentWidth(view, 0), QtsWidth(view, 0));
    EXPECT_LT(ColumnContentWidth(view, 0), items.sizeHintForIndex(model.index(2, 0)).width());

    // The same text twice, the second beside a check box: alike texts are not alike cells.
    model.removeRows(0, model.rowCount());
    model.appendRow(new QStandardItem(u"Same text"_s));
    auto *tickedToo = new QStandardItem(Swatch(Qt::green, 16), u"Same text"_s);
    tickedToo->setCheckable(true);
    model.appendRow(tickedToo);
    EXPECT_EQ(ColumnContentWidth(view, 0), items.sizeHintForIndex(model.index(1, 0)).width() + 1);

    // Capitals and stops kern together to an eighth less than their letters' sum; a plain
    // text just wider than such a long one must still be the one measured.
    model.removeRows(0, model.rowCount());
    const QFontMetrics metrics(view.font());
    const QString kerned = QString(u"T.V.A.W.Y."_s).repeated(20);
    QString plain;
    while (metrics.horizontalAdvance(plain) <= metrics.horizontalAdvance(kerned))
        plain += u'o';
    model.appendRow(new QStandardItem(kerned));
    model.appendRow(new QStandardItem(plain));
    EXPECT_EQ(ColumnContentWidth(view, 0), items.sizeHintForIndex(model.index(1, 0)).width() + 1);

    // Trailing spaces (a name padded by its tags) are measured as the item's layout does.
    model.removeRows(0, model.rowCount());
    model.appendRow(new QStandardItem(u"ab"_s + QString(40, u' ')));
    model.appendRow(new QStandardItem(u"Karaoke"_s));
    EXPECT_EQ(ColumnContentWidth(view, 0), QtsWidth(view, 0));

    model.removeRows(0, model.rowCount());
    EXPECT_EQ(ColumnContentWidth(view, 0), view.horizontalHeader()->sectionSizeHint(0));
}
