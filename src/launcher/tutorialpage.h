#pragma once
// What the two tutorial pages share: one picture between the page background and the Exit, Back
// and Next buttons. With [Setting] SkipTutorial on, a tutorial page passes by itself in the
// direction it was entered.

#include "shell/framebase.h"

#include <QRect>

class TPictureBox;
class TTrifaceBtn;

class CTutorialPage : public TFrameBase
{
    Q_OBJECT
public:
    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();

protected:
    // The page's picture control gets the name and place given; InitFrame copies the image form's
    // picture of the same name into it.
    CTutorialPage(QWidget* parent, const char* pictureName, const QRect& pictureGeometry);

    TPictureBox* m_tutorial;
};
