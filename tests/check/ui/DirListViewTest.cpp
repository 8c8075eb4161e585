#include "check/DirItemList.h"
#include "check/ItemRows.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using test::FolderRow;
using test::Row;
using namespace Qt::Literals::StringLiterals;

namespace {


class DirListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list.m_items.Add(Row(u"song.cdg;song.mp3"_s));
        list.m_items.Add(Row(u"bad.mp3"_s, ITEM_COLOURED | ITEM_MARK_PROBLEM));
        list.m_items.Add(Row(u"bad.cdg"_s, ITEM_COLOURED | ITEM_MARK_COMPANION));
        list.m_items.Add(FolderRow(u".."_s, u"/Songs/Pop/.."_s));
        list.m_items.Add(Row(u"grey.mp3"_s, ITEM_WALK));
        view = std::make_unique<CDirListView>(list, nullptr);
        view->Model().ShowPendingChanges();
        view->resize(800, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QVariant Data(int row, int column, int role) const { return view->model()->data(view->model()->index(row, column), role); }
    QPoint CentreOf(int row, int column) const { return view->visualRect(view->model()->index(row, column)).center(); }

    CDirItemList list;
    std::unique_ptr<CDirListView> view;
};

} // namespace

TEST_F(DirListView, ColumnsWidthsAndTexts)
{
    const int widths[] = {120, 60, 200, 120, 120, 60, 120};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(view->columnWidth(column), widths[column]) << column;
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Filename"_s);
    EXPECT_EQ(view->model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), u"Result"_s);
    EXPECT_EQ(Data(0, 0, Qt::DisplayRole).toString(), u"song.cdg"_s);
    EXPECT_EQ(Data(0, 0, Qt::ToolTipRole).toString(), u"song.cdg;song.mp3"_s);
    list.RenameColumnHeaders(u"General"_s, u"Video"_s, u"Audio"_s);
    EXPECT_EQ(view->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), u"Video"_s);
}

TEST_F(DirListView, ColoursAndCheckBoxesFollowTheMarks)
{
    // Black, red, azure and grey, each only as much darker than the original's as it takes to be
    // read on the list's white.
    EXPECT_EQ(Data(0, 2, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    const QColor red = Data(1, 2, Qt::ForegroundRole).value<QColor>();
    EXPECT_GE(red.red(), 0xE0);
    EXPECT_EQ(red.green() + red.blue(), 0);
    const QColor azure = Data(2, 2, Qt::ForegroundRole).value<QColor>();
    EXPECT_EQ(azure.red(), 0);
    EXPECT_NEAR(azure.green() * 2, azure.blue(), 2);
    EXPECT_GE(azure.blue(), 0xD0);
    const QColor grey = Data(4, 2, Qt::ForegroundRole).value<QColor>();
    EXPECT_TRUE(grey.red() == grey.green() && grey.green() == grey.blue());
    EXPECT_GE(grey.red(), 0x70);
    EXPECT_LT(grey.red(), 0x80);
    EXPECT_FALSE(Data(0, 0, Qt::CheckStateRole).isValid());
    EXPECT_EQ(Data(1, 0, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(view->model()->flags(view->model()->index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(view->model()->setData(view->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(list.Item(0).IsChecked());
    EXPECT_TRUE(view->model()->setData(view->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.Item(1).IsChecked());
}

TEST_F(DirListView, HeaderOfColumnZeroTicksAndUnticksEveryMarkedRow)
{
    QHeaderView *header = view->horizontalHeader();
    const QPoint first(header->sectionViewportPosition(0) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
    EXPECT_TRUE(view->Model().AllChecked());
    EXPECT_TRUE(list.Item(1).IsChecked());
    EXPECT_TRUE(list.Item(2).IsChecked());
    EXPECT_FALSE(list.Item(0).IsChecked());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
    EXPECT_FALSE(list.Item(1).IsChecked());
    EXPECT_FALSE(list.Item(2).IsChecked());
    // Other headers do nothing.
    const QPoint third(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, third);
    EXPECT_FALSE(list.Item(1).IsChecked());
}

TEST_F(DirListView, DoubleClickOpensOnlyFolders)
{
    QSignalSpy opened(view.get(), &CDirListView::OpenFolderRequested);
    // A view reports a double-click only on the row the button went down on.
    const auto doubleClick = [this](int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CentreOf(row, 2));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, CentreOf(row, 2));
    };
    doubleClick(0);
    EXPECT_EQ(opened.count(), 0);
    doubleClick(3);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), u"/Songs"_s);
}

TEST_F(DirListView, CopyOffersTheRowsRealFiles)
{
    view->selectRow(0);
    view->CopySelectedRows();
    const QMimeData *data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasUrls());
    EXPECT_EQ(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(u"/k/Pop/song.cdg"_s), QUrl::fromLocalFile(u"/k/Pop/song.mp3"_s)}));
}

TEST_F(DirListView, ClearingAndAppendingKeepTheModelInStep)
{
    list.ClearList();
    EXPECT_EQ(view->model()->rowCount(), 0);
    list.m_items.Add(Row(u"again.mp3"_s));
    list.ShowAllRows(); // announces the count
    view->Model().ShowPendingChanges();
    EXPECT_EQ(view->model()->rowCount(), 1);
    // A row asked for past the items (between a clear and the next paint) is empty.
    EXPECT_FALSE(Data(5, 0, Qt::DisplayRole).isValid());
}

TEST_F(DirListView, RowsAndRedrawsOfACheckAreAnnouncedInOneBlock)
{
    QSignalSpy inserted(view->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(view->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(view->model(), &QAbstractItemModel::modelReset);
    // As a walk shows its rows: row j is redrawn and the count set to j.
    for (int i = 0; i < 500; ++i) {
        list.m_items.Add(Row(u"song%1.mp3"_s.arg(i)));
        list.ShowRow(list.GetItemCount() - 1);
    }
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 5);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 503);
    EXPECT_EQ(view->model()->rowCount(), 504);
    ASSERT_EQ(changed.count(), 1);

    // As the per-file pass redraws each row it read.
    for (int row = 20; row < 300; ++row)
        list.RedrawRow(row);
    list.RedrawRow(7);
    list.RedrawRow(100000); // past the rows: nothing to redraw there
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toModelIndex().row(), 7);
    EXPECT_EQ(changed.at(1).at(0).toModelIndex().column(), 0);
    EXPECT_EQ(changed.at(1).at(1).toModelIndex().row(), 503);
    EXPECT_EQ(changed.at(1).at(1).toModelIndex().column(), view->model()->columnCount() - 1); // every column, the Verdict one included
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(Data(503, 0, Qt::DisplayRole).toString(), u"song498.mp3"_s);
}

TEST_F(DirListView, RowsRemovedByACheckLeaveInOneBlock)
{
    QSignalSpy removed(view->model(), &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 3; ++i)
        list.m_items.RemoveAt(1); // as FileMerge does, before it shows the rows left
    list.ShowAllRows();
    QCoreApplication::processEvents();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(view->model()->rowCount(), 2);
}

// When a check ends the columns take the width of their texts; a General text too long for
// the list is elided in the middle and read whole in its tooltip, and Result stays in view.
TEST_F(DirListView, ColumnsFitTheirTextsWhenACheckEndsAndResultStaysInView)
{
    const QString general = u"MPEG Audio, 4.75 MiB, 3 min 27 s, 192 kb/s, Layer 3, Joint stereo, "
                            u"44.1 kHz, Lame 3.100, Encoded by Somebody"_s;
    _ITEMINFO &bad = list.m_items[1];
    bad.szTitle = general;
    bad.szResult = u"Unknown media: nothing could be read"_s;
    list.m_items[0].szFileName = u"Nina Castell - Cafe Soleil (Extended Version).cdg;x.mp3"_s;
    list.RenameColumnHeaders(u"General"_s, u"Video"_s, u"Audio"_s);
    view->Model().OnBusyChanged(false);

    const QFontMetrics metrics(view->font());
    EXPECT_GE(view->columnWidth(6), metrics.horizontalAdvance(u"Unknown media: nothing could be read"_s));
    EXPECT_GE(view->columnWidth(5), metrics.horizontalAdvance(u"Duration"_s));
    int total = 0;
    for (int column = 0; column < 7; ++column)
        total += view->columnWidth(column);
    EXPECT_LE(total, view->viewport()->width());
    EXPECT_LT(view->columnWidth(2), metrics.horizontalAdvance(general));
    EXPECT_EQ(view->textElideMode(), Qt::ElideMiddle);
    EXPECT_EQ(Data(1, 2, Qt::ToolTipRole).toString(), general);
    EXPECT_EQ(Data(1, 6, Qt::ToolTipRole).toString(), u"Unknown media: nothing could be read"_s);
    EXPECT_FALSE(Data(0, 5, Qt::ToolTipRole).isValid());

    // A wider list gives the General text its whole width again.
    view->resize(2400, 300);
    view->FitColumns();
    EXPECT_GE(view->columnWidth(2), metrics.horizontalAdvance(general));
    EXPECT_GE(view->columnWidth(0), metrics.horizontalAdvance(u"Nina Castell - Cafe Soleil (Extended Version).cdg"_s));

    // An empty list: the original's widths, and no header cut ("Duratio").
    list.ClearList();
    view->FitColumns();
    EXPECT_EQ(view->columnWidth(2), 200);
    for (int column = 0; column < 7; ++column)
        EXPECT_GE(view->columnWidth(column), view->horizontalHeader()->sectionSizeHint(column)) << column;
}
