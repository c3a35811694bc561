#pragma once
// Small services the wizard shell takes from the foundation: batch text and layout lookups under
// the settings store's lock, and single reads. Without a settings store (before g_Var.Init) every
// lookup gives its default and nothing changes.

#include <QString>

class QWidget;

// Captions of the container and of the components it owns, with section as the section.
void ApplyTextsLocked(QWidget* container, const QString& section);
// Positions and visibility of the container's controls, nested sections included.
void ApplyLayoutLocked(QWidget* container, const QString& name);
// One read of the settings store; def when there is no store.
QString ReadSettingString(const QString& section, const QString& key, const QString& def);
