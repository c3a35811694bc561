// The IP address editor: the caret rules of its four boxes (table of key sequences), cleaning on
// change, filling on exit, SetText/GetText/GetOctet and the enabled look.
#include "page_fixture.h"

#include "controls/smallcontrols.h"
#include "pages/frameipeditrect.h"
#include "shell/picturebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace pagetest;

namespace {

// A window with the editor and one other edit to move the focus to.
class IPEditRectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(200, 80);
        editor = new TFrameIPEditRect(window.get());
        editor->move(10, 10);
        other = new QLineEdit(window.get());
        other->setGeometry(10, 40, 100, 20);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    TCenterEdit* Box(int i) const { return editor->Boxes()[i]; }
    QStringList Texts() const
    {
        QStringList t;
        for (int i = 0; i < 4; ++i) {
            t << Box(i)->text();
        }
        return t;
    }
    int FocusedBox() const
    {
        for (int i = 0; i < 4; ++i) {
            if (Box(i)->hasFocus()) {
                return i;
            }
        }
        return -1;
    }
    void Focus(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(WaitFor([w] { return w->hasFocus(); }, 5000));
    }
    // Each key goes to the widget that has the focus at that moment, as typing does.
    void Type(const QString& keys)
    {
        for (QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            if (c == QLatin1Char('<')) {
                QTest::keyClick(target, Qt::Key_Left);
            } else if (c == QLatin1Char('>')) {
                QTest::keyClick(target, Qt::Key_Right);
            } else if (c == QLatin1Char('#')) {
                QTest::keyClick(target, Qt::Key_Backspace);
            } else if (c == QLatin1Char('{')) {
                QTest::keyClick(target, Qt::Key_Left, Qt::ShiftModifier);
            } else {
                QTest::keyClick(target, c.toLatin1());
            }
        }
    }

    std::unique_ptr<QWidget> window;
    TFrameIPEditRect* editor = nullptr;
    QLineEdit* other = nullptr;
};

struct KeyCase
{
    const char* name;
    QStringList before; // the four boxes
    int box; // the box with the focus
    int caret; // caret position in it (-1: its whole text selected)
    const char* keys; // '<' left, '>' right, '#' backspace, '{' shift+left, others typed
    QStringList after;
    int focusAfter;
    int caretAfter;
};

class IPEditRectKeys : public IPEditRectTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(IPEditRectKeys, MovesTheCaretAsAnAddressFieldDoes)
{
    const KeyCase& c = GetParam();
    for (int i = 0; i < 4; ++i) {
        Box(i)->setText(c.before[i]);
    }
    Focus(Box(c.box));
    if (c.caret < 0) {
        Box(c.box)->selectAll();
    } else {
        Box(c.box)->deselect();
        Box(c.box)->setCursorPosition(c.caret);
    }
    Type(QString::fromLatin1(c.keys));
    EXPECT_EQ(Texts(), c.after);
    EXPECT_EQ(FocusedBox(), c.focusAfter);
    if (c.focusAfter >= 0 && c.caretAfter >= 0) {
        EXPECT_EQ(Box(c.focusAfter)->cursorPosition(), c.caretAfter);
        EXPECT_FALSE(Box(c.focusAfter)->hasSelectedText());
    }
}

const QStringList kEmpty { {}, {}, {}, {} };

INSTANTIATE_TEST_SUITE_P(Table, IPEditRectKeys,
    ::testing::Values(KeyCase { "TypingAnAddressFillsTheBoxes", kEmpty, 0, 0, "192.168.1.20",
                          { "192", "168", "1", "20" }, 3, 2 },
        KeyCase { "DotAtTheStartDoesNothing", kEmpty, 0, 0, ".", kEmpty, 0, 0 },
        KeyCase { "DotAfterADigitMovesOn", kEmpty, 0, 0, "1.", { "1", "", "", "" }, 1, 0 },
        KeyCase { "DotInTheLastBoxStays", { "1", "2", "3", "4" }, 3, 1, ".", { "1", "2", "3", "4" }, 3, 1 },
        KeyCase {
            "ThirdDigitLandsAndMovesOn", { "19", "5", "", "" }, 0, 2, "2", { "192", "5", "", "" }, 1, -1 },
        KeyCase { "TheNextBoxIsSelectedSoTypingReplacesIt", { "19", "5", "", "" }, 0, 2, "27",
            { "192", "7", "", "" }, 1, 1 },
        KeyCase { "FourthDigitInTheLastBoxIsLost", { "1", "2", "3", "123" }, 3, 3, "4",
            { "1", "2", "3", "123" }, 3, 3 },
        KeyCase { "DigitWithASelectionReplacesAndStays", { "19", "", "", "" }, 0, -1, "2",
            { "2", "", "", "" }, 0, 1 },
        KeyCase { "DigitInTheMiddleStays", { "12", "", "", "" }, 0, 1, "3", { "132", "", "", "" }, 0, 2 },
        KeyCase { "BackspaceInAnEmptyBoxMovesBackToTheEnd", { "12", "", "", "" }, 1, 0, "#",
            { "12", "", "", "" }, 0, 2 },
        KeyCase {
            "BackspaceDeletesInAFilledBox", { "12", "34", "", "" }, 1, 2, "##", { "12", "", "", "" }, 1, 0 },
        KeyCase { "BackspaceInTheFirstEmptyBoxStays", kEmpty, 0, 0, "#", kEmpty, 0, 0 },
        KeyCase { "LeftAtTheStartMovesToThePreviousEnd", { "12", "34", "", "" }, 1, 0, "<",
            { "12", "34", "", "" }, 0, 2 },
        KeyCase {
            "LeftInsideMovesTheCaret", { "12", "34", "", "" }, 1, 1, "<", { "12", "34", "", "" }, 1, 0 },
        KeyCase { "RightAtTheEndMovesToTheNextStart", { "12", "34", "", "" }, 0, 2, ">",
            { "12", "34", "", "" }, 1, 0 },
        KeyCase { "RightAtTheEndOfTheLastBoxStays", { "1", "2", "3", "4" }, 3, 1, ">", { "1", "2", "3", "4" },
            3, 1 },
        KeyCase {
            "LeftAtTheStartOfTheFirstBoxStays", { "1", "", "", "" }, 0, 0, "<", { "1", "", "", "" }, 0, 0 },
        KeyCase { "ShiftLeftAtTheStartDoesNotMove", { "12", "34", "", "" }, 1, 0, "{", { "12", "34", "", "" },
            1, -1 },
        KeyCase { "LettersAreRefused", { "1", "", "", "" }, 0, 1, "a-x", { "1", "", "", "" }, 0, 1 }),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(IPEditRectTest, ChangedTextIsCleaned)
{
    struct
    {
        const char* pasted;
        const char* shown;
    } cases[] = { { "300", "255" }, { "12a4", "12" }, { "x1", "" }, { "255", "255" }, { "007", "007" } };
    for (const auto& c : cases) {
        Box(1)->clear();
        Focus(Box(1));
        Box(1)->insert(QString::fromLatin1(c.pasted)); // as a paste does
        EXPECT_EQ(Box(1)->text(), QString::fromLatin1(c.shown)) << c.pasted;
        if (!Box(1)->text().isEmpty()) {
            EXPECT_EQ(Box(1)->cursorPosition(), Box(1)->text().size());
        }
    }
}

TEST_F(IPEditRectTest, LeavingFillsEmptyBoxesAndDropsLeadingZeros)
{
    editor->SetText(QStringLiteral("10..0.1"));
    EXPECT_EQ(Texts(), QStringList({ "10", "", "0", "1" }));
    EXPECT_EQ(editor->GetText(), QStringLiteral("10.0.0.1"));
    Focus(Box(1));
    QSignalSpy exited(editor, &TFrameIPEditRect::Exited);
    Focus(other);
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(Texts(), QStringList({ "10", "0", "0", "1" }));
    EXPECT_EQ(editor->GetText(), QStringLiteral("10.0.0.1"));

    editor->SetText(QStringLiteral("010.001.0.00"));
    Focus(Box(0));
    Focus(other);
    EXPECT_EQ(Texts(), QStringList({ "10", "1", "0", "0" }));
}

TEST_F(IPEditRectTest, AnAllEmptyEditorStaysEmpty)
{
    EXPECT_EQ(editor->GetText(), QString());
    Focus(Box(2));
    Focus(other);
    EXPECT_EQ(Texts(), kEmpty);
    EXPECT_EQ(editor->GetText(), QString());
}

TEST_F(IPEditRectTest, MovingBetweenBoxesIsNotLeavingTheFrame)
{
    Focus(other);
    QSignalSpy entered(editor, &TFrameIPEditRect::Entered);
    QSignalSpy exited(editor, &TFrameIPEditRect::Exited);
    Focus(Box(0));
    Type(QStringLiteral("1.2.3"));
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(exited.count(), 0);
    EXPECT_EQ(Texts(), QStringList({ "1", "2", "3", "" })); // no filling while inside
    Focus(other);
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(Texts(), QStringList({ "1", "2", "3", "0" }));
}

TEST_F(IPEditRectTest, SetTextGetTextAndGetOctet)
{
    editor->SetText(QStringLiteral("10.1"));
    EXPECT_EQ(Texts(), QStringList({ "10", "1", "", "" }));
    EXPECT_EQ(editor->GetText(), QStringLiteral("10.1.0.0"));
    editor->SetText(QStringLiteral("1.2.3.4.5"));
    EXPECT_EQ(Texts(), QStringList({ "1", "2", "3", "4" }));
    editor->SetText(QStringLiteral("192.168.300.1"));
    EXPECT_EQ(Texts(), QStringList({ "192", "168", "255", "1" }));
    editor->SetText(QString());
    EXPECT_EQ(Texts(), kEmpty);

    editor->SetText(QStringLiteral(" 7.8.9.10"));
    EXPECT_EQ(editor->GetOctet(1), QString()); // " 7" is cleaned to "" (a space is no digit)
    EXPECT_EQ(editor->GetOctet(4), QStringLiteral("10"));
    EXPECT_EQ(editor->GetOctet(0), QString());
    EXPECT_EQ(editor->GetOctet(5), QString());
}

TEST_F(IPEditRectTest, SetEnabledSwitchesTheLook)
{
    editor->SetEnabled(false);
    EXPECT_FALSE(editor->isEnabled());
    EXPECT_FALSE(editor->ImgEnableBG->isVisible());
    EXPECT_TRUE(editor->ImgDisableBG->isVisible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Box(i)->palette().color(QPalette::Disabled, QPalette::Base), QColor(192, 192, 192));
    }
    editor->SetEnabled(true);
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(editor->ImgEnableBG->isVisible());
    EXPECT_FALSE(editor->ImgDisableBG->isVisible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Box(i)->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(Box(i)->maxLength(), 3);
        EXPECT_EQ(Box(i)->geometry(), QRect(6 + 28 * i, 4, 22, 14));
    }
    EXPECT_EQ(editor->size(), QSize(116, 21));
}

} // namespace
