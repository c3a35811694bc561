#pragma once
// The user guide procedure and the PDF reader installer watch, shared by the launcher and the
// welcome page; each of them has its own timer and its own miss counter.
//
// Opening the guide: g_Var.OpenUserGuide; "cannot open" shows ER_FILE_UG; "no program registered"
// offers the installer (MSG_InstAcrobat) unless the watch already runs. The installer is started
// and watched: every tick looks for its window; while it is there the timer ticks every second;
// on the fourth tick without it the watch stops and the guide is opened once more.

#include <QString>

class TTimer;

// Timer intervals of the watch, in program milliseconds.
constexpr unsigned INSTALLER_WATCH_FIRST_INTERVAL = 10000;
constexpr unsigned INSTALLER_WATCH_POLL_INTERVAL = 1000;

class CInstallerWatch
{
public:
    // timer: the owner's watch timer (created disabled); its OnTimer is set to Tick.
    explicit CInstallerWatch(TTimer* timer);

    // The user guide procedure.
    void OpenGuide();
    // One tick of the watch.
    void Tick();

    // Starts the installer: a program file is run, a shell script without the program bit is run
    // by /bin/sh, any other file is opened through the shell.
    // False when the path is empty, names no file, or the start fails.
    static bool StartInstaller(const QString& path);

    TTimer* Timer() const { return m_timer; }
    // Ticks on which the installer window was not found (one counter per owner and run).
    int MissCount() const { return m_misses; }

private:
    TTimer* m_timer;
    int m_misses = 0;
};
