#pragma once
// The licence page: the licence text, which the user accepts once per run.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameLicense : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameLicense(QWidget* parent = nullptr);

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
