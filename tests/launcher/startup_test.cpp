// Start-up: the windows in their order with the launcher as the main window, their clean-up, and
// a second copy of the program that ends at once.
#include "app/ui/startup.h"
#include "launcher/formautorun.h"
#include "launcher/framelicense.h"
#include "launcher_fixture.h"
#include "platform/core/singleinstance.h"
#include "platform/ui/dialogs.h"
#if __has_include("pages/formwpssurvey.h")
#include "pages/formwpssurvey.h"
#endif
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/picturebox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A program folder with a licence; the globals start-up sets (image form, main window, application
// font) are put back afterwards.
class StartupTest : public ::testing::Test
{
protected:
    StartupTest()
        : previousRes(FormRes)
        , previousMain(ApplicationMainWindow())
        , previousFont(QApplication::font())
    {
    }
    ~StartupTest() override
    {
        FormRes = previousRes;
        SetApplicationMainWindow(previousMain);
        QApplication::setFont(previousFont);
    }

    // Settings: the sections given, then [Product] with the keys given and the licence file.
    void MakeProgram(const QString& sections, const QString& productKeys = {})
    {
        program = std::make_unique<CTestProgram>(
            sections + QStringLiteral("[Product]\n") + productKeys + QStringLiteral("License=licence.txt\n"));
        program->WriteFile(QStringLiteral("licence.txt"), "Terms.");
    }

    std::unique_ptr<CTestProgram> program;
    TFormRes* const previousRes;
    QObject* const previousMain;
    const QFont previousFont;
};

} // namespace

TEST_F(StartupTest, CreatesTheWindowsInOrderWithTheLauncherAsMainWindow)
{
    MakeProgram({}, QStringLiteral("AppTitle=QRX-640 Setup\n"));
    {
        CQrxWindows windows;
        CreateQrxWindows(windows);
        ASSERT_GE(windows.CreationOrder.size(), 4);
        EXPECT_EQ(windows.CreationOrder.mid(0, 4),
            QStringList({ QStringLiteral("FormRes"), QStringLiteral("FormAutorun"),
                QStringLiteral("FormMain"), QStringLiteral("FormUDP") }));
#if __has_include("pages/formwpssurvey.h")
        // The WPS survey dialog comes last.
        ASSERT_EQ(windows.CreationOrder.size(), 5);
        EXPECT_EQ(windows.CreationOrder.at(4), QStringLiteral("FormWPSSurvey"));
        EXPECT_EQ(FormWPSSurvey, windows.WpsSurvey.get());
#endif
        EXPECT_EQ(FormRes, windows.ImageForm.get());
        EXPECT_EQ(FormAutorun, windows.Launcher.get());
        EXPECT_EQ(FormMain, windows.Wizard.get());
        EXPECT_EQ(FormUDP, windows.Engine.get());
        EXPECT_EQ(ApplicationMainWindow(), windows.Launcher.get());
        EXPECT_NE(ApplicationMainWindow(), static_cast<QObject*>(windows.ImageForm.get()));
        // Each form took what the earlier steps made: pictures and texts.
        EXPECT_FALSE(windows.Launcher->ImgBG->Picture().isNull());
        EXPECT_EQ(windows.Launcher->windowTitle(), QStringLiteral("QRX-640 Setup"));
        EXPECT_EQ(windows.Wizard->windowTitle(), QStringLiteral("QRX-640 Setup"));
        // The wizard posted itself its first WZ_NEXT: the licence page is current before it shows.
        ProcessPosted();
        EXPECT_EQ(windows.Wizard->CurrentPage, windows.Wizard->FrameLicense1);
        EXPECT_FALSE(windows.Wizard->isVisible());
    }
    // Clean-up cleared the window pointers.
    EXPECT_EQ(FormRes, nullptr);
    EXPECT_EQ(FormAutorun, nullptr);
    EXPECT_EQ(FormMain, nullptr);
    EXPECT_EQ(FormUDP, nullptr);
#if __has_include("pages/formwpssurvey.h")
    EXPECT_EQ(FormWPSSurvey, nullptr);
#endif
    EXPECT_EQ(ApplicationMainWindow(), nullptr);
}

// The launcher comes on screen first; the wizard window, the engine and the WPS survey dialog are
// built behind it once it has been painted, in their order.
TEST_F(StartupTest, WizardWindowIsBuiltBehindTheLauncherOnceItIsPainted)
{
    MakeProgram({});
    {
        CQrxWindows windows;
        CreateLauncherWindows(windows);
        EXPECT_EQ(
            windows.CreationOrder, QStringList({ QStringLiteral("FormRes"), QStringLiteral("FormAutorun") }));
        EXPECT_EQ(FormMain, nullptr);
        const std::unique_ptr<QObject> finisher = FinishStartupBehindLauncher(windows);
        ASSERT_NE(finisher, nullptr);
        windows.Launcher->setAttribute(Qt::WA_DontShowOnScreen);
        windows.Launcher->show();
        ASSERT_TRUE(QTest::qWaitFor([] { return FormMain != nullptr; }, 20000));
        ASSERT_GE(windows.CreationOrder.size(), 4);
        EXPECT_EQ(windows.CreationOrder.mid(2, 2),
            QStringList({ QStringLiteral("FormMain"), QStringLiteral("FormUDP") }));
        EXPECT_EQ(FormMain, windows.Wizard.get());
        EXPECT_EQ(FormUDP, windows.Engine.get());
        ProcessPosted();
        EXPECT_EQ(windows.Wizard->CurrentPage, windows.Wizard->FrameLicense1);
        // A second call builds nothing more.
        const QStringList order = windows.CreationOrder;
        CreateWizardWindows(windows);
        EXPECT_EQ(windows.CreationOrder, order);
    }
    EXPECT_EQ(FormMain, nullptr);
}

// A launcher never painted: the wizard is built when it is asked for, and the button still opens
// it.
TEST_F(StartupTest, SetupWizardAskedForBeforeTheLauncherPaintsBuildsTheWizardFirst)
{
    MakeProgram(QStringLiteral("[Setting]\nSkipTutorial=1\n"));
    {
        CQrxWindows windows;
        CreateLauncherWindows(windows);
        const std::unique_ptr<QObject> finisher = FinishStartupBehindLauncher(windows);
        ASSERT_EQ(FormMain, nullptr);
        TFormMain* shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = FormMain;
            if (FormMain) {
                FormMain->done(mrCancel);
            }
        });
        windows.Launcher->BtnSetupWizardClick();
        EXPECT_NE(shown, nullptr);
        EXPECT_EQ(shown, windows.Wizard.get());
        EXPECT_EQ(windows.Wizard->result(), mrCancel);
        // Cancel brings the launcher back.
        EXPECT_TRUE(windows.Launcher->isVisible());
        windows.Launcher->hide();
    }
}

#ifdef QRX_SETUP_EXE
namespace {

bool MarkerExists(const QString& mutexName)
{
    QFile f(QStringLiteral("/proc/net/unix"));
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray wanted = QByteArray("@") + CInstanceMarker::SocketName(mutexName);
    return f.readAll().contains(wanted);
}

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(Startup, SecondCopyEndsAtOnceWithoutAWindow)
{
    const QString exe = QStringLiteral(QRX_SETUP_EXE);
    if (!QFileInfo(exe).isExecutable()) {
        GTEST_SKIP() << "qrx-setup not built";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("qrx-setup"));
    ASSERT_TRUE(QFile::copy(exe, program));
    const QString shortName
        = QStringLiteral("QRXTEST-%1-%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch());
    {
        QFile ini(dir.filePath(QStringLiteral("qrx-setup.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Product]\nShortName=%1\n").arg(shortName).toUtf8());
    }
    {
        QFile log(dir.filePath(QStringLiteral("qrx-setup.Log")));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly)); // logging on
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QRX_ADAPTERS"), QStringLiteral("lo"));
    env.insert(QStringLiteral("QRX_DIALOG_SEAM"), QStringLiteral("1"));

    QProcess first;
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(dir.path());
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    const QString mutexName = shortName + QStringLiteral("_Mutex");
    ASSERT_TRUE(QTest::qWaitFor([&] { return MarkerExists(mutexName); }, 30000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(dir.path());
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running); // undisturbed
    // The second copy logged into a numbered file of its own.
    const QString secondLog = ReadAll(dir.filePath(QStringLiteral("qrx-setup_000.Log")));
    EXPECT_TRUE(secondLog.contains(QStringLiteral("FAIL another instance is running")))
        << secondLog.toStdString();
    EXPECT_FALSE(
        ReadAll(dir.filePath(QStringLiteral("qrx-setup.Log"))).contains(QStringLiteral("another instance")));

    first.kill();
    first.waitForFinished(10000);
}
#endif
