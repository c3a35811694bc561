// Captions, positions and visibility from the settings file over a small widget tree.
#include "app/ui/texts.h"
#include "controls/sortlistview.h"
#include "platform/core/inireader.h"
#include "shell/framebase.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// A form with one embedded page:
// FormTest
//   LbTitle, LbEmpty, ChkAgree, PlTop (panel: "caption" property)
//   GBoxOpt (group box) -> RBtnA, BtnInner
//   GBoxEmpty (group box, empty caption)
//   LvDevices (standard list, 2 columns), LvSorted (sortable list)
//   EdtName (edit: no caption)
//   FrameDevList1 (embedded page) -> LbPage, BtnPage
//   BtnNext
//   menu MnuMain -> MiExit (action)
struct Tree
{
    Tree()
    {
        form.setObjectName(QStringLiteral("FormTest"));
        form.setWindowTitle(QStringLiteral("Old title"));
        form.resize(400, 300);
        lbTitle = Make<QLabel>("LbTitle", &form, "Title");
        lbEmpty = Make<QLabel>("LbEmpty", &form, "not empty");
        chk = Make<QCheckBox>("ChkAgree", &form, "Agree");
        panel = new QWidget(&form);
        panel->setObjectName(QStringLiteral("PlTop"));
        panel->setProperty("caption", QStringLiteral("Panel"));
        gbox = new QGroupBox(QStringLiteral("Opt"), &form);
        gbox->setObjectName(QStringLiteral("GBoxOpt"));
        radio = Make<QRadioButton>("RBtnA", gbox, "Choice A");
        inner = Make<QPushButton>("BtnInner", gbox, "Inner");
        gboxEmpty = new QGroupBox(QString(), &form);
        gboxEmpty->setObjectName(QStringLiteral("GBoxEmpty"));
        list = new QTreeWidget(&form);
        list->setObjectName(QStringLiteral("LvDevices"));
        list->setHeaderLabels({ QStringLiteral("Name"), QStringLiteral("IP") });
        sorted = new TSortListView(&form);
        sorted->setObjectName(QStringLiteral("LvSorted"));
        sorted->setHeaderLabels({ QStringLiteral("SSID") });
        edit = new QLineEdit(QStringLiteral("typed"), &form);
        edit->setObjectName(QStringLiteral("EdtName"));
        page = new QWidget(&form);
        page->setObjectName(QStringLiteral("FrameDevList1"));
        page->setProperty("qrxEmbeddedPage", true);
        page->setGeometry(0, 0, 200, 100);
        lbPage = Make<QLabel>("LbPage", page, "Page label");
        btnPage = Make<QPushButton>("BtnPage", page, "Page button");
        btnPage->setGeometry(5, 6, 70, 20);
        next = Make<QPushButton>("BtnNext", &form, "&Next >");
        next->setGeometry(300, 250, 75, 23);
        menu = new QMenu(&form);
        menu->setObjectName(QStringLiteral("MnuMain"));
        exit = menu->addAction(QStringLiteral("Exit"));
        exit->setObjectName(QStringLiteral("MiExit"));
    }

    template <class W> static W* Make(const char* name, QWidget* parent, const char* text)
    {
        auto* w = new W(QString::fromUtf8(text), parent);
        w->setObjectName(QString::fromUtf8(name));
        return w;
    }

    QWidget form;
    QLabel* lbTitle;
    QLabel* lbEmpty;
    QCheckBox* chk;
    QWidget* panel;
    QGroupBox* gbox;
    QRadioButton* radio;
    QPushButton* inner;
    QGroupBox* gboxEmpty;
    QTreeWidget* list;
    TSortListView* sorted;
    QLineEdit* edit;
    QWidget* page;
    QLabel* lbPage;
    QPushButton* btnPage;
    QPushButton* next;
    QMenu* menu;
    QAction* exit;
};

class TextsTest : public ::testing::Test
{
protected:
    CIniReader& Ini(const char* text)
    {
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        reader = std::make_unique<CIniReader>(path);
        return *reader;
    }
    QTemporaryDir dir;
    std::unique_ptr<CIniReader> reader;
};

TEST_F(TextsTest, OwnedComponentsStopAtEmbeddedPages)
{
    Tree t;
    QStringList names;
    for (QObject* o : OwnedComponents(&t.form)) {
        names << o->objectName();
    }
    EXPECT_EQ(names,
        QStringList({ u"LbTitle"_s, u"LbEmpty"_s, u"ChkAgree"_s, u"PlTop"_s, u"GBoxOpt"_s, u"RBtnA"_s,
            u"BtnInner"_s, u"GBoxEmpty"_s, u"LvDevices"_s, u"LvSorted"_s, u"EdtName"_s, u"FrameDevList1"_s,
            u"BtnNext"_s, u"MiExit"_s }));
    QStringList pageNames;
    for (QObject* o : OwnedComponents(t.page)) {
        pageNames << o->objectName();
    }
    EXPECT_EQ(pageNames, QStringList({ u"LbPage"_s, u"BtnPage"_s }));
}

TEST_F(TextsTest, ApplyTextsByKind)
{
    Tree t;
    CIniReader& r = Ini("[formtest]\n"
                        "FormTest=New title\n"
                        "LBTITLE=Welcome\n"
                        "LbEmpty=\n"
                        "ChkAgree=I agree\n"
                        "PlTop=Top panel\n"
                        "GBoxOpt=Options\n"
                        "GBoxEmpty=\n"
                        "RBtnA=Access point\n"
                        "BtnInner=Go\n"
                        "LvDevices_Col0=Device\n"
                        "LvDevices=ignored\n"
                        "LvSorted_Col0=never\n"
                        "EdtName=never\n"
                        "LbPage=never\n"
                        "FrameDevList1=never\n"
                        "MiExit=Quit\n"
                        "[TFrameDevList]\n"
                        "LbPage=Page caption\n");
    ApplyTexts(&t.form, QStringLiteral("FormTest"), &r);
    EXPECT_EQ(t.form.windowTitle(), QStringLiteral("New title"));
    EXPECT_EQ(t.lbTitle->text(), QStringLiteral("Welcome"));
    EXPECT_EQ(t.lbEmpty->text(), QString()); // present but empty: the caption goes
    EXPECT_EQ(t.chk->text(), QStringLiteral("I agree"));
    EXPECT_EQ(t.panel->property("caption").toString(), QStringLiteral("Top panel"));
    EXPECT_EQ(t.gbox->title(), QStringLiteral(" Options "));
    EXPECT_EQ(t.gboxEmpty->title(), QString());
    EXPECT_EQ(t.radio->text(), QStringLiteral("Access point"));
    EXPECT_EQ(t.inner->text(), QStringLiteral("Go"));
    EXPECT_EQ(t.list->headerItem()->text(0), QStringLiteral("Device"));
    EXPECT_EQ(t.list->headerItem()->text(1), QStringLiteral("IP")); // no key: unchanged
    EXPECT_EQ(t.sorted->headerItem()->text(0), QStringLiteral("SSID")); // sortable list: no lookup
    EXPECT_EQ(t.edit->text(), QStringLiteral("typed"));
    EXPECT_EQ(t.lbPage->text(), QStringLiteral("Page label")); // the page's controls are its own
    EXPECT_EQ(t.next->text(), QStringLiteral("&Next >")); // no key: the current caption
    EXPECT_EQ(t.exit->text(), QStringLiteral("Quit"));

    // The page looks up its own controls under its class name; it is not a form.
    t.page->setWindowTitle(QStringLiteral("page title"));
    ApplyTexts(t.page, QStringLiteral("TFrameDevList"), &r);
    EXPECT_EQ(t.lbPage->text(), QStringLiteral("Page caption"));
    EXPECT_EQ(t.btnPage->text(), QStringLiteral("Page button"));
}

TEST_F(TextsTest, ApplyTextsWithoutFileKeepsCaptions)
{
    Tree t;
    CIniReader r(dir.filePath(QStringLiteral("absent.ini")));
    ApplyTexts(&t.form, QStringLiteral("FormTest"), &r);
    EXPECT_EQ(t.form.windowTitle(), QStringLiteral("Old title"));
    EXPECT_EQ(t.lbTitle->text(), QStringLiteral("Title"));
    EXPECT_EQ(t.gbox->title(), QStringLiteral(" Opt ")); // the padding applies to the default too
}

TEST_F(TextsTest, ApplyLayoutPositionsAndVisibility)
{
    Tree t;
    CIniReader& r = Ini("[FormTest_CtrlPos]\n"
                        "BtnNext=10,20\n"
                        "LbTitle=1, x, 2, 30, 40, 99\n"
                        "ChkAgree=\"5\" 6\n"
                        "EdtName=  no numbers  \n"
                        "[FormTest_Visible]\n"
                        "BtnInner=0\n"
                        "ChkAgree=yes\n"
                        "MiExit=0\n"
                        "FrameDevList1=1\n"
                        "BtnPage=0\n"
                        "[FormTest_FrameDevList1_CtrlPos]\n"
                        "BtnPage=-5,-6\n"
                        "[FormTest_FrameDevList1_Visible]\n"
                        "LbPage=0\n"
                        "[TFrameDevList_Visible]\n"
                        "BtnPage=0\n");
    const QRect editBefore = t.edit->geometry();
    t.chk->hide(); // hidden by code; a word in the settings keeps that
    ApplyLayout(&t.form, QStringLiteral("FormTest"), &r);
    EXPECT_EQ(t.next->geometry(), QRect(10, 20, 75, 23)); // two integers: moved, not resized
    EXPECT_EQ(t.lbTitle->geometry(), QRect(1, 2, 30, 40)); // a non-integer is skipped, a fifth ignored
    EXPECT_EQ(t.chk->pos(), QPoint(5, 6)); // quoted items
    EXPECT_EQ(t.edit->geometry(), editBefore); // no integer: unchanged
    EXPECT_FALSE(OwnVisible(t.inner));
    EXPECT_FALSE(OwnVisible(t.chk));
    EXPECT_FALSE(t.exit->isVisible());
    EXPECT_TRUE(OwnVisible(t.page));
    // Inside the page: only the nested sections count.
    EXPECT_FALSE(OwnVisible(t.lbPage));
    EXPECT_TRUE(OwnVisible(t.btnPage));
    EXPECT_EQ(t.btnPage->pos(), QPoint(-5, -6));
    EXPECT_TRUE(OwnVisible(t.lbTitle));

    t.form.show();
    EXPECT_TRUE(t.next->isVisible());
    EXPECT_FALSE(t.inner->isVisible());
    EXPECT_TRUE(t.btnPage->isVisible());
}

TEST(TextsHelpers, GroupBoxPadding)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        { "Options", " Options " },
        { "", "" },
        { " Options", " Options " },
        { "Options ", " Options " },
        { " ", " " },
        { "  Two  ", "  Two  " },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PadGroupBoxCaption(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    }
}

TEST(TextsHelpers, IntegerList)
{
    const struct
    {
        const char* in;
        QList<int> out;
    } cases[] = {
        { "10,20", { 10, 20 } },
        { "10, x, 20, 30, 40", { 10, 20, 30, 40 } },
        { "10 20 30 40", { 10, 20, 30, 40 } },
        { "\"10\",\"2 0\",30", { 10, 30 } },
        { "-5,$10,0x10", { -5, 16, 16 } },
        { ",,7,,", { 7 } },
        { "", {} },
        { "a b c", {} },
        { "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18",
            { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 } },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIntegerList(QString::fromUtf8(c.in)), c.out) << c.in;
    }
}

} // namespace

namespace {

// A real wizard page class is recognised as an embedded page without any marker.
TEST(TextsWithPageBase, NestedSectionForARealPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[FormMain]\nLbInPage=not here\n"
            "[FormMain_Visible]\nLbInPage=0\n"
            "[FormMain_FrameDevList1_Visible]\nLbInPage=0\n"
            "[FormMain_FrameDevList1_CtrlPos]\nLbInPage=3,4,50,60\n");
    f.close();
    CIniReader reader(path);
    QWidget form;
    form.setObjectName(QStringLiteral("FormMain"));
    auto* page = new TFrameBase(&form);
    page->setObjectName(QStringLiteral("FrameDevList1"));
    auto* label = new QLabel(QStringLiteral("Page text"), page);
    label->setObjectName(QStringLiteral("LbInPage"));
    EXPECT_TRUE(IsEmbeddedPage(page));
    ApplyTexts(&form, QStringLiteral("FormMain"), &reader);
    EXPECT_EQ(label->text(), QStringLiteral("Page text"));
    ApplyLayout(&form, QStringLiteral("FormMain"), &reader);
    EXPECT_FALSE(OwnVisible(label));
    EXPECT_EQ(label->geometry(), QRect(3, 4, 50, 60));
}

} // namespace
