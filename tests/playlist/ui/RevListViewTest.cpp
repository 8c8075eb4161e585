#include "TestSupport.h"

#include "check/ui/InPlaceEdit.h"
#include "platform/MessagePump.h"
#include "platform/Settings.h"
#include "playlist/RevItemList.h"
#include "playlist/ui/RevListModel.h"
#include "playlist/ui/RevListView.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class RevListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSettings()->remove(u"CRevListView"_s);
        test::WriteBytes(m_dir.filePath(u"here.mp3"_s), "x");
    }
    void AddRow(CRevItemList &grid, const QString &file, const QString &title)
    {
        grid.AddSongRecord(file, m_dir.path() + u'/', {}, title, {}, {}, {}, {});
    }
    QTemporaryDir m_dir;
};

QAction *ActionFor(QMenu *menu, int command)
{
    for (QAction *action : menu->actions()) {
        if (action->data().toInt() == command)
            return action;
    }
    return nullptr;
}

} // namespace

TEST_F(RevListView, ShowsTheGridsRowsStripedAndGreyWhenMissing)
{
    CRevItemList grid;
    CRevListView view(grid);
    AddRow(grid, u"here.mp3"_s, u"Found"_s);
    AddRow(grid, u"gone.mp3"_s, u"Missing"_s);
    QAbstractItemModel *model = view.model();
    ASSERT_EQ(model->rowCount(), 2);
    ASSERT_EQ(model->columnCount(), 20);
    EXPECT_EQ(model->headerData(18, Qt::Horizontal).toString(), u"Filename"_s);
    EXPECT_EQ(model->index(1, 2).data().toString(), u"Missing"_s);
    EXPECT_EQ(model->index(0, 14).data().toString(), u"Off"_s);
    EXPECT_EQ(model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xF0, 0xF7, 0xF9));
    EXPECT_EQ(model->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xE5, 0xE8, 0xEF));
    EXPECT_EQ(model->index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    // The original's grey 0x808080, darkened until it reads on the stripe.
    const QColor grey = model->index(1, 2).data(Qt::ForegroundRole).value<QColor>();
    EXPECT_TRUE(grey.red() == grey.green() && grey.green() == grey.blue());
    EXPECT_GE(grey.red(), 0x60);
    EXPECT_LT(grey.red(), 0x80);
    // Column 0 has no width and stays out of sight.
    EXPECT_TRUE(view.horizontalHeader()->isSectionHidden(0));

    grid.RemoveAllRows();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(RevListView, HeaderClicksSort)
{
    CRevItemList grid;
    CRevListView view(grid);
    view.resize(800, 300);
    view.show();
    AddRow(grid, u"b.mp3"_s, u"b"_s);
    AddRow(grid, u"a.mp3"_s, u"a"_s);
    QHeaderView *header = view.horizontalHeader();
    const auto click = [header](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    click(2);
    EXPECT_EQ(view.model()->index(0, 2).data().toString(), u"a"_s);
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    click(2);
    EXPECT_EQ(view.model()->index(0, 2).data().toString(), u"b"_s);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // Pitch does not sort: the arrow stays on Title.
    click(10);
    EXPECT_EQ(header->sortIndicatorSection(), 2);
}

TEST_F(RevListView, HeaderMenuShowsAndHidesColumns)
{
    CRevItemList grid;
    CRevListView view(grid);
    std::unique_ptr<QMenu> menu(view.CreateHeaderMenu(nullptr));
    QAction *index = ActionFor(menu.get(), 1101);
    ASSERT_NE(index, nullptr);
    EXPECT_FALSE(index->isEnabled());
    EXPECT_EQ(ActionFor(menu.get(), 1100), nullptr); // column 0 has no header text
    ASSERT_NE(ActionFor(menu.get(), 1119), nullptr);
    EXPECT_TRUE(ActionFor(menu.get(), 1108)->isChecked());
    EXPECT_TRUE(ActionFor(menu.get(), CRevListView::kAutoSizeCommand)->isChecked());
    ASSERT_NE(ActionFor(menu.get(), CRevListView::kDefaultCommand), nullptr);

    ActionFor(menu.get(), 1108)->trigger();
    EXPECT_FALSE(grid.IsColumnShown(8));
    EXPECT_TRUE(view.horizontalHeader()->isSectionHidden(8));
    view.RunHeaderCommand(CRevListView::kAutoSizeCommand);
    EXPECT_FALSE(grid.AutoSize());
    view.RunHeaderCommand(CRevListView::kDefaultCommand);
    EXPECT_TRUE(grid.IsColumnShown(8));
    EXPECT_FALSE(view.horizontalHeader()->isSectionHidden(8));
    EXPECT_EQ(view.horizontalHeader()->sectionSize(8), 50);
    EXPECT_TRUE(grid.AutoSize());
}

TEST_F(RevListView, HiddenMemoSurvivesARestart)
{
    {
        CRevItemList grid;
        CRevListView view(grid);
        view.RunHeaderCommand(1108);
    }
    const QString saved = OpenSettings()->value(u"CRevListView/ColumnHeaderCtrl-1"_s).toString();
    EXPECT_TRUE(saved.startsWith(u"(20,1) : "_s));
    EXPECT_TRUE(saved.contains(u" 0,8,50 "_s)) << saved.toStdString();

    CRevItemList grid;
    CRevListView view(grid);
    EXPECT_FALSE(grid.IsColumnShown(8));
    EXPECT_TRUE(view.horizontalHeader()->isSectionHidden(8));
}

TEST_F(RevListView, FitColumnsSizesTitlesToTheirText)
{
    CRevItemList grid;
    CRevListView view(grid);
    AddRow(grid, u"here.mp3"_s, u"A title far longer than forty pixels of text"_s);
    view.FitColumns();
    EXPECT_GT(grid.ColumnWidth(2), 100);
    EXPECT_EQ(view.horizontalHeader()->sectionSize(2), grid.ColumnWidth(2));
    // Every header can be read whole, "Volume" and "Silence" too (defaults 40 pixels).
    QHeaderView *header = view.horizontalHeader();
    for (int column = 1; column < 20; ++column)
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
    EXPECT_GT(header->sectionSize(9), 40);
}

TEST_F(RevListView, CutRemovesTheSelectedRows)
{
    CRevItemList grid;
    CRevListView view(grid);
    for (const QString &title : {u"one"_s, u"two"_s, u"three"_s})
        AddRow(grid, u"here.mp3"_s, title);
    view.selectRow(1);
    view.CutSelectedRows();
    ASSERT_EQ(grid.GetItemCount(), 2);
    EXPECT_EQ(view.model()->rowCount(), 2);
    EXPECT_EQ(grid.GetCellText(1, 2), u"three"_s);
}

TEST_F(RevListView, LongLoadsShowTheirRowsInBlocksAndRefuseASecondLoad)
{
    // A revision-2 MPL file of 3,000 records in 8-bit archive strings.
    const auto string = [](const QByteArray &text) { return char(text.size()) + text; };
    QByteArray bytes = string("klovmplrev2");
    const qint32 count = 3000;
    bytes.append(reinterpret_cast<const char *>(&count), 4); // little-endian on the test hosts
    for (int i = 0; i < count; ++i)
        bytes += string(QByteArray::number(i) + ".mp3") + string("/x/") + string(QByteArray::number(i)) + string("T")
            + string("A");
    const QString path = m_dir.filePath(u"big.mpl"_s);
    test::WriteBytes(path, bytes);

    CRevItemList grid;
    CRevListView view(grid);
    QList<int> seen;
    bool nestedLoaded = true;
    SetMessagePumpHook([&] {
        seen.append(view.model()->rowCount());
        nestedLoaded = grid.ListSelectDirectory(path, true);
    });
    EXPECT_TRUE(grid.ListSelectDirectory(path, false));
    SetMessagePumpHook({});
    EXPECT_EQ(view.model()->rowCount(), 3000);
    EXPECT_EQ(grid.GetItemCount(), 3000);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first() % 1024, 0); // whole blocks only
    EXPECT_FALSE(nestedLoaded);
}

// A double click on a text cell of a selected row opens the in-place editor with the
// cell's text; Enter puts the edited text into the row, Escape leaves it. Other columns
// (numbers, settings, the file) are not edited.
TEST_F(RevListView, DoubleClickEditsATextCellInPlace)
{
    CRevItemList grid;
    CRevListView view(grid);
    view.resize(900, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    AddRow(grid, u"here.mp3"_s, u"Old Title"_s);
    AddRow(grid, u"gone.mp3"_s, u"Second"_s);
    const QModelIndex title = view.model()->index(1, 2);
    const QPoint centre = view.visualRect(title).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
    auto *editor = view.viewport()->findChild<CInPlaceEdit *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), u"Second"_s);
    EXPECT_EQ(editor->geometry(), view.visualRect(title));
    QTest::keyClicks(editor, u"New;Title"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid.RowAt(1).szTitle.Text(), u"NewTitle"_s);
    EXPECT_EQ(title.data().toString(), u"NewTitle"_s);

    CInPlaceEdit *memo = view.EditCell(view.model()->index(1, 8));
    ASSERT_NE(memo, nullptr);
    QTest::keyClicks(memo, u"Birthday"_s);
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_EQ(grid.RowAt(1).szMemo.Text(), QString());

    EXPECT_EQ(view.EditCell(view.model()->index(1, 5)), nullptr);  // Track
    EXPECT_EQ(view.EditCell(view.model()->index(1, 18)), nullptr); // Filename
    EXPECT_EQ(view.EditCell(view.model()->index(0, 2)), nullptr);  // a row not selected
}
