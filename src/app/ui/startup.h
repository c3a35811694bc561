#pragma once

#include <functional>
// The program's entry: settings, single instance, windows, message loop, clean-up.

#include <QStringList>

#include <memory>

class QObject;
class QWidget;
class TFormRes;
class TFormAutorun;
class TFormMain;
class TFormUDP;

// The program's entry: settings, single instance, windows, message loop, clean-up. Always 0.
int RunQrxSetup(int argc, char** argv);

// Runs one event delivery; an exception it raises is shown in the error box (a non-standard one
// with the empty message) and false is returned, so the message loop goes on.
bool DeliverGuarded(const std::function<bool()>& deliver);

// Registers the Tahoma fonts of the Wine font folder with the application (when present) and makes
// Tahoma 8 pt the application font; otherwise the desktop's sans-serif at 8 pt. True when Tahoma
// was found. Needs the application object.
bool InstallApplicationFont();

// The windows of a run. Destroyed in the reverse order of their creation, WPS survey dialog and
// engine first: the engine logs out of a device while it goes and still needs g_Var and the log,
// which outlive this object. The window pointers (FormRes, FormAutorun, ...) are cleared with them.
struct CQrxWindows
{
    std::unique_ptr<TFormRes> ImageForm; // FormRes
    std::unique_ptr<TFormAutorun> Launcher; // FormAutorun, the application's main window
    std::unique_ptr<TFormMain> Wizard; // FormMain
    std::unique_ptr<TFormUDP> Engine; // FormUDP
    std::unique_ptr<QWidget> WpsSurvey; // FormWPSSurvey, when the program has that dialog
    // Form names in the order they were created.
    QStringList CreationOrder;

    CQrxWindows();
    ~CQrxWindows();
    CQrxWindows(const CQrxWindows&) = delete;
    CQrxWindows& operator=(const CQrxWindows&) = delete;
};

// Start-up steps 5 and 6: the image form directly (never the main window), then the launcher,
// which becomes the application's main window, the wizard window, the engine and the WPS survey
// dialog. Needs g_Var loaded and the application object.
void CreateQrxWindows(CQrxWindows& windows);
// The same in two halves: the image form and the launcher...
void CreateLauncherWindows(CQrxWindows& windows);
// ... then the wizard window, the engine and the WPS survey dialog (nothing when the wizard window
// exists or the launcher does not).
void CreateWizardWindows(CQrxWindows& windows);
// The rest of start-up behind the launcher: the application font, then CreateWizardWindows. Runs
// once, after the launcher's first paint, or when the wizard is asked for before that, or after a
// short wait should the launcher never be painted. The object returned does it and must not
// outlive the windows; null without a launcher.
std::unique_ptr<QObject> FinishStartupBehindLauncher(CQrxWindows& windows);
