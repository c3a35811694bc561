#include "platform/ui/dialogs.h"

#include "app/globalvar.h"
#include "platform/core/notify.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QQueue>

#include <cstdio>

namespace {

struct SeamState
{
    bool enabled = false;
    bool envChecked = false;
    QQueue<int> answers;
    QQueue<QString> fileNames;
    QQueue<bool> prints;
    QList<DialogSeam::ShownBox> shown;
};

SeamState& State()
{
    static SeamState state;
    if (!state.envChecked) {
        state.envChecked = true;
        // Process-level tests start the program with the seam on so that no box ever blocks.
        if (qEnvironmentVariable("QRX_DIALOG_SEAM") == u"1") {
            state.enabled = true;
        }
    }
    return state;
}

QWidget* DialogParent()
{
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr) {
        w = QApplication::activeWindow();
    }
    return w;
}

const char* KindName(DialogSeam::Kind kind)
{
    switch (kind) {
    case DialogSeam::Kind::Info:
        return "info";
    case DialogSeam::Kind::Question:
        return "question";
    case DialogSeam::Kind::Simple:
        return "simple";
    case DialogSeam::Kind::Error:
        return "error";
    case DialogSeam::Kind::Save:
        return "save";
    case DialogSeam::Kind::Print:
        return "print";
    }
    return "?";
}

} // namespace

void DialogSeam::Enable(bool on)
{
    State().enabled = on;
}

void DialogSeam::QueueAnswer(int modalResult)
{
    State().answers.enqueue(modalResult);
}

void DialogSeam::QueueSaveFileName(const QString& fileName)
{
    State().fileNames.enqueue(fileName);
}

void DialogSeam::QueuePrintAccepted(bool accepted)
{
    State().prints.enqueue(accepted);
}

QList<DialogSeam::ShownBox> DialogSeam::Shown()
{
    return State().shown;
}

QStringList DialogSeam::ShownTexts()
{
    QStringList out;
    for (const ShownBox& s : State().shown) {
        out.append(s.text);
    }
    return out;
}

void DialogSeam::Reset()
{
    SeamState& s = State();
    s.enabled = false;
    s.answers.clear();
    s.fileNames.clear();
    s.prints.clear();
    s.shown.clear();
}

bool DialogSeam::IsActive()
{
    const SeamState& s = State();
    return s.enabled || !s.answers.isEmpty() || !s.fileNames.isEmpty() || !s.prints.isEmpty();
}

void DialogSeam::Record(Kind kind, const QString& caption, const QString& text)
{
    State().shown.append({ kind, caption, text });
    if (State().enabled && qEnvironmentVariable("QRX_DIALOG_SEAM") == u"1") {
        std::fprintf(stderr, "[dialog %s] %s: %s\n", KindName(kind), caption.toUtf8().constData(),
            text.toUtf8().constData());
    }
}

bool DialogSeam::TakeAnswer(int& answer)
{
    SeamState& s = State();
    if (s.answers.isEmpty()) {
        return false;
    }
    answer = s.answers.dequeue();
    return true;
}

bool DialogSeam::TakeSaveFileName(QString& fileName)
{
    SeamState& s = State();
    if (s.fileNames.isEmpty()) {
        return false;
    }
    fileName = s.fileNames.dequeue();
    return true;
}

bool DialogSeam::TakePrintAccepted(bool& accepted)
{
    SeamState& s = State();
    if (s.prints.isEmpty()) {
        return false;
    }
    accepted = s.prints.dequeue();
    return true;
}

int MessageBoxInfo(const QString& text)
{
    const QString caption = g_Var.MsgTitle;
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Info, caption, text);
        int answer = mrOk;
        DialogSeam::TakeAnswer(answer);
        return answer;
    }
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, DialogParent());
    box.exec();
    return mrOk;
}

int MessageBoxQuestion(const QString& text)
{
    const QString caption = g_Var.MsgTitle;
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Question, caption, text);
        int answer = mrNo;
        DialogSeam::TakeAnswer(answer);
        return answer;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, DialogParent());
    return box.exec() == QMessageBox::Yes ? mrYes : mrNo;
}

int ShowMessageByKey(const char* key, const QString& def, bool question)
{
    const QString text
        = g_Var.Ini ? g_Var.Ini->ReadString(QStringLiteral("Message"), QString::fromLatin1(key), def) : def;
    return question ? MessageBoxQuestion(text) : MessageBoxInfo(text);
}

void ShowExceptionBox(const QString& message)
{
    const QString caption = g_Var.AppTitle;
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Error, caption, message);
        int ignored = mrOk;
        DialogSeam::TakeAnswer(ignored);
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, DialogParent());
    box.exec();
}

void ShowSimpleMessageBox(const QString& text)
{
    const QString caption = g_Var.AppTitle;
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Simple, caption, text);
        int ignored = mrOk;
        DialogSeam::TakeAnswer(ignored);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, DialogParent());
    box.exec();
}

void InstallSimpleMessageBox()
{
    SetSimpleMessageHandler([](const QString& text) { ShowSimpleMessageBox(text); });
}

QString GetSaveFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& defaultSuffix)
{
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Save, title, filter);
        QString name;
        DialogSeam::TakeSaveFileName(name);
        return name;
    }
    QFileDialog dlg(parent, title, QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return {};
    }
    return dlg.selectedFiles().constFirst();
}

bool ExecPrintDialog(QWidget* parent, QPrinter& printer)
{
    if (DialogSeam::IsActive()) {
        DialogSeam::Record(DialogSeam::Kind::Print, QString(), QString());
        bool accepted = false;
        DialogSeam::TakePrintAccepted(accepted);
        return accepted;
    }
    QPrintDialog dlg(&printer, parent);
    return dlg.exec() == QDialog::Accepted;
}
