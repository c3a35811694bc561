#pragma once
// The operating mode page: access point or wireless bridge.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameWlModeSel : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlModeSel(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
