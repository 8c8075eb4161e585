// Every look of the window, read as a user reads it: text colours against what they are
// drawn on, and disabled controls told apart from enabled ones.
#include "app/ui/WindowFixture.h"

#include "app/ApplicationLook.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "base/ItemInfo.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"
#include "playlist/ui/RevListView.h"
#include "widgets/TextContrast.h"
#include "widgets/ui/ColorListBox.h"
#include "widgets/ui/TraceView.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

SRgb Rgb(const QColor &colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

double Contrast(const QColor &text, const QColor &background)
{
    return ContrastRatio(Rgb(text), Rgb(background));
}

#define EXPECT_READABLE(text, background, what)                                                         \
    EXPECT_GE(Contrast(text, background), kReadableContrast)                                             \
        << "look " << look << ", " << what << ": " << QColor(text).name().toStdString() << " on "         \
        << QColor(background).name().toStdString()

class LookStyles : public test::CWindowFixture
{
protected:
    void TearDown() override
    {
        CMainFrame reset;
        reset.ApplyLook(kDefaultLook);
        test::CWindowFixture::TearDown();
    }

    // Rows of every mark class, coloured and not, in the result list.
    static void FillResultList(CQuillonView &view)
    {
        const quint32 flags[] = {ITEM_WALK, ITEM_WALK | ITEM_COLOURED, ITEM_COLOURED | ITEM_MARK_PROBLEM,
                                 ITEM_COLOURED | ITEM_MARK_COMPANION, ITEM_COLOURED | (1u << ITEM_MARK_SHIFT)};
        for (const quint32 flag : flags) {
            _ITEMINFO item;
            item.dwFlags = flag;
            item.szFileName = u"song.mp3"_s;
            view.DirItems().m_items.Add(item);
        }
        view.DirItems().ShowAllRows();
        view.ResultList().Model().ShowPendingChanges();
    }
};

} // namespace

TEST_F(LookStyles, EveryLookIsReadableInTheListsTheTracePaneAndTheButtons)
{
    QTemporaryDir songs;
    ASSERT_TRUE(songs.isValid());
    test::WriteBytes(QDir(songs.path()).filePath(u"here.mp3"_s), "x");
    for (int look = kLookWindows2000; look <= kLookAqua; ++look) {
        CMainFrame frame;
        frame.ApplyLook(look);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        CQuillonView &view = frame.View();

        FillResultList(view);
        CDirListView &list = view.ResultList();
        const QColor listBase = list.viewport()->palette().color(QPalette::Base);
        for (int row = 0; row < list.model()->rowCount(); ++row)
            EXPECT_READABLE(list.model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>(), listBase,
                            "result row " << row);
        EXPECT_READABLE(list.palette().color(QPalette::HighlightedText), list.palette().color(QPalette::Highlight),
                        "selected row");
        const QPalette header = list.horizontalHeader()->palette();
        EXPECT_READABLE(header.color(QPalette::ButtonText), header.color(QPalette::Button), "list header");

        view.Grid().AddSongRecord(u"here.mp3"_s, songs.path() + u'/', {}, u"Found"_s, {}, {}, {}, {});
        view.Grid().AddSongRecord(u"gone.mp3"_s, songs.path() + u'/', {}, u"Missing"_s, {}, {}, {}, {});
        view.Grid().AddSongRecord(u"gone2.mp3"_s, songs.path() + u'/', {}, u"Missing"_s, {}, {}, {}, {});
        QAbstractItemModel &grid = *view.PlaylistGrid().model();
        for (int row = 0; row < grid.rowCount(); ++row)
            EXPECT_READABLE(grid.index(row, 2).data(Qt::ForegroundRole).value<QColor>(),
                            grid.index(row, 2).data(Qt::BackgroundRole).value<QColor>(), "grid row " << row);

        auto *pane = frame.Trace().findChild<CColorListBox *>();
        ASSERT_NE(pane, nullptr);
        for (int kind = 0; kind <= 3; ++kind)
            EXPECT_READABLE(pane->ShownColour(CTraceView::ColourOfKind(kind)), pane->palette().color(QPalette::Base),
                            "trace line of kind " << kind);

        for (const int id : {IDC_FOLDER, IDC_PLAYLIST, IDC_CLEAR, IDC_SAVE, IDC_ERRORVIEW, IDC_MOVE}) {
            const QPalette colours = view.Button(id).palette();
            EXPECT_READABLE(colours.color(QPalette::Active, QPalette::ButtonText),
                            colours.color(QPalette::Active, QPalette::Button), "button " << id);
        }
        EXPECT_READABLE(view.SubFolderBox().palette().color(QPalette::WindowText),
                        view.palette().color(QPalette::Window), "SubFolder on the bar");
        EXPECT_READABLE(view.PathField().palette().color(QPalette::Text),
                        view.PathField().palette().color(QPalette::Base), "path field");
        for (QPushButton *stop : frame.statusBar()->findChildren<QPushButton *>())
            EXPECT_READABLE(stop->palette().color(QPalette::ButtonText), stop->palette().color(QPalette::Button),
                            "Stop");
        EXPECT_READABLE(frame.statusBar()->palette().color(QPalette::WindowText),
                        frame.statusBar()->palette().color(QPalette::Window), "status bar");
        view.Grid().RemoveAllRows();
    }
}

// Clear and Move are off at start, Folder and Playlist during a check: in every look their
// captions are clearly fainter than those of the buttons that can be pressed.
TEST_F(LookStyles, DisabledControlsLookDisabledInEveryLook)
{
    for (int look = kLookWindows2000; look <= kLookAqua; ++look) {
        CMainFrame frame;
        frame.ApplyLook(look);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.View().ShowResultList();
        QPushButton &clear = frame.View().Button(IDC_CLEAR);
        ASSERT_FALSE(clear.isEnabled());
        const QPalette colours = clear.palette();
        const QColor button = colours.color(QPalette::Disabled, QPalette::Button);
        const double enabled = Contrast(colours.color(QPalette::Active, QPalette::ButtonText), button);
        const double disabled = Contrast(colours.color(QPalette::Disabled, QPalette::ButtonText), button);
        EXPECT_GT(enabled, 1.8 * disabled) << "look " << look;
        EXPECT_GT(disabled, 1.3) << "look " << look;

        const QPalette bar = frame.View().SubFolderBox().palette();
        const QColor window = frame.View().palette().color(QPalette::Window);
        EXPECT_GT(Contrast(bar.color(QPalette::Active, QPalette::WindowText), window),
                  1.8 * Contrast(bar.color(QPalette::Disabled, QPalette::WindowText), window))
            << "look " << look;
    }
}
