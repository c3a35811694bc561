#pragma once
// Widget helpers shared by the pages.

#include "app/utils.h"

class QAbstractItemView;
class QComboBox;
class QWidget;

// Selects the first item whose item data equals code; false (selection unchanged) when none.
bool SelectComboByValue(QComboBox* combo, int code);
// Height in pixels of the list's header (0 when the view has none or it is hidden).
int ListHeaderHeight(QAbstractItemView* list);
// Gives the focus to the control when its window is shown, the control is visible and enabled and
// can take the focus; otherwise nothing. Never throws.
void FocusControl(QWidget* control);
