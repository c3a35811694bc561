#pragma once
// Small pieces the introductory pages share.

#include <QString>

class QGroupBox;
class QWidget;

// A group box with a white face over the page background, named name, with its caption.
QGroupBox* CreateWhiteGroupBox(QWidget* page, const char* name, const QString& caption);

// A switch of the settings store (read now); def without a store.
bool ReadSettingBool(const QString& section, const QString& key, bool def);
