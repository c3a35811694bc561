#pragma once
// The desktop shell: open a document or web address, explore a folder, ask whether a program is
// registered for a document's type, run a program hidden, find a top-level window by its title.
// Results follow the Windows shell: above 32 is success; 2 file not found; 31 no program
// registered for the document's type.

#include <QString>
#include <QStringList>

constexpr int SHELL_OK = 42; // any value above 32 means success
constexpr int SHELL_FILE_NOT_FOUND = 2;
constexpr int SHELL_NO_ASSOCIATION = 31;

class CShell
{
public:
    virtual ~CShell() = default;
    // Opens a document or a web address with the desktop's program for it (xdg-open).
    virtual int OpenDocument(const QString& pathOrUrl) = 0;
    // Opens a folder in the file manager.
    virtual int ExploreFolder(const QString& folder) = 0;
    // > 32 when a program is registered for the document's type, 31 when none, 2 when the
    // document does not exist.
    virtual int FindExecutable(const QString& document) = 0;
    // Starts a program detached, without a window and without waiting; false when it cannot start.
    virtual bool RunHidden(const QString& program, const QStringList& args) = 0;
    // True when a top-level window with exactly this title exists (X11; false without a display).
    virtual bool FindTopLevelWindow(const QString& title) = 0;
};

// The shell in force: the real one unless a test set another.
CShell& Shell();
// Replaces the shell for tests (not owned); nullptr restores the real one.
void SetShellForTesting(CShell* shell);

// A shell for tests: records every call and answers "no program registered"; opening succeeds
// unless told otherwise; no window is ever found unless listed.
class CFakeShell : public CShell
{
public:
    struct Call
    {
        QString what; // "OpenDocument", "ExploreFolder", "FindExecutable", "RunHidden", "FindTopLevelWindow"
        QString target;
        QStringList args;
    };

    int OpenDocument(const QString& pathOrUrl) override;
    int ExploreFolder(const QString& folder) override;
    int FindExecutable(const QString& document) override;
    bool RunHidden(const QString& program, const QStringList& args) override;
    bool FindTopLevelWindow(const QString& title) override;

    QList<Call> Calls;
    int OpenResult = SHELL_OK;
    int FindExecutableResult = SHELL_NO_ASSOCIATION;
    bool RunResult = true;
    QStringList Windows; // titles of windows that "exist"
};

// Installs a fake shell for the lifetime of the object.
class CScopedFakeShell
{
public:
    CScopedFakeShell() { SetShellForTesting(&Fake); }
    ~CScopedFakeShell() { SetShellForTesting(nullptr); }
    CFakeShell Fake;
};
