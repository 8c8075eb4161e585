// The window's rules that need no display: layout numbers, button enabling, start-up
// options and the stored look.
#include "TestSupport.h"

#include "app/ApplicationLook.h"
#include "app/ButtonRules.h"
#include "app/StartupOptions.h"
#include "app/ViewLayout.h"
#include "platform/Settings.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

TEST(ViewLayout, SplitterRowsAreThreeQuartersAndOneQuarter)
{
    EXPECT_EQ(IdealSplitterRows(600).nTop, 450);
    EXPECT_EQ(IdealSplitterRows(600).nBottom, 150);
    EXPECT_EQ(IdealSplitterRows(150).nTop, 112);
    EXPECT_EQ(IdealSplitterRows(150).nBottom, 37);
}

TEST(ViewLayout, CommandBarAtWidth1000)
{
    const SCommandBarLayout layout = LayOutCommandBar(1000, 700);
    EXPECT_EQ(layout.folder, QRect(2, 0, 84, 28));
    EXPECT_EQ(layout.subFolder, QRect(86, 0, 84, 28));
    EXPECT_EQ(layout.pathField, QRect(185, 1, 370, 26));
    EXPECT_EQ(layout.move.x(), 914);
    EXPECT_EQ(layout.errorView.x(), 830);
    EXPECT_EQ(layout.save.x(), 746);
    EXPECT_EQ(layout.clear.x(), 662);
    EXPECT_EQ(layout.playlist.x(), 578);
    EXPECT_EQ(layout.lists, QRect(0, 28, 1000, 672));
}

// Captions wider than the original's 84 pixels take their room from the path field, and the
// minimum width is the one at which the path field keeps its own minimum.
TEST(ViewLayout, WiderCaptionsTakeTheirRoomFromThePathField)
{
    SCommandBarWidths widths;
    widths.nSubFolder = 100;
    widths.nErrorView = 96;
    const SCommandBarLayout layout = LayOutCommandBar(1000, 700, widths);
    EXPECT_EQ(layout.subFolder, QRect(86, 0, 100, 28));
    EXPECT_EQ(layout.move.x(), 914);
    EXPECT_EQ(layout.errorView, QRect(818, 0, 96, 28));
    EXPECT_EQ(layout.playlist.x(), 566);
    EXPECT_EQ(layout.pathField, QRect(201, 1, 342, 26));

    EXPECT_EQ(CommandBarMinimumWidth(), 2 + 84 + 84 + 17 + kMinimumPathFieldWidth + 23 + 5 * 84);
    const int narrowest = CommandBarMinimumWidth(widths);
    const SCommandBarLayout tight = LayOutCommandBar(narrowest, 300, widths);
    EXPECT_EQ(tight.pathField.width(), kMinimumPathFieldWidth);
    EXPECT_GT(tight.pathField.left(), tight.subFolder.right());
    EXPECT_LT(tight.pathField.right(), tight.playlist.left());
    EXPECT_GE(tight.folder.left(), 0);
}

TEST(ButtonRules, ClearAndMoveFollowTheShownList)
{
    EXPECT_FALSE(UpdateButtonStates(false, 0, 5).bClear);
    EXPECT_FALSE(UpdateButtonStates(false, 0, 5).bMove);
    EXPECT_TRUE(UpdateButtonStates(false, 3, 0).bClear);
    EXPECT_TRUE(UpdateButtonStates(false, 3, 0).bMove);
    // A playlist never enables Move, whatever it holds.
    EXPECT_TRUE(UpdateButtonStates(true, 3, 7).bClear);
    EXPECT_FALSE(UpdateButtonStates(true, 3, 7).bMove);
    EXPECT_FALSE(UpdateButtonStates(true, 3, 0).bClear);
}

TEST(StartupOptions, SwitchInAnyCaseTurnsOffTheUpdateCheck)
{
    EXPECT_EQ(ReadStartupOptions({}).nUpdateType, 1);
    EXPECT_EQ(ReadStartupOptions({}).strUpdateChannel, u"update"_s);
    EXPECT_EQ(ReadStartupOptions({u"-idodoDEVodiviz"_s}).nUpdateType, 0);
    const SStartupOptions options = ReadStartupOptions({u"/songs"_s, u"-IDODODEVODIVIZ"_s});
    EXPECT_EQ(options.nUpdateType, 0);
    EXPECT_EQ(options.strFolder, u"/songs"_s);
    EXPECT_EQ(ReadStartupOptions({u"-iDodOdevOdivi"_s}).nUpdateType, 1);
}

TEST(ApplicationLook, DefaultIsWrittenBackAndChoicesPersist)
{
    test::CScratchSettings settings;
    EXPECT_FALSE(OpenSettings()->contains(u"Workspace/ApplicationLook"_s));
    EXPECT_EQ(LoadApplicationLook(), kDefaultLook);
    EXPECT_EQ(OpenSettings()->value(u"Workspace/ApplicationLook"_s).toInt(), 214);
    StoreApplicationLook(kLookBlack);
    EXPECT_EQ(LoadApplicationLook(), 216);
    EXPECT_EQ(LookLabel(214), u"Visual Studio.NET 200&5"_s);
    EXPECT_EQ(LookLabel(218), u"&Aqua Style"_s);
    EXPECT_TRUE(LookLabel(219).isEmpty());
}
