#pragma once
// An operating mode page that the navigation never reaches.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameAdhocMode : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameAdhocMode(QWidget* parent = nullptr);

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
