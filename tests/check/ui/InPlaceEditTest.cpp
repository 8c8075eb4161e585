// The in-place cell editor driven by QTest key clicks over a table.
#include "check/ui/InPlaceEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CInPlaceEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&m_window);
        m_table = new QTableWidget(3, 3, &m_window);
        m_other = new QLineEdit(&m_window);
        layout->addWidget(m_table);
        layout->addWidget(m_other);
        m_window.resize(400, 300);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    // An editor over cell (1, 2), placed and shown the way the grid does it.
    CInPlaceEdit *OpenEditor(const QString &text, int x = 10, int width = 40)
    {
        auto *edit = new CInPlaceEdit(m_table, 1, 2, text);
        edit->setGeometry(x, 10, width, 20);
        edit->show();
        QApplication::processEvents();
        return edit;
    }

    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QWidget m_window;
    QTableWidget *m_table = nullptr;
    QLineEdit *m_other = nullptr;
};

} // namespace

TEST_F(CInPlaceEditTest, StartsOnTheListWithTheWholeTextSelected)
{
    CInPlaceEdit *edit = OpenEditor(u"Title"_s);
    EXPECT_EQ(edit->parentWidget(), m_table->viewport());
    EXPECT_EQ(edit->font(), m_table->font());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), u"Title"_s);
    QTest::keyClicks(edit, u"New"_s); // typing replaces the selection
    EXPECT_EQ(edit->text(), u"New"_s);
}

TEST_F(CInPlaceEditTest, SemicolonAndBarAreRefusedWithATooltip)
{
    CInPlaceEdit *edit = OpenEditor({});
    QTest::keyClicks(edit, u"A;B|C"_s);
    EXPECT_EQ(edit->text(), u"ABC"_s);
    EXPECT_EQ(edit->toolTip(), u"Characters '|' and ';' are not allowed"_s);

    // Only typed characters are checked; pasted text keeps them.
    QApplication::clipboard()->setText(u"x;y"_s);
    edit->paste();
    EXPECT_EQ(edit->text(), u"ABCx;y"_s);
}

TEST_F(CInPlaceEditTest, EscapeCancelsAndEndsOnce)
{
    CInPlaceEdit *edit = OpenEditor(u"Title"_s);
    QPointer<CInPlaceEdit> alive(edit);
    QSignalSpy ended(edit, &CInPlaceEdit::EditEnded);
    QTest::keyClicks(edit, u"Changed"_s);
    QTest::keyClick(edit, Qt::Key_Escape);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][0].toInt(), 1);
    EXPECT_EQ(ended[0][1].toInt(), 2);
    EXPECT_EQ(ended[0][2].toString(), QString());
    EXPECT_TRUE(ended[0][3].toBool());
    FlushDeletes();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(ended.count(), 1); // losing the focus on the way out ends nothing twice
}

TEST_F(CInPlaceEditTest, EnterEndsWithTheTextAndGivesTheFocusBack)
{
    CInPlaceEdit *edit = OpenEditor(u"Title"_s);
    QSignalSpy ended(edit, &CInPlaceEdit::EditEnded);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, u" 2"_s);
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][2].toString(), u"Title 2"_s);
    EXPECT_FALSE(ended[0][3].toBool());
    EXPECT_TRUE(m_table->hasFocus());
    FlushDeletes();
}

TEST_F(CInPlaceEditTest, LosingTheFocusEndsWithTheTextCutToTheField)
{
    CInPlaceEdit *edit = OpenEditor({});
    QSignalSpy ended(edit, &CInPlaceEdit::EditEnded);
    edit->setText(QString(300, u'n'));
    m_other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][2].toString(), QString(CInPlaceEdit::kMaxTextLength, u'n'));
    EXPECT_FALSE(ended[0][3].toBool());
    EXPECT_TRUE(m_other->hasFocus()); // the focus stays where the user put it
    FlushDeletes();
}

TEST_F(CInPlaceEditTest, WidensToTheTextButNotPastTheList)
{
    CInPlaceEdit *edit = OpenEditor({}, 10, 30);
    QTest::keyClicks(edit, u"a somewhat longer title"_s);
    const int wanted = QFontMetrics(m_table->font()).horizontalAdvance(edit->text()) + 5;
    EXPECT_EQ(edit->width(), wanted);
    QTest::keyClick(edit, Qt::Key_Return);

    CInPlaceEdit *nearEdge = OpenEditor({}, m_table->viewport()->width() - 40, 30);
    QTest::keyClicks(nearEdge, QString(60, u'w'));
    EXPECT_EQ(nearEdge->geometry().right() + 1, m_table->viewport()->width());
}
