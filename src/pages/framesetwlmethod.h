#pragma once
// The wireless method page: Wi-Fi Protected Setup or a manual profile.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameSetWlMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSetWlMethod(QWidget* parent = nullptr);

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
