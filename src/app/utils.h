#pragma once
// Small helpers shared by the engine and the windows (no widgets here; see app/ui/widgetutils.h).

#include "platform/core/clock.h" // WaitWithMessages, GetTickCount

#include <QString>

// "%02X:%02X:%02X:%02X:%02X:%02X" of six bytes, e.g. 00:1A:2B:3C:4D:5E.
QString MacToText(const unsigned char* mac);

// True when every character is one of 0-9, A-F, a-f; the empty text gives true.
bool IsHexText(const QString& text);

// Copies text into a fixed field of size bytes with its NUL: at most maxChars characters
// (maxChars < 0: no character limit) and at most size-1 UTF-8 bytes, cut by whole characters
// so no character is split. The rest of the field is zeroed. Returns the bytes copied.
int CopyTextToField(const QString& text, char* field, int size, int maxChars = -1);

// The text of a NUL-terminated fixed field (at most size bytes), decoded as UTF-8.
QString FieldToText(const char* field, int size);
