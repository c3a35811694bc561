#pragma once
// The wizard's navigation message. A page posts UM_WIZARD to the application's main window (the
// launcher), which hands it on to the wizard window; lParam is passed to the page operations as
// their param and is 0 from every sender.

#include "platform/core/messages.h"

constexpr UINT UM_WIZARD = WM_APP + 100; // 0x8064

// wParam of UM_WIZARD.
constexpr WPARAM WZ_EXIT = 1;
constexpr WPARAM WZ_NEXT = 2;
constexpr WPARAM WZ_BACK = 3;

// Direction of a page switch, as the page operations receive it.
constexpr int WZ_DIR_FORWARD = 0;
constexpr int WZ_DIR_BACK = 1;

// Posts UM_WIZARD with the given kind and lParam 0 to the application's main window; a page's
// Exit, Back and Next buttons use it.
bool PostWizard(WPARAM kind);
