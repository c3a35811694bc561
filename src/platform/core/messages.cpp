#include "platform/core/messages.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

namespace {
QPointer<QObject> g_mainWindow;

CMessageReceiver* ReceiverOf(QObject* target)
{
    return target ? dynamic_cast<CMessageReceiver*>(target) : nullptr;
}
} // namespace

bool PostMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!ReceiverOf(target)) {
        return false;
    }
    // A queued call with the target as context is dropped when the target dies first.
    return QMetaObject::invokeMethod(
        target,
        [target, msg, wParam, lParam] {
            if (CMessageReceiver* r = ReceiverOf(target)) {
                r->WndProc(msg, wParam, lParam);
            }
        },
        Qt::QueuedConnection);
}

LRESULT SendMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CMessageReceiver* r = ReceiverOf(target);
    return r ? r->WndProc(msg, wParam, lParam) : 0;
}

void SetApplicationMainWindow(QObject* window)
{
    g_mainWindow = window;
}

QObject* ApplicationMainWindow()
{
    return g_mainWindow.data();
}
