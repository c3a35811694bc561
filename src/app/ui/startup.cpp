#include "app/ui/startup.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "launcher/formautorun.h"
#include "platform/core/messages.h"
#include "platform/core/singleinstance.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formmain.h"
#include "shell/formres.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace {

// The application object: an exception that reaches the message loop is shown in the error box
// and the loop goes on.
class CQrxApplication : public QApplication
{
public:
    CQrxApplication(int& argc, char** argv)
        : QApplication(argc, argv)
    {
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        return DeliverGuarded([&] { return QApplication::notify(receiver, event); });
    }
};

void ShowStartupException(const QString& message)
{
    if (QApplication::instance() != nullptr) {
        ShowExceptionBox(message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

void PrintResidentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) {
                std::printf("%s\n", line.constData());
            }
        }
    }
    std::fflush(stdout);
}

// The rest of start-up, once the launcher is on screen: the application font and the wizard window
// with the engine and the WPS survey dialog. The launcher shows only pictures, so it needs neither
// to appear. Runs once: after the launcher's first paint, when the wizard is asked for before that,
// or after a short wait should the launcher never be painted.
class CStartupFinisher : public QObject
{
public:
    explicit CStartupFinisher(CQrxWindows& windows)
        : m_windows(windows)
        , m_benchmark(qEnvironmentVariableIsSet("QRX_BENCH_EXIT_ON_SHOWN"))
    {
        windows.Launcher->installEventFilter(this);
        windows.Launcher->SetWizardMaker([this] { Finish(); });
        QTimer::singleShot(kLatestFinishMs, this, [this] { Finish(); });
    }

    ~CStartupFinisher() override
    {
        if (m_windows.Launcher) {
            m_windows.Launcher->SetWizardMaker({});
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_queued && watched == m_windows.Launcher.get() && event->type() == QEvent::Paint) {
            // Queued: the paint completes and reaches the screen first.
            m_queued = true;
            QMetaObject::invokeMethod(
                this, [this] { Finish(); }, Qt::QueuedConnection);
        }
        return false;
    }

    void Finish()
    {
        if (m_done) {
            return;
        }
        m_done = true;
        m_windows.Launcher->removeEventFilter(this);
        if (m_benchmark) {
            // Benchmarks: the moment the launcher is on screen.
            std::printf("SHOWN\n");
            std::fflush(stdout);
        }
        try {
            InstallApplicationFont();
            CreateWizardWindows(m_windows);
        } catch (const std::exception& e) {
            ShowStartupException(QString::fromLocal8Bit(e.what()));
            QCoreApplication::quit();
            return;
        } catch (...) {
            ShowStartupException(QString());
            QCoreApplication::quit();
            return;
        }
        if (m_benchmark) {
            // Benchmarks: the resident memory of the running wizard, then leave.
            PrintResidentMemory();
            std::_Exit(0);
        }
    }

private:
    static constexpr int kLatestFinishMs = 250;

    CQrxWindows& m_windows;
    const bool m_benchmark;
    bool m_queued = false;
    bool m_done = false;
};

// Step 7: the message loop runs until the launcher closes.
void RunMessageLoop(CQrxWindows& w)
{
    // The launcher hides while the wizard runs, so the end of the loop is tied to the launcher's
    // closing and not to the last visible window.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!w.Launcher) {
        return;
    }
    QObject::connect(
        w.Launcher.get(), &TFormAutorun::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    const std::unique_ptr<QObject> finisher = FinishStartupBehindLauncher(w);
    w.Launcher->show();
    QApplication::exec();
}

QStringList FontFolders()
{
    QStringList dirs;
    const QString custom = qEnvironmentVariable("QRX_FONT_DIR");
    if (!custom.isEmpty()) {
        dirs << custom;
    }
    dirs << QStringLiteral("/usr/share/wine/fonts") << QStringLiteral("/usr/lib/wine/fonts")
         << QStringLiteral("/usr/share/fonts/truetype/wine") << QStringLiteral("/usr/share/fonts/wine");
    return dirs;
}

} // namespace

// The WPS survey dialog joins the start-up when the program has it. Start-up's instance is never
// used by the pages (each use creates a dialog of its own); it is made for the order's sake.
#if __has_include("pages/formwpssurvey.h")
#include "pages/formwpssurvey.h"
#define QRX_HAVE_WPS_SURVEY 1
// Weak, so that start-up links whether or not the dialog's unit defines the pointer.
extern TFormWPSSurvey* FormWPSSurvey __attribute__((weak));
#endif

CQrxWindows::CQrxWindows() = default;

CQrxWindows::~CQrxWindows()
{
#ifdef QRX_HAVE_WPS_SURVEY
    if (&FormWPSSurvey != nullptr && FormWPSSurvey == WpsSurvey.get()) {
        FormWPSSurvey = nullptr;
    }
#endif
    WpsSurvey.reset();
    // The engine logs out of a device still logged in; g_Var and the log are still there.
    Engine.reset();
    Wizard.reset();
    if (ApplicationMainWindow() == Launcher.get()) {
        SetApplicationMainWindow(nullptr);
    }
    Launcher.reset();
    if (FormRes == ImageForm.get()) {
        FormRes = nullptr;
    }
    ImageForm.reset();
}

void CreateLauncherWindows(CQrxWindows& w)
{
    // Step 5: the image form, created directly so that it never becomes the main window.
    w.ImageForm = std::make_unique<TFormRes>();
    FormRes = w.ImageForm.get();
    w.CreationOrder << QStringLiteral("FormRes");

    // Step 6: the forms in their order; each may use the image form and g_Var.
    w.Launcher = std::make_unique<TFormAutorun>();
    FormAutorun = w.Launcher.get();
    SetApplicationMainWindow(w.Launcher.get());
    w.CreationOrder << QStringLiteral("FormAutorun");
}

void CreateWizardWindows(CQrxWindows& w)
{
    if (w.Wizard || !w.Launcher) {
        return;
    }
    // Runs every page's InitFrame and posts itself the first WZ_NEXT.
    w.Wizard = std::make_unique<TFormMain>();
    FormMain = w.Wizard.get();
    w.CreationOrder << QStringLiteral("FormMain");

    w.Engine = std::make_unique<TFormUDP>();
    FormUDP = w.Engine.get();
    w.CreationOrder << QStringLiteral("FormUDP");

#ifdef QRX_HAVE_WPS_SURVEY
    auto survey = std::make_unique<TFormWPSSurvey>();
    if (&FormWPSSurvey != nullptr) {
        FormWPSSurvey = survey.get();
    }
    w.WpsSurvey = std::move(survey);
    w.CreationOrder << QStringLiteral("FormWPSSurvey");
#endif
}

void CreateQrxWindows(CQrxWindows& w)
{
    CreateLauncherWindows(w);
    CreateWizardWindows(w);
}

std::unique_ptr<QObject> FinishStartupBehindLauncher(CQrxWindows& windows)
{
    if (!windows.Launcher) {
        return nullptr;
    }
    return std::make_unique<CStartupFinisher>(windows);
}

bool DeliverGuarded(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& e) {
        ShowExceptionBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowExceptionBox(QString());
    }
    return false;
}

bool InstallApplicationFont()
{
    bool tahoma = false;
    for (const QString& dir : FontFolders()) {
        const QString regular = QDir(dir).filePath(QStringLiteral("tahoma.ttf"));
        if (!QFileInfo(regular).isFile()) {
            continue;
        }
        if (QFontDatabase::addApplicationFont(regular) >= 0) {
            tahoma = true;
            const QString bold = QDir(dir).filePath(QStringLiteral("tahomabd.ttf"));
            if (QFileInfo(bold).isFile()) {
                QFontDatabase::addApplicationFont(bold);
            }
            break;
        }
    }
    QFont font;
    if (tahoma) {
        font = QFont(QStringLiteral("Tahoma"));
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSize(8);
    QApplication::setFont(font);
    return tahoma;
}

int RunQrxSetup(int argc, char** argv)
{
    // Step 1 happened before this function: g_Debug and g_Var are static objects.
    CInstanceMarker marker;
    std::unique_ptr<CQrxApplication> app;
    try {
        // Step 2.
        if (!g_Var.Init()) {
            return 0;
        }
        // Step 3: a second copy ends here, silently, before any window exists.
        if (!CheckSingleInstance(g_Var.MutexName, marker)) {
            return 0;
        }
        // Step 4.
        app = std::make_unique<CQrxApplication>(argc, argv);
        QApplication::setApplicationName(g_Var.AppTitle);
        InstallSimpleMessageBox();

        CQrxWindows windows;
        try {
            // Steps 5 and 6; the wizard window, the engine and the WPS survey dialog follow as soon
            // as the launcher is on screen.
            CreateLauncherWindows(windows);
            RunMessageLoop(windows); // step 7
        } catch (const std::exception& e) {
            ShowStartupException(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            ShowStartupException(QString());
        }
        // Step 9 begins: the windows go while g_Var and the log still exist.
    } catch (const std::exception& e) {
        ShowStartupException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowStartupException(QString());
    }
    app.reset();
    marker.Close();
    return 0;
}
