#pragma once
// The first tutorial page: how to cable the access point.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameTutorial : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameTutorial(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TPictureBox* ImgTutorial;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
