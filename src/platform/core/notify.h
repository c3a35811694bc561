#pragma once
// The simple message dialog: a text without caption choice or buttons beyond OK. Console programs
// print it to stderr (the default); the wizard registers a message box; tests record.

#include <QString>

#include <functional>

void ShowSimpleMessage(const QString& text);
// Replaces the handler; an empty function restores the default (stderr).
void SetSimpleMessageHandler(std::function<void(const QString&)> handler);
