#include "app/ui/startup.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "platform/core/singleinstance.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include <cstdio>
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
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowExceptionBox(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            ShowExceptionBox(QString());
        }
        return false;
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

// The windows of the run. The image form is created on its own (never the main window); the
// forms follow in their fixed order and the first of them is the application's main window.
struct Windows
{
    std::unique_ptr<QWidget> imageForm; // FormRes
    std::unique_ptr<QWidget> mainWindow; // FormAutorun (placeholder until the launcher exists)
    // FormMain, FormUDP and FormWPSSurvey join here, in this order, after the main window.

    ~Windows()
    {
        // Later forms go first: the engine still logs out of a device while it is destroyed and
        // needs g_Var and the log, which outlive this object.
        mainWindow.reset();
        imageForm.reset();
    }
};

// Step 5: the image form, with the application as owner, created directly.
void CreateImageForm(Windows& /*w*/)
{
    // The image form (FormRes) is created here once it exists.
}

// Step 6: the forms, in order: launcher, wizard window, engine, WPS survey dialog. Each may use
// the image form and g_Var while it is created.
void CreateForms(Windows& w)
{
    // Until the launcher exists a plain window stands in as the main window.
    auto placeholder = std::make_unique<QWidget>();
    placeholder->setObjectName(QStringLiteral("FormAutorun"));
    placeholder->setWindowTitle(g_Var.AppTitle);
    placeholder->resize(600, 450);
    w.mainWindow = std::move(placeholder);
    // The wizard window (FormMain), the engine (FormUDP) and the WPS survey dialog (FormWPSSurvey)
    // are created here, in this order.
}

// Step 7: the message loop runs until the main window closes.
void RunMessageLoop(Windows& w)
{
    QApplication::setQuitOnLastWindowClosed(true);
    if (w.mainWindow) {
        w.mainWindow->show();
    }
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
        InstallApplicationFont();
        InstallSimpleMessageBox();

        Windows windows;
        try {
            CreateImageForm(windows); // step 5
            CreateForms(windows); // step 6
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
