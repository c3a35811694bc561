#pragma once
// Pieces the wireless setup pages share: the white group box over the page background, the field
// labels and drop-down lists of the profile sub-pages, and small readers of their state.

#include <QRect>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;

// Group box geometry inside a wireless page (the wizard buttons lie below it).
constexpr int WL_GBOX_LEFT = 12;
constexpr int WL_GBOX_TOP = 8;
constexpr int WL_GBOX_WIDTH = 576;
constexpr int WL_GBOX_HEIGHT = 276;

// A group box with a white face, named name, with its caption (empty: no caption).
QGroupBox* CreateWlGroupBox(QWidget* page, const char* name, const QString& caption);

// A fixed label named name at r; right-aligned labels are the captions in front of a field.
QLabel* CreateWlLabel(
    QWidget* parent, const char* name, const QString& text, const QRect& r, bool rightAligned);

// A drop-down list (no free text) named name at r; its items carry their code as item data.
QComboBox* CreateWlDropDown(QWidget* parent, const char* name, const QRect& r);
// Adds one item with its code.
void AddCodeItem(QComboBox* combo, const QString& text, int code);
// The code of the selected item, or def when none is selected.
int SelectedCode(const QComboBox* combo, int def);

// The option text of a code from one of g_Var's text tables; empty outside 0..count-1.
QString CodeText(const QString* table, int count, int code);

class TFrameBase;
class TTrifaceBtn;
class TPictureBox;

// The background and the three wizard buttons of a wireless page: Exit, Back and Next at their
// places; Exit posts WZ_EXIT and Back WZ_BACK, Next is connected by the page.
struct TWizardButtons
{
    TTrifaceBtn* Exit;
    TTrifaceBtn* Back;
    TTrifaceBtn* Next;
};
TWizardButtons CreateWlWizardButtons(TFrameBase* page);

// Field rows of the profile sub-pages: the caption label and the field beside it.
QRect WlCaptionRect(int row);
QRect WlFieldRect(int row, int width = 260);
