#pragma once
// Shared pieces of the launcher tests: a program folder of its own with a settings file, the image
// form, and a main window that records the messages it receives.

#include "app/globalvar.h"
#include "platform/core/messages.h"
#include "shell/formres.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <tuple>
#include <vector>

// A program folder with qrx-setup.ini holding iniText; g_Var is loaded from it for the lifetime of
// the object and loaded from an empty folder afterwards.
class CTestProgram
{
public:
    explicit CTestProgram(const QString& iniText = {});
    ~CTestProgram();

    QString Dir() const { return m_dir.path(); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void WriteFile(const QString& name, const QByteArray& bytes, bool executable = false) const;
    // Rewrites the settings file and loads g_Var again.
    void SetIni(const QString& iniText);

private:
    QTemporaryDir m_dir;
};

// The image form for the whole test program (created once, kept).
void EnsureImageForm();

// A stand-in main window that keeps every message.
class CRecordingWindow : public QObject, public CMessageReceiver
{
public:
    using Message = std::tuple<UINT, WPARAM, LPARAM>;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        Messages.emplace_back(msg, wParam, lParam);
        return DefaultHandler(msg, wParam, lParam);
    }
    std::vector<Message> Messages;
};

// Installs a recording main window for the lifetime of the object.
class CScopedMainWindow
{
public:
    CScopedMainWindow()
        : m_previous(ApplicationMainWindow())
    {
        SetApplicationMainWindow(&Window);
    }
    ~CScopedMainWindow() { SetApplicationMainWindow(m_previous); }
    CRecordingWindow Window;

private:
    QObject* m_previous;
};

// Delivers posted messages and other pending events.
void ProcessPosted();
