#pragma once
// Pieces the device access pages share: the white group box, labels, the bold grey value label,
// one device exchange under the progress dialog, and the messages of a failed exchange.

#include "platform/core/messages.h"

#include <QString>

#include <cstdint>
#include <functional>

class QGroupBox;
class QLabel;
class QWidget;
class TFormProgress;

namespace acc {

// The grey of the value and note labels (colour value 5197647).
inline constexpr int VALUE_GREY = 0x4F4F4F;

// A group box with a white face over the page background, named name, with its caption, at the
// page's usual place (12, 8, 576 x 276).
QGroupBox* CreatePageGroupBox(QWidget* page, const char* name, const QString& caption);

// A label named name with its caption at (x, y, w, h); optionally bold, word-wrapped and aligned.
QLabel* CreateLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h,
    bool bold = false, bool wrap = false, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// The bold grey colour of value labels and notes.
void MakeGreyBold(QLabel* label);

// Runs one device exchange: creates the progress dialog with the start step, keeps holder pointing
// at it while it is shown, shows it modally over page, forgets and destroys it, and returns its
// modal result (1 success, 2 failure, 0 when the showing failed).
int RunProgressDialog(QWidget* page, TFormProgress*& holder, std::function<void()> start);
// Closes the dialog held by holder with result (1 or 2); nothing without a dialog.
void CloseProgressDialog(TFormProgress* holder, int result);

// A host-order address as dotted text.
QString AddressText(std::uint32_t value);
// The dotted text of an editor (empty or four numbers) as a host-order address; empty gives 0.
std::uint32_t AddressValue(const QString& dotted);

// Shows [Message] key (default text) in the information box with g_Var.MsgTitle as caption.
void ShowMessageText(const char* key, const char* defaultText);

// The IP write of the setup method and IP settings pages: SendIPSetting (32 s) when logged in, a
// login first when not; after a write that went unanswered one logout and login and a second
// write; after an accepted write a 3 s pause that keeps dispatching, then the configuration is
// read back (15 s), which replaces g_Var's configuration as read.
class CIPSettingExchange
{
public:
    // True while one renewed login is still allowed in the running write.
    bool RetryLogin = false;
    // The dialog of the write under way, or null.
    TFormProgress* Progress = nullptr;

    // Runs the write under a new progress dialog over page; true when it closed with success.
    bool Run(QWidget* page);
    // The start step, and again after an accepted login.
    void StartIPSetting();
    // The engine's messages while the dialog is open; nothing without a dialog.
    void Handle(UINT msg, WPARAM wParam, LPARAM lParam);
};

} // namespace acc
