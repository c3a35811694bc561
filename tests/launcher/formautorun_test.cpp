// The launcher: its sub-menu, the relay of the wizard's and the engine's messages, the wizard's
// modal results, the documents it opens and the PDF reader installer offer and watch.
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "launcher/formautorun.h"
#include "launcher/framelicense.h"
#include "launcher_fixture.h"
#include "platform/core/clock.h"
#include "platform/core/shell.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/udpmessages.h"
#include "shell/formmain.h"
#include "shell/wizardmessages.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kGuideIni
    = QStringLiteral("[Product]\nMsgTitle=QRX Setup\nUserGuide=guide.pdf\nAcrobatReader=%1\n"
                     "AcrobatReaderTitle=PDF Viewer Setup\n");

void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

int CountCalls(const CFakeShell& shell, const QString& what)
{
    int n = 0;
    for (const auto& c : shell.Calls) {
        n += c.what == what ? 1 : 0;
    }
    return n;
}

class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureImageForm(); }
};

// A wizard window that only records what reaches it.
class TRecordingWizard : public TFormMain
{
public:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        Messages.emplace_back(msg, wParam, lParam);
        return 0;
    }
    std::vector<CRecordingWindow::Message> Messages;
};

} // namespace

TEST_F(LauncherTest, TakesItsPicturesAndStartsWithTheSubMenuClosed)
{
    CTestProgram program(QStringLiteral("[Product]\nAppTitle=QRX-640 Setup\n"));
    TFormAutorun launcher;
    EXPECT_EQ(launcher.windowTitle(), QStringLiteral("QRX-640 Setup"));
    EXPECT_EQ(launcher.size(), QSize(600, 450));
    EXPECT_TRUE(launcher.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(launcher.ImgBG->Picture().size(), QSize(600, 450));
    for (TTrifaceBtn* b :
        { launcher.BtnSetupWizard, launcher.BtnUG, launcher.BtnProductReg, launcher.BtnExit }) {
        EXPECT_FALSE(b->Face().isNull()) << b->objectName().toStdString();
        EXPECT_EQ(b->FaceOver(), b->FaceDown());
        EXPECT_TRUE(b->AutoShape());
        EXPECT_EQ(b->x(), 356);
        EXPECT_EQ(b->width(), 197);
        EXPECT_TRUE(b->text().isEmpty());
    }
    EXPECT_FALSE(launcher.BtnUG_UG->pixmap().isNull());
    EXPECT_FALSE(launcher.SubMenuOpen());
    EXPECT_FALSE(launcher.BtnUG_UG->isVisibleTo(&launcher));
    EXPECT_FALSE(launcher.BtnUG_QIG->isVisibleTo(&launcher));
    EXPECT_FALSE(launcher.TimerInstAcrobat->Enabled());
    // Top to bottom without overlaps.
    EXPECT_LE(launcher.BtnSetupWizard->geometry().bottom(), launcher.BtnUG->y());
    EXPECT_LE(launcher.BtnUG->geometry().bottom(), launcher.BtnProductReg->y());
    EXPECT_LE(launcher.BtnProductReg->geometry().bottom(), launcher.BtnExit->y());
}

TEST_F(LauncherTest, SubMenuToggledTwiceRestoresThePositions)
{
    CTestProgram program;
    TFormAutorun launcher;
    launcher.setAttribute(Qt::WA_DontShowOnScreen);
    launcher.show();
    const QPoint reg = launcher.BtnProductReg->pos();
    const QPoint exit = launcher.BtnExit->pos();
    for (int round = 0; round < 2; ++round) {
        Click(launcher.BtnUG);
        EXPECT_TRUE(launcher.SubMenuOpen());
        EXPECT_EQ(launcher.BtnProductReg->pos(), reg + QPoint(0, 48));
        EXPECT_EQ(launcher.BtnExit->pos(), exit + QPoint(0, 48));
        EXPECT_TRUE(launcher.BtnUG_UG->isVisible());
        EXPECT_TRUE(launcher.BtnUG_QIG->isVisible());
        // The entries sit directly under User's Guide, above the moved buttons.
        EXPECT_GT(launcher.BtnUG_UG->y(), launcher.BtnUG->y());
        EXPECT_LE(launcher.BtnUG_QIG->geometry().bottom(), launcher.BtnProductReg->y());
        Click(launcher.BtnUG);
        EXPECT_FALSE(launcher.SubMenuOpen());
        EXPECT_EQ(launcher.BtnProductReg->pos(), reg);
        EXPECT_EQ(launcher.BtnExit->pos(), exit);
        EXPECT_FALSE(launcher.BtnUG_UG->isVisible());
        EXPECT_FALSE(launcher.BtnUG_QIG->isVisible());
    }
}

TEST_F(LauncherTest, LayoutAndTextsComeFromItsSections)
{
    CTestProgram program(QStringLiteral("[FormAutorun]\nFormAutorun=CD Menu\n"
                                        "[FormAutorun_Visible]\nBtnProductReg=0\n"
                                        "[FormAutorun_CtrlPos]\nBtnExit=356,300\n"));
    TFormAutorun launcher;
    EXPECT_EQ(launcher.windowTitle(), QStringLiteral("CD Menu"));
    EXPECT_FALSE(launcher.BtnProductReg->isVisibleTo(&launcher));
    EXPECT_EQ(launcher.BtnExit->pos(), QPoint(356, 300));
}

TEST_F(LauncherTest, RelaysTheWizardAndEngineMessagesToTheWizardWindow)
{
    CTestProgram program;
    TFormAutorun launcher;
    TRecordingWizard wizard;
    TFormMain* const previous = FormMain;
    FormMain = &wizard;
    ProcessPosted();
    wizard.Messages.clear();

    const std::vector<CRecordingWindow::Message> relayed = {
        { UM_WIZARD, WZ_NEXT, 0 },
        { UM_UDP_RECV, 7, 1 },
        { UM_UDP_TIMEOUT, 9, 0 },
        { UM_UDP_EVENT, 150, 34 },
    };
    for (const auto& [msg, w, l] : relayed) {
        PostMessage(&launcher, msg, w, l);
    }
    PostMessage(&launcher, WM_APP + 300, 1, 2); // not one of the four: stays with the launcher
    ProcessPosted();
    EXPECT_EQ(wizard.Messages, relayed);

    // Sent on synchronously, within the launcher's own handling.
    wizard.Messages.clear();
    SendMessage(&launcher, UM_WIZARD, WZ_BACK, 5);
    ASSERT_EQ(wizard.Messages.size(), 1u);
    EXPECT_EQ(wizard.Messages[0], CRecordingWindow::Message(UM_WIZARD, WZ_BACK, 5));

    // Without a wizard window nothing is handed on and nothing breaks.
    FormMain = nullptr;
    EXPECT_EQ(SendMessage(&launcher, UM_UDP_RECV, 1, 1), 0);
    FormMain = previous;
}

TEST_F(LauncherTest, WizardClosedWithCancelBringsTheLauncherBackAndOkEndsIt)
{
    CTestProgram program(QStringLiteral("[Product]\nLicense=licence.txt\n"));
    program.WriteFile(QStringLiteral("licence.txt"), "Terms.");
    ScopedDialogSeam seam;
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
    QSignalSpy closed(&launcher, &TFormAutorun::closed);

    // Cancel: Back on the licence page.
    bool sawWizard = false;
    QTimer::singleShot(0, [&] {
        sawWizard = wizard.isVisible() && !launcher.isVisible();
        PostWizard(WZ_BACK);
    });
    QTimer::singleShot(20000, &wizard, [&] { wizard.done(99); }); // never hang
    Click(launcher.BtnSetupWizard);
    EXPECT_TRUE(sawWizard);
    EXPECT_EQ(wizard.result(), mrCancel);
    EXPECT_TRUE(launcher.isVisible());
    EXPECT_FALSE(launcher.IsClosed());
    EXPECT_EQ(closed.count(), 0);

    // OK: Exit on a page and Yes to the question.
    DialogSeam::QueueAnswer(mrYes);
    QTimer::singleShot(0, [&] { PostWizard(WZ_EXIT); });
    Click(launcher.BtnSetupWizard);
    EXPECT_EQ(wizard.result(), mrOk);
    EXPECT_FALSE(launcher.isVisible());
    EXPECT_TRUE(launcher.IsClosed());
    EXPECT_EQ(closed.count(), 1);

    FormMain = previous;
    SetApplicationMainWindow(previousMain);
}

TEST_F(LauncherTest, ExitClosesTheLauncher)
{
    CTestProgram program;
    TFormAutorun launcher;
    launcher.setAttribute(Qt::WA_DontShowOnScreen);
    launcher.show();
    QSignalSpy closed(&launcher, &TFormAutorun::closed);
    Click(launcher.BtnExit);
    EXPECT_FALSE(launcher.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(LauncherTest, QuickGuideExploresItsFolderAndRegistrationOpensItsAddress)
{
    CScopedFakeShell shell;
    {
        CTestProgram program;
        TFormAutorun launcher;
        launcher.BtnUG_QIGClick();
        launcher.BtnProductRegClick(); // empty key: nothing
        ASSERT_EQ(shell.Fake.Calls.size(), 1);
        EXPECT_EQ(shell.Fake.Calls[0].what, QStringLiteral("ExploreFolder"));
        EXPECT_EQ(
            shell.Fake.Calls[0].target, QStringLiteral("QIG")); // unchanged: relative to the current folder
    }
    shell.Fake.Calls.clear();
    {
        CTestProgram program(
            QStringLiteral("[Product]\nQIG=Guide\\QIG\nProductReg=https://register.example/qrx-640\n"));
        TFormAutorun launcher;
        shell.Fake.OpenResult = SHELL_FILE_NOT_FOUND; // results are ignored
        launcher.BtnUG_QIGClick();
        launcher.BtnProductRegClick();
        ASSERT_EQ(shell.Fake.Calls.size(), 2);
        EXPECT_EQ(shell.Fake.Calls[0].target, QStringLiteral("Guide\\QIG"));
        EXPECT_EQ(shell.Fake.Calls[1].what, QStringLiteral("OpenDocument"));
        EXPECT_EQ(shell.Fake.Calls[1].target, QStringLiteral("https://register.example/qrx-640"));
    }
}

// The user guide procedure: each result of OpenUserGuide and what the user is shown.
TEST_F(LauncherTest, UserGuideResultsAndTheirMessages)
{
    struct Case
    {
        const char* name;
        bool keySet;
        bool fileExists;
        int findResult;
        int openResult;
        int expectedResult;
        QStringList expectedTexts;
        DialogSeam::Kind kind;
    };
    const QString cannot = QStringLiteral("Unable to open the user guide.");
    const QString offer
        = QStringLiteral("Acrobat Reader is not installed. Would you like to install it now?");
    const Case cases[] = {
        { "no key", false, false, SHELL_OK, SHELL_OK, 2, { cannot }, DialogSeam::Kind::Info },
        { "missing file", true, false, SHELL_OK, SHELL_OK, 2, { cannot }, DialogSeam::Kind::Info },
        { "opened", true, true, SHELL_OK, SHELL_OK, 0, {}, DialogSeam::Kind::Info },
        { "open fails", true, true, SHELL_OK, SHELL_FILE_NOT_FOUND, 2, { cannot }, DialogSeam::Kind::Info },
        { "no program", true, true, SHELL_NO_ASSOCIATION, SHELL_OK, 3, { offer },
            DialogSeam::Kind::Question },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScopedFakeShell shell;
        shell.Fake.FindExecutableResult = c.findResult;
        shell.Fake.OpenResult = c.openResult;
        CTestProgram program(c.keySet ? QStringLiteral("[Product]\nMsgTitle=QRX Setup\nUserGuide=guide.pdf\n")
                                      : QStringLiteral("[Product]\nMsgTitle=QRX Setup\n"));
        if (c.fileExists) {
            program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
        }
        EXPECT_EQ(g_Var.OpenUserGuide(), c.expectedResult);
        shell.Fake.Calls.clear();

        ScopedDialogSeam seam;
        TFormAutorun launcher;
        launcher.BtnUG_UGClick(); // the seam answers the offer with No
        EXPECT_EQ(DialogSeam::ShownTexts(), c.expectedTexts);
        for (const auto& box : DialogSeam::Shown()) {
            EXPECT_EQ(box.kind, c.kind);
            EXPECT_EQ(box.caption, QStringLiteral("QRX Setup"));
        }
        EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("OpenDocument")),
            c.expectedResult == 3 ? 0 : (c.fileExists ? 1 : 0));
        EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("RunHidden")), 0);
        EXPECT_FALSE(launcher.TimerInstAcrobat->Enabled());
    }
}

TEST_F(LauncherTest, InstallerOfferStartsTheInstallerOnceWhileTheWatchRuns)
{
    CScopedFakeShell shell;
    CTestProgram program(kGuideIni.arg(QStringLiteral("pdf-viewer-setup.sh")));
    program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
    program.WriteFile(QStringLiteral("pdf-viewer-setup.sh"), "#!/bin/sh\n", true);
    ScopedDialogSeam seam;
    TFormAutorun launcher;

    DialogSeam::QueueAnswer(mrYes);
    launcher.BtnUG_UGClick();
    EXPECT_EQ(DialogSeam::ShownTexts().size(), 1);
    ASSERT_EQ(CountCalls(shell.Fake, QStringLiteral("RunHidden")), 1);
    EXPECT_EQ(shell.Fake.Calls.last().target, program.Path(QStringLiteral("pdf-viewer-setup.sh")));
    EXPECT_TRUE(launcher.TimerInstAcrobat->Enabled());
    EXPECT_EQ(launcher.TimerInstAcrobat->Interval(), 10000u);

    // Again while the watch runs: no second offer, no second installer.
    DialogSeam::QueueAnswer(mrYes);
    launcher.BtnUG_UGClick();
    EXPECT_EQ(DialogSeam::ShownTexts().size(), 1);
    EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("RunHidden")), 1);
    EXPECT_TRUE(launcher.TimerInstAcrobat->Enabled());
    launcher.TimerInstAcrobat->SetEnabled(false);
}

TEST_F(LauncherTest, InstallerIsStartedByItsKind)
{
    struct Case
    {
        const char* name;
        QString file;
        bool executable;
        QString what;
        QString target; // relative to the program folder, or absolute
        QStringList args;
    };
    const Case cases[] = {
        { "program", QStringLiteral("setup.sh"), true, QStringLiteral("RunHidden"),
            QStringLiteral("setup.sh"), {} },
        { "script without program bit", QStringLiteral("setup.sh"), false, QStringLiteral("RunHidden"),
            QStringLiteral("/bin/sh"), { QStringLiteral("setup.sh") } },
        { "package", QStringLiteral("viewer.deb"), false, QStringLiteral("OpenDocument"),
            QStringLiteral("viewer.deb"), {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScopedFakeShell shell;
        CTestProgram program;
        program.WriteFile(c.file, "#!/bin/sh\n", c.executable);
        EXPECT_TRUE(CInstallerWatch::StartInstaller(program.Path(c.file)));
        ASSERT_EQ(shell.Fake.Calls.size(), 1);
        EXPECT_EQ(shell.Fake.Calls[0].what, c.what);
        EXPECT_EQ(shell.Fake.Calls[0].target, c.target.startsWith(u'/') ? c.target : program.Path(c.target));
        QStringList args;
        for (const QString& a : c.args) {
            args << program.Path(a);
        }
        EXPECT_EQ(shell.Fake.Calls[0].args, args);
    }
}

TEST_F(LauncherTest, InstallerThatCannotBeStartedIsReported)
{
    struct Case
    {
        const char* name;
        QString key;
        bool exists;
        bool executable;
        int openResult;
        bool runResult;
    };
    const Case cases[] = {
        { "empty key", QString(), false, false, SHELL_OK, true },
        { "missing file", QStringLiteral("setup.sh"), false, true, SHELL_OK, true },
        { "program does not start", QStringLiteral("setup.sh"), true, true, SHELL_OK, false },
        { "document the shell cannot open", QStringLiteral("setup.deb"), true, false, SHELL_FILE_NOT_FOUND,
            true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScopedFakeShell shell;
        shell.Fake.RunResult = c.runResult;
        CTestProgram program(kGuideIni.arg(c.key));
        program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
        if (c.exists) {
            program.WriteFile(c.key, "x", c.executable);
        }
        shell.Fake.OpenResult = c.openResult;
        ScopedDialogSeam seam;
        TFormAutorun launcher;
        DialogSeam::QueueAnswer(mrYes);
        launcher.BtnUG_UGClick();
        EXPECT_EQ(DialogSeam::ShownTexts(),
            QStringList(
                { QStringLiteral("Acrobat Reader is not installed. Would you like to install it now?"),
                    QStringLiteral("Unable to find Acrobat Reader setup file.") }));
        EXPECT_FALSE(launcher.TimerInstAcrobat->Enabled());
    }
}

// The watch on its own, tick by tick: whether the installer window is there at each tick, and the
// tick at which the watch stops and opens the guide again.
TEST_F(LauncherTest, WatchCountsTheTicksWithoutTheInstallerWindow)
{
    struct Case
    {
        const char* name;
        QList<bool> windowAtTick; // ticks until the watch stops
        int stopsAtTick; // 1-based
    };
    const Case cases[] = {
        { "never found", { false, false, false, false }, 4 },
        { "present then gone", { true, true, true, false, false, false, false }, 7 },
        { "misses before the window", { false, false, true, true, false, false }, 6 },
        { "three misses, then found, then one more", { false, false, false, true, false }, 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScopedFakeShell shell;
        CTestProgram program(kGuideIni.arg(QStringLiteral("setup.sh")));
        program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
        TFormAutorun launcher;
        TTimer* timer = launcher.TimerInstAcrobat;
        timer->SetInterval(10000);
        timer->SetEnabled(true);
        for (int tick = 1; tick <= c.windowAtTick.size(); ++tick) {
            shell.Fake.Windows
                = c.windowAtTick[tick - 1] ? QStringList { g_Var.AcrobatReaderTitle } : QStringList {};
            launcher.InstallerWatch().Tick();
            if (c.windowAtTick[tick - 1]) {
                EXPECT_EQ(timer->Interval(), 1000u);
            }
            EXPECT_EQ(timer->Enabled(), tick < c.stopsAtTick) << "tick " << tick;
        }
        EXPECT_EQ(launcher.InstallerWatch().MissCount(), 0);
        // The guide was asked for once more, when the watch stopped.
        EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("FindExecutable")), 1);
        EXPECT_EQ(shell.Fake.Calls.last().what, QStringLiteral("FindExecutable"));
    }
}

// The same with the real timer under a fast time scale.
TEST_F(LauncherTest, WatchRunsOnItsTimerUnderTheTimeScale)
{
    SetTimeScale(0.01); // 10 s become 100 ms, 1 s becomes 10 ms
    struct CRestoreScale
    {
        ~CRestoreScale() { SetTimeScale(0); }
    } restore;
    CScopedFakeShell shell;
    CTestProgram program(kGuideIni.arg(QStringLiteral("setup.sh")));
    program.WriteFile(QStringLiteral("guide.pdf"), "%PDF-1.4\n");
    program.WriteFile(QStringLiteral("setup.sh"), "#!/bin/sh\n", true);
    ScopedDialogSeam seam;
    TFormAutorun launcher;

    // Never found: four ticks of 10 s, then the guide again.
    DialogSeam::QueueAnswer(mrYes);
    launcher.BtnUG_UGClick();
    ASSERT_TRUE(launcher.TimerInstAcrobat->Enabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher.TimerInstAcrobat->Enabled(); }, 20000));
    EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("FindTopLevelWindow")), 4);
    EXPECT_EQ(CountCalls(shell.Fake, QStringLiteral("FindExecutable")), 2);

    // Present for a while, then gone: polled every second, then four misses.
    shell.Fake.Calls.clear();
    shell.Fake.Windows = QStringList { g_Var.AcrobatReaderTitle };
    DialogSeam::QueueAnswer(mrYes);
    launcher.BtnUG_UGClick();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return CountCalls(shell.Fake, QStringLiteral("FindTopLevelWindow")) >= 3; }, 20000));
    EXPECT_EQ(launcher.TimerInstAcrobat->Interval(), 1000u);
    EXPECT_TRUE(launcher.TimerInstAcrobat->Enabled());
    shell.Fake.Windows.clear();
    const int seen = CountCalls(shell.Fake, QStringLiteral("FindTopLevelWindow"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher.TimerInstAcrobat->Enabled(); }, 20000));
    const int after = CountCalls(shell.Fake, QStringLiteral("FindTopLevelWindow")) - seen;
    EXPECT_EQ(after, 4);
    EXPECT_EQ(launcher.InstallerWatch().MissCount(), 0);
}
