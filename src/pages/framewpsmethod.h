#pragma once
// The WPS page: push button or PIN.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameWPSMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWPSMethod(QWidget* parent = nullptr);

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
