#pragma once
// The second tutorial page: how to power the access point.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameTutorial2 : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameTutorial2(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TPictureBox* ImgTutorial2;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
