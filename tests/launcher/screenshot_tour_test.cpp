// The launcher's part of the screenshot tour: with QRX_SCREENSHOT_DIR set, renders the launcher
// with its sub-menu closed and open, the licence page with the disc's RTF licence loaded, both
// tutorial pages and the welcome page.
#include "launcher/formautorun.h"
#include "launcher/framelicense.h"
#include "launcher_fixture.h"
#include "shell/formmain.h"
#include "shell/framebase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

QImage Grab(QWidget* w)
{
    w->ensurePolished();
    w->setAttribute(Qt::WA_DontShowOnScreen, true);
    w->show();
    QCoreApplication::processEvents();
    const QImage img = w->grab().toImage();
    w->hide();
    return img;
}

QImage GrabWizardWith(TFormMain& main, TFrameBase* page)
{
    for (TFrameBase* p : main.Pages()) {
        p->setVisible(p == page);
    }
    return Grab(&main);
}

} // namespace

TEST(LauncherScreenshotTour, RendersTheLauncherAndTheIntroductoryPages)
{
    const QString folder = qEnvironmentVariable("QRX_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "QRX_SCREENSHOT_DIR not set";
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    EnsureImageForm();
    CTestProgram program(QStringLiteral("[Product]\nAppTitle=QRX-640 Setup Wizard\nLicense=License.rtf\n"));
    QFile licence(QStringLiteral(QRX_SOURCE_DIR "/dist/License.rtf"));
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly));
    program.WriteFile(QStringLiteral("License.rtf"), licence.readAll());

    QStringList written;
    auto save = [&](const QString& name, const QImage& img) {
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        if (!img.isNull() && img.save(path)) {
            written << path;
        }
    };

    TFormAutorun launcher;
    save(QStringLiteral("FormAutorun"), Grab(&launcher));
    launcher.BtnUGClick();
    save(QStringLiteral("FormAutorun_SubMenu"), Grab(&launcher));
    launcher.BtnUGClick();

    TFormMain main;
    QCoreApplication::sendPostedEvents(); // the wizard's first WZ_NEXT enters the licence page
    main.FrameLicense1->CanEnter(nullptr, 0, 0);
    main.FrameLicense1->EnterFrame(nullptr, 0, 0);
    EXPECT_FALSE(main.FrameLicense1->REdtLicense->toPlainText().isEmpty());
    save(QStringLiteral("FormMain_FrameLicense1_RTF"), GrabWizardWith(main, main.FrameLicense1));
    // The same licence scrolled to its list of restrictions.
    QTextEdit* box = main.FrameLicense1->REdtLicense;
    QTextCursor at = box->document()->find(QStringLiteral("Your network"));
    at.clearSelection();
    box->setTextCursor(at);
    box->ensureCursorVisible();
    save(QStringLiteral("FormMain_FrameLicense1_RTF_Scrolled"), GrabWizardWith(main, main.FrameLicense1));
    save(QStringLiteral("FormMain_FrameTutorial1"),
        GrabWizardWith(main, main.PageByName(QStringLiteral("FrameTutorial1"))));
    save(QStringLiteral("FormMain_FrameTutorial21"),
        GrabWizardWith(main, main.PageByName(QStringLiteral("FrameTutorial21"))));
    save(QStringLiteral("FormMain_FrameWelcome1"),
        GrabWizardWith(main, main.PageByName(QStringLiteral("FrameWelcome1"))));

    EXPECT_EQ(written.size(), 7);
    for (const QString& path : written) {
        EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
    }
}
