// Window messages of the protocol engine.
#pragma once

#include "platform/core/messages.h"

// A socket has a datagram waiting: sent to the engine, wParam 1, lParam the CUDPSocket.
constexpr UINT UM_SOCKET = WM_APP + 101; // 0x8065
// A reply was handled: posted to the main window, wParam the pending-operation code, lParam the
// result (the reply's result byte; 1 for the configuration reads; 0 for the site survey).
constexpr UINT UM_UDP_RECV = WM_APP + 102; // 0x8066
// No reply within the time-out: wParam the pending-operation code, lParam 0.
constexpr UINT UM_UDP_TIMEOUT = WM_APP + 103; // 0x8067
// A device event for the pages: wParam the item type (150, WPS status), lParam the status code.
constexpr UINT UM_UDP_EVENT = WM_APP + 104; // 0x8068
