// The small shared helpers.
#include "app/ui/widgetutils.h"
#include "app/utils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

TEST(Utils, MacToText)
{
    const unsigned char a[6] = { 0, 26, 43, 60, 77, 94 };
    const unsigned char b[6] = { 255, 255, 255, 255, 255, 255 };
    const unsigned char c[6] = { 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(MacToText(a), QStringLiteral("00:1A:2B:3C:4D:5E"));
    EXPECT_EQ(MacToText(b), QStringLiteral("FF:FF:FF:FF:FF:FF"));
    EXPECT_EQ(MacToText(c), QStringLiteral("00:00:00:00:00:00"));
}

TEST(Utils, IsHexText)
{
    const struct
    {
        QString text;
        bool hex;
    } cases[] = {
        { QString(), true },
        { QStringLiteral("0123abcDEF"), true },
        { QStringLiteral("0123456789ABCDEFabcdef"), true },
        { QStringLiteral("12G4"), false },
        { QStringLiteral("12 4"), false },
        { QStringLiteral("0x12"), false },
        { QStringLiteral("\uFF10"), false }, // a full-width digit is not a hex digit
        { QStringLiteral("-1"), false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHexText(c.text), c.hex) << c.text.toStdString();
    }
}

TEST(Utils, CopyTextToFieldNeverSplitsOrOverruns)
{
    char field[8];
    EXPECT_EQ(CopyTextToField(QStringLiteral("abc"), field, 8), 3);
    EXPECT_STREQ(field, "abc");
    EXPECT_EQ(field[7], 0);
    // Seven bytes fit; the third two-byte character would split at byte 7.
    EXPECT_EQ(CopyTextToField(QStringLiteral("\u00E9\u00E9\u00E9\u00E9"), field, 8), 6);
    EXPECT_EQ(QByteArray(field), QStringLiteral("\u00E9\u00E9\u00E9").toUtf8());
    EXPECT_EQ(CopyTextToField(QStringLiteral("abcdef"), field, 8, 2), 2);
    EXPECT_STREQ(field, "ab");
    EXPECT_EQ(FieldToText(field, 8), QStringLiteral("ab"));
    std::memcpy(field, "ABCDEFGH", 8); // no NUL: the whole field
    EXPECT_EQ(FieldToText(field, 8), QStringLiteral("ABCDEFGH"));
}

TEST(WidgetUtils, SelectComboByValue)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("no data"));
    combo.addItem(QStringLiteral("two"), 2);
    combo.addItem(QStringLiteral("five"), 5);
    combo.addItem(QStringLiteral("five again"), 5);
    combo.setCurrentIndex(1);
    EXPECT_TRUE(SelectComboByValue(&combo, 5));
    EXPECT_EQ(combo.currentIndex(), 2); // the first of two items with the code
    EXPECT_FALSE(SelectComboByValue(&combo, 9));
    EXPECT_EQ(combo.currentIndex(), 2); // unchanged
    EXPECT_FALSE(SelectComboByValue(&combo, 0)); // an item without data carries no code
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_FALSE(SelectComboByValue(nullptr, 1));
}

TEST(WidgetUtils, WaitWithMessagesZeroReturnsAtOnceWithoutDispatching)
{
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    EXPECT_TRUE(WaitWithMessages(0));
    EXPECT_FALSE(ran);
    // A real wait dispatches the pending event.
    EXPECT_TRUE(WaitWithMessages(20));
    EXPECT_TRUE(ran);
}

TEST(WidgetUtils, FocusControl)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* shownEdit = new QLineEdit(&form);
    auto* other = new QLineEdit(&form);
    auto* page = new QWidget(&form);
    auto* pageEdit = new QLineEdit(page);
    layout->addWidget(shownEdit);
    layout->addWidget(other);
    layout->addWidget(page);

    // A window that is not shown: nothing.
    FocusControl(shownEdit);
    EXPECT_NE(form.focusWidget(), shownEdit);

    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    other->setFocus();
    page->hide();
    ASSERT_EQ(form.focusWidget(), other);
    FocusControl(pageEdit); // a hidden page: nothing
    EXPECT_EQ(form.focusWidget(), other);
    shownEdit->setEnabled(false);
    FocusControl(shownEdit); // disabled: nothing
    EXPECT_EQ(form.focusWidget(), other);
    shownEdit->setEnabled(true);
    FocusControl(shownEdit);
    EXPECT_EQ(form.focusWidget(), shownEdit);
    FocusControl(nullptr);
}

TEST(WidgetUtils, ListHeaderHeight)
{
    QTreeWidget list;
    list.setHeaderLabels({ QStringLiteral("A"), QStringLiteral("B") });
    const int before = ListHeaderHeight(&list);
    EXPECT_GT(before, 0);
    list.resize(300, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(ListHeaderHeight(&list), list.header()->geometry().height());
    EXPECT_GT(ListHeaderHeight(&list), 0);
    list.setHeaderHidden(true);
    EXPECT_EQ(ListHeaderHeight(&list), 0);
    EXPECT_EQ(ListHeaderHeight(nullptr), 0);
}

} // namespace
