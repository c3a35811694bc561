#pragma once
// Building blocks the wizard pages share: the page background, the wizard buttons at their fixed
// places along the bottom edge, and the artwork the pages take from the image form in InitFrame.

#include <QString>

#include <initializer_list>

class QWidget;
class TPictureBox;
class TTrifaceBtn;

// Page sizes inside the wizard window.
constexpr int PAGE_WIDTH = 600;
constexpr int PAGE_HEIGHT = 324;
constexpr int PAGE_TOP = 105;

// The three button places along the bottom of a page, left to right.
enum class TButtonPlace { Left, Middle, Right };

// Creates the page's background picture ImgBG at (0, 0), sized to its picture.
TPictureBox* CreatePageBackground(QWidget* page);

// Creates a page button (TTrifaceBtn, no tab stop, 85 x 21, transparent colour magenta) named name
// with the caption at its place; the page connects its click handler.
TTrifaceBtn* CreateWizardButton(QWidget* page, const char* name, const QString& caption, TButtonPlace place);

// Geometry of a button place.
int ButtonPlaceLeft(TButtonPlace place);
constexpr int BUTTON_TOP = 292;
constexpr int BUTTON_WIDTH = 85;
constexpr int BUTTON_HEIGHT = 21;

// The background from the image form's ImgFrameBG and each button's three faces ImgBtnN, ImgBtnH,
// ImgBtnD; the buttons are then shaped by their face (AutoShape). Nothing without the image form.
void TakePageArtwork(TPictureBox* background, std::initializer_list<TTrifaceBtn*> buttons);
