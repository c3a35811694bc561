#pragma once
// Message boxes, save and print dialogs, and the test seam in front of them. With the seam active
// (enabled, an answer queued, or QRX_DIALOG_SEAM=1 in the environment) no real modal box is shown:
// the queued answer (or the default answer) is returned and the box is recorded.

#include <QList>
#include <QString>

class QWidget;
class QPrinter;

// Modal results, as the platform's values.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// An error or notice: information icon, OK; caption g_Var.MsgTitle. Returns mrOk.
int MessageBoxInfo(const QString& text);
// A question: Yes and No, no icon; caption g_Var.MsgTitle. Returns mrYes or mrNo.
int MessageBoxQuestion(const QString& text);
// The text of section "Message" under key (default def), read now, shown as a notice or question.
int ShowMessageByKey(const char* key, const QString& def, bool question = false);
// The platform's error box for an exception that reached the message loop (caption AppTitle).
void ShowExceptionBox(const QString& message);

// The platform's simple message dialog: caption AppTitle, OK, no icon.
void ShowSimpleMessageBox(const QString& text);
// Routes ShowSimpleMessage (platform/core/notify.h) to ShowSimpleMessageBox.
void InstallSimpleMessageBox();

// The save dialog; the chosen file name or empty when cancelled.
QString GetSaveFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix);
// The print dialog; true when the user accepted (printer set up).
bool ExecPrintDialog(QWidget* parent, QPrinter& printer);

class DialogSeam
{
public:
    enum class Kind { Info, Question, Simple, Error, Save, Print };
    struct ShownBox
    {
        Kind kind;
        QString caption;
        QString text;
    };

    // With the seam enabled, unanswered boxes give their default: mrOk for notices, mrNo for
    // questions, an empty name for the save dialog, false for the print dialog.
    static void Enable(bool on = true);
    static void QueueAnswer(int modalResult);
    static void QueueSaveFileName(const QString& fileName);
    static void QueuePrintAccepted(bool accepted);
    // Every box shown (or answered by the seam) since the last Reset, in order.
    static QList<ShownBox> Shown();
    // Texts only, in order.
    static QStringList ShownTexts();
    // Forgets queued answers and shown boxes and disables the seam.
    static void Reset();
    static bool IsActive();

    // Internal: used by the dialog functions.
    static void Record(Kind kind, const QString& caption, const QString& text);
    static bool TakeAnswer(int& answer);
    static bool TakeSaveFileName(QString& fileName);
    static bool TakePrintAccepted(bool& accepted);
};

// Enables the seam for the lifetime of the object and resets it at both ends.
class ScopedDialogSeam
{
public:
    ScopedDialogSeam()
    {
        DialogSeam::Reset();
        DialogSeam::Enable(true);
    }
    ~ScopedDialogSeam() { DialogSeam::Reset(); }
};
