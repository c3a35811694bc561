#pragma once
// Window messages: (message number, wParam, lParam) posted or sent to an object whose window
// procedure handles them. Posted messages are delivered by the event loop in the order they were
// posted; sent ones run synchronously in the caller.

#include <cstdint>

class QObject;

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Start of the range of message numbers the application defines for itself.
constexpr UINT WM_APP = 0x8000;

// A receiver of window messages. Widgets and plain objects that take messages derive from this
// besides their Qt base; the object given to PostMessage/SendMessage must be a QObject that also
// derives from CMessageReceiver.
class CMessageReceiver
{
public:
    virtual ~CMessageReceiver() = default;
    // Handles one message; implementations call DefaultHandler for what they do not handle.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return DefaultHandler(msg, wParam, lParam);
    }
    // The default handling: nothing, result 0.
    virtual LRESULT DefaultHandler(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }
};

// Queues the message for the receiver; false when the receiver is null or takes no messages.
// A message posted to an object that is destroyed before delivery is dropped.
bool PostMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the receiver's window procedure now and returns its result (0 for a null receiver).
LRESULT SendMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam);

// The application's main window: the object the engine and the pages post to.
void SetApplicationMainWindow(QObject* window);
QObject* ApplicationMainWindow();
