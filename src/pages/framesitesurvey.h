#pragma once
// The site survey page: the access points around a bridge, to join one.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameSiteSurvey : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSiteSurvey(QWidget* parent = nullptr);

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
