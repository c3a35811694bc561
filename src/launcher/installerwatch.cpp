#include "launcher/installerwatch.h"

#include "app/globalvar.h"
#include "platform/core/shell.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"

#include <QFileInfo>

CInstallerWatch::CInstallerWatch(TTimer* timer)
    : m_timer(timer)
{
    m_timer->OnTimer = [this](TTimer*) { Tick(); };
}

bool CInstallerWatch::StartInstaller(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    if (!info.isFile()) {
        return false;
    }
    // A shell cannot "open" a program here the way it runs one on the CD's home system: run it.
    if (info.isExecutable()) {
        return Shell().RunHidden(info.absoluteFilePath(), {});
    }
    // A disc may lose the program bits of its files: a shell script still runs through the shell.
    if (info.suffix() == u"sh") {
        return Shell().RunHidden(QStringLiteral("/bin/sh"), { info.absoluteFilePath() });
    }
    return Shell().OpenDocument(info.absoluteFilePath()) > 32;
}

void CInstallerWatch::OpenGuide()
{
    const int r = g_Var.OpenUserGuide();
    if (r == 2) {
        ShowMessageByKey("ER_FILE_UG", QStringLiteral("Unable to open the user guide."));
        return;
    }
    if (r != 3 || m_timer->Enabled()) {
        return; // opened, or the installer is already being watched
    }
    if (ShowMessageByKey("MSG_InstAcrobat",
            QStringLiteral("Acrobat Reader is not installed. Would you like to install it now?"), true)
        != mrYes) {
        return;
    }
    if (StartInstaller(g_Var.AcrobatReader)) {
        m_timer->SetInterval(INSTALLER_WATCH_FIRST_INTERVAL);
        m_timer->SetEnabled(true);
    } else {
        ShowMessageByKey("ER_FILE_Acrobat", QStringLiteral("Unable to find Acrobat Reader setup file."));
    }
}

void CInstallerWatch::Tick()
{
    if (Shell().FindTopLevelWindow(g_Var.AcrobatReaderTitle)) {
        m_timer->SetInterval(INSTALLER_WATCH_POLL_INTERVAL);
        return;
    }
    const int before = m_misses++;
    if (before >= 3) {
        m_timer->SetEnabled(false);
        m_misses = 0;
        g_Var.OpenUserGuide();
    }
}
