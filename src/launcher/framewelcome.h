#pragma once
// The welcome page: the navigation never shows it; Start would lead on to the licence page.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameWelcome : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWelcome(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnStart;
    TTrifaceBtn* BtnUG;

private:
    void BtnExitClick();
    void BtnStartClick();
};
