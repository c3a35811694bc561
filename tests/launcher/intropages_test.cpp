// The welcome, licence and tutorial pages: passing by themselves, the licence file in its forms,
// the accept box, and the tutorial pages walked back to the launcher.
#include "controls/imagebuttons.h"
#include "launcher/formautorun.h"
#include "launcher/framelicense.h"
#include "launcher/frametutorial.h"
#include "launcher/frametutorial2.h"
#include "launcher/framewelcome.h"
#include "launcher_fixture.h"
#include "pages/framedevlist.h"
#include "platform/core/shell.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "shell/formmain.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Msg = CRecordingWindow::Message;

const QByteArray kRtfLicence
    = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}}\n"
      "{\\colortbl ;\\red0\\green0\\blue255;}\n"
      "\\pard\\qc\\b\\fs28 END USER LICENSE\\b0\\par\n"
      "\\pard\\fs16 Plain, \\b bold\\b0 , \\i italic\\i0 , \\ul underlined\\ulnone , "
      "\\cf1 blue\\cf0 , caf\\'e9 \\u8364?.\\par\n"
      "}";

class IntroPagesTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureImageForm(); }
};

// The format of the first character of text in the box.
QTextCharFormat FormatOf(QTextEdit* box, const QString& text)
{
    QTextDocument* doc = box->document();
    const QTextCursor found = doc->find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor c(doc);
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

} // namespace

TEST_F(IntroPagesTest, PagesTakeTheirPicturesAndTexts)
{
    CTestProgram program(QStringLiteral("[TFrameLicense]\nGBoxLicense=Licence\nBtnNext=Onward\n"));
    TFrameLicense licence;
    TFrameTutorial tutorial;
    TFrameTutorial2 tutorial2;
    TFrameWelcome welcome;
    for (TFrameBase* page : { static_cast<TFrameBase*>(&licence), static_cast<TFrameBase*>(&tutorial),
             static_cast<TFrameBase*>(&tutorial2), static_cast<TFrameBase*>(&welcome) }) {
        page->InitFrame();
        EXPECT_EQ(page->size(), QSize(600, 324));
    }
    EXPECT_EQ(licence.GBoxLicense->title(), QStringLiteral(" Licence "));
    EXPECT_EQ(licence.BtnNext->text(), QStringLiteral("Onward"));
    EXPECT_EQ(licence.BtnBack->text(), QStringLiteral("Back"));
    EXPECT_EQ(licence.ChkAccept->text(), QStringLiteral("I accept the terms in the License Agreement."));
    EXPECT_TRUE(licence.ChkAccept->font().bold());
    EXPECT_TRUE(licence.REdtLicense->isReadOnly());
    EXPECT_FALSE(licence.BtnNext->Face().isNull());
    EXPECT_FALSE(licence.ImgBG->Picture().isNull());
    EXPECT_EQ(tutorial.ImgTutorial->Picture().size(), QSize(516, 270));
    EXPECT_EQ(tutorial2.ImgTutorial2->Picture().size(), QSize(552, 240));
    EXPECT_EQ(welcome.LbInfo1->text(), QStringLiteral("Welcome to the Setup Wizard for your QRX-640."));
    EXPECT_EQ(welcome.LbInfo1->font().pixelSize(), 18);
    EXPECT_EQ(welcome.GBoxWelcome->title(), QStringLiteral(" Welcome "));
    EXPECT_FALSE(welcome.BtnUG->isVisibleTo(&welcome));
    EXPECT_FALSE(welcome.TimerInstAcrobat->Enabled());
    for (TTrifaceBtn* b : welcome.findChildren<TTrifaceBtn*>()) {
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    }
}

// Each way the licence page passes by itself: it ticks the box and posts WZ_NEXT.
TEST_F(IntroPagesTest, LicencePassesByItself)
{
    struct Case
    {
        const char* name;
        QString ini;
        bool writeFile;
        bool accepted;
    };
    const Case cases[] = {
        { "SkipLicense on", QStringLiteral("[Setting]\nSkipLicense=1\n[Product]\nLicense=licence.rtf\n"),
            true, false },
        { "accepted before in this run", QStringLiteral("[Product]\nLicense=licence.rtf\n"), true, true },
        { "no License key", QString(), false, false },
        { "missing file", QStringLiteral("[Product]\nLicense=licence.rtf\n"), false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestProgram program(c.ini);
        if (c.writeFile) {
            program.WriteFile(QStringLiteral("licence.rtf"), kRtfLicence);
        }
        g_Var.LicenseAccepted = c.accepted;
        CScopedMainWindow main;
        TFrameLicense page;
        page.InitFrame();
        EXPECT_TRUE(page.CanEnter(nullptr, WZ_DIR_FORWARD, 0));
        EXPECT_TRUE(page.ChkAccept->isChecked());
        EXPECT_TRUE(page.REdtLicense->toPlainText().isEmpty());
        ProcessPosted();
        EXPECT_EQ(main.Window.Messages, std::vector<Msg>({ { UM_WIZARD, WZ_NEXT, 0 } }));
    }
}

TEST_F(IntroPagesTest, SkipLicenseIsASwitchReadAsANumber)
{
    CTestProgram program(QStringLiteral("[Setting]\nSkipLicense=true\n[Product]\nLicense=licence.txt\n"));
    program.WriteFile(QStringLiteral("licence.txt"), "Terms.");
    CScopedMainWindow main;
    TFrameLicense page;
    EXPECT_TRUE(page.CanEnter(nullptr, WZ_DIR_FORWARD, 0));
    ProcessPosted();
    EXPECT_TRUE(main.Window.Messages.empty());
    EXPECT_EQ(page.REdtLicense->toPlainText(), QStringLiteral("Terms."));
}

TEST_F(IntroPagesTest, PlainTextLicenceIsShownUnchangedAndMustBeAccepted)
{
    CTestProgram program(QStringLiteral("[Product]\nLicense=licence.txt\n"));
    const QString text = QStringLiteral("LICENCE\n\n1. Use {\\b not RTF}.\n2. Caf\u00e9 \u20ac.");
    program.WriteFile(QStringLiteral("licence.txt"), text.toUtf8());
    CScopedMainWindow main;
    TFrameLicense page;
    page.InitFrame();
    page.ChkAccept->setChecked(true); // left over from before
    EXPECT_TRUE(page.CanEnter(nullptr, WZ_DIR_FORWARD, 0));
    EXPECT_EQ(page.REdtLicense->toPlainText(), text);
    EXPECT_FALSE(page.ChkAccept->isChecked());
    page.EnterFrame(nullptr, WZ_DIR_FORWARD, 0);
    EXPECT_FALSE(page.BtnNext->isEnabled());

    page.setAttribute(Qt::WA_DontShowOnScreen);
    page.show();
    QTest::mouseClick(page.ChkAccept, Qt::LeftButton, {}, QPoint(6, page.ChkAccept->height() / 2));
    EXPECT_TRUE(page.ChkAccept->isChecked());
    EXPECT_TRUE(page.BtnNext->isEnabled());
    QTest::mouseClick(page.ChkAccept, Qt::LeftButton, {}, QPoint(6, page.ChkAccept->height() / 2));
    EXPECT_FALSE(page.BtnNext->isEnabled()); // unticking disables Next again
    ProcessPosted();
    EXPECT_TRUE(main.Window.Messages.empty());
}

TEST_F(IntroPagesTest, PlainTextInWindowsCodePageIsDecoded)
{
    CTestProgram program(QStringLiteral("[Product]\nLicense=licence.txt\n"));
    program.WriteFile(QStringLiteral("licence.txt"), "Caf\xe9 \x80\r\nnext");
    TFrameLicense page;
    page.CanEnter(nullptr, WZ_DIR_FORWARD, 0);
    EXPECT_EQ(page.REdtLicense->toPlainText(), QStringLiteral("Caf\u00e9 \u20ac\nnext"));
}

TEST_F(IntroPagesTest, RtfLicenceIsShownFormatted)
{
    CTestProgram program(QStringLiteral("[Product]\nLicense=licence.rtf\n"));
    program.WriteFile(QStringLiteral("licence.rtf"), kRtfLicence);
    TFrameLicense page;
    page.InitFrame();
    page.CanEnter(nullptr, WZ_DIR_FORWARD, 0);
    QTextEdit* box = page.REdtLicense;
    EXPECT_EQ(box->toPlainText(),
        QStringLiteral("END USER LICENSE\nPlain, bold, italic, underlined, blue, caf\u00e9 \u20ac."));
    EXPECT_FALSE(box->toPlainText().contains(QStringLiteral("Tahoma")));
    const QTextCharFormat title = FormatOf(box, QStringLiteral("END USER"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 14.0);
    EXPECT_EQ(
        box->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat plain = FormatOf(box, QStringLiteral("Plain"));
    EXPECT_NE(plain.fontWeight(), QFont::Bold);
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 8.0);
    EXPECT_EQ(FormatOf(box, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatOf(box, QStringLiteral("italic")).fontItalic());
    EXPECT_TRUE(FormatOf(box, QStringLiteral("underlined")).fontUnderline());
    EXPECT_EQ(FormatOf(box, QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
    EXPECT_NE(FormatOf(box, QStringLiteral("caf")).foreground().color(), QColor(0, 0, 255)); // \\cf0 ended it
}

TEST_F(IntroPagesTest, LicenceAcceptedWhenLeftForwardWithTheBoxTicked)
{
    CTestProgram program(QStringLiteral("[Product]\nLicense=licence.txt\n"));
    program.WriteFile(QStringLiteral("licence.txt"), "Terms.");
    CScopedMainWindow main;
    TFrameLicense page;
    page.CanEnter(nullptr, WZ_DIR_FORWARD, 0);
    page.ChkAccept->setChecked(false);
    page.CanLeave(nullptr, WZ_DIR_FORWARD, 0);
    EXPECT_FALSE(g_Var.LicenseAccepted);
    page.ChkAccept->setChecked(true);
    page.CanLeave(nullptr, WZ_DIR_BACK, 0);
    EXPECT_FALSE(g_Var.LicenseAccepted);
    page.CanLeave(nullptr, WZ_DIR_FORWARD, 0);
    EXPECT_TRUE(g_Var.LicenseAccepted);
    // The next visit in this run passes by itself.
    main.Window.Messages.clear();
    page.CanEnter(nullptr, WZ_DIR_FORWARD, 0);
    ProcessPosted();
    EXPECT_EQ(main.Window.Messages, std::vector<Msg>({ { UM_WIZARD, WZ_NEXT, 0 } }));
}

TEST_F(IntroPagesTest, ButtonsPostTheirNavigationMessages)
{
    CTestProgram program;
    CScopedMainWindow main;
    TFrameLicense licence;
    TFrameTutorial tutorial;
    TFrameTutorial2 tutorial2;
    TFrameWelcome welcome;
    for (QWidget* page : { static_cast<QWidget*>(&licence), static_cast<QWidget*>(&tutorial),
             static_cast<QWidget*>(&tutorial2), static_cast<QWidget*>(&welcome) }) {
        page->setAttribute(Qt::WA_DontShowOnScreen);
        page->show();
    }
    const struct
    {
        TTrifaceBtn* button;
        WPARAM kind;
    } clicks[] = {
        { licence.BtnExit, WZ_EXIT },
        { licence.BtnBack, WZ_BACK },
        { licence.BtnNext, WZ_NEXT },
        { tutorial.BtnExit, WZ_EXIT },
        { tutorial.BtnBack, WZ_BACK },
        { tutorial.BtnNext, WZ_NEXT },
        { tutorial2.BtnExit, WZ_EXIT },
        { tutorial2.BtnBack, WZ_BACK },
        { tutorial2.BtnNext, WZ_NEXT },
        { welcome.BtnExit, WZ_EXIT },
        { welcome.BtnStart, WZ_NEXT },
    };
    for (const auto& c : clicks) {
        main.Window.Messages.clear();
        QTest::mouseClick(c.button, Qt::LeftButton, {}, c.button->rect().center());
        ProcessPosted();
        EXPECT_EQ(main.Window.Messages, std::vector<Msg>({ { UM_WIZARD, c.kind, 0 } }))
            << c.button->parentWidget()->metaObject()->className() << "."
            << c.button->objectName().toStdString();
    }
}

TEST_F(IntroPagesTest, TutorialPagesPassInTheDirectionTheyWereEntered)
{
    struct Case
    {
        const char* name;
        QString ini;
        int direction;
        std::vector<Msg> expected;
    };
    const Case cases[] = {
        { "skip forward", QStringLiteral("[Setting]\nSkipTutorial=1\n"), WZ_DIR_FORWARD,
            { { UM_WIZARD, WZ_NEXT, 0 } } },
        { "skip back", QStringLiteral("[Setting]\nSkipTutorial=1\n"), WZ_DIR_BACK,
            { { UM_WIZARD, WZ_BACK, 0 } } },
        { "shown forward", QString(), WZ_DIR_FORWARD, {} },
        { "shown back", QStringLiteral("[Setting]\nSkipTutorial=0\n"), WZ_DIR_BACK, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestProgram program(c.ini);
        CScopedMainWindow main;
        TFrameTutorial tutorial;
        TFrameTutorial2 tutorial2;
        for (TFrameBase* page :
            { static_cast<TFrameBase*>(&tutorial), static_cast<TFrameBase*>(&tutorial2) }) {
            main.Window.Messages.clear();
            EXPECT_TRUE(page->CanEnter(nullptr, c.direction, 0));
            ProcessPosted();
            EXPECT_EQ(main.Window.Messages, c.expected);
        }
    }
}

// In the wizard: Back on the device list page walks back through both tutorial pages without
// stopping and closes the wizard with Cancel, which brings the launcher back.
TEST_F(IntroPagesTest, SkippedTutorialsWalkBackFromTheDeviceListToTheLauncher)
{
    CTestProgram program(QStringLiteral("[Setting]\nSkipTutorial=1\n[Product]\nLicense=licence.txt\n"));
    program.WriteFile(QStringLiteral("licence.txt"), "Terms.");
    TFormAutorun launcher;
    launcher.setAttribute(Qt::WA_DontShowOnScreen);
    TFormMain wizard;
    wizard.setAttribute(Qt::WA_DontShowOnScreen);
    TFormMain* const previous = FormMain;
    FormMain = &wizard;
    QObject* const previousMain = ApplicationMainWindow();
    SetApplicationMainWindow(&launcher);
    launcher.show();
    ProcessPosted();
    ASSERT_EQ(wizard.CurrentPage, wizard.FrameLicense1);

    QTimer::singleShot(0, [&] {
        // Put the wizard on the device list page as if it had got there.
        wizard.CurrentPage->hide();
        wizard.CurrentPage = wizard.FrameDevList1;
        PostWizard(WZ_BACK);
    });
    QTimer::singleShot(20000, &wizard, [&] { wizard.done(99); }); // never hang
    QTest::mouseClick(launcher.BtnSetupWizard, Qt::LeftButton, {}, launcher.BtnSetupWizard->rect().center());
    EXPECT_EQ(wizard.result(), mrCancel);
    EXPECT_EQ(wizard.CurrentPage, wizard.FrameTutorial1);
    EXPECT_TRUE(launcher.isVisible());

    FormMain = previous;
    SetApplicationMainWindow(previousMain);
}

TEST_F(IntroPagesTest, WelcomeGuideButtonIsShownThroughTheWizardLayoutAndWatchesOnItsOwn)
{
    CScopedFakeShell shell;
    CTestProgram program(QStringLiteral("[FormMain_FrameWelcome1_Visible]\nBtnUG=1\n"
                                        "[Product]\nUserGuide=guide.pdf\nAcrobatReader=setup.sh\n"));
    program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
    program.WriteFile(QStringLiteral("setup.sh"), "#!/bin/sh\n", true);
    TFormMain wizard;
    TFrameWelcome* welcome = wizard.FrameWelcome1;
    EXPECT_TRUE(welcome->BtnUG->isVisibleTo(welcome));

    ScopedDialogSeam seam;
    TFormAutorun launcher;
    DialogSeam::QueueAnswer(mrYes);
    welcome->BtnUGClick();
    EXPECT_TRUE(welcome->TimerInstAcrobat->Enabled());
    EXPECT_FALSE(launcher.TimerInstAcrobat->Enabled());
    // The launcher's own watch is independent: it still offers the installer.
    DialogSeam::QueueAnswer(mrNo);
    launcher.BtnUG_UGClick();
    EXPECT_EQ(DialogSeam::ShownTexts().size(), 2);
    // A second click on the welcome page while its watch runs: no offer.
    welcome->BtnUGClick();
    EXPECT_EQ(DialogSeam::ShownTexts().size(), 2);
    welcome->TimerInstAcrobat->SetEnabled(false);
}
