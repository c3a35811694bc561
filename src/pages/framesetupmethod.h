#pragma once
// The setup method page: a dynamic address written at once, or a fixed address asked for next.

#include "shell/framebase.h"

class QRadioButton;
class TPictureBox;
class TTrifaceBtn;

class TFrameSetupMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSetupMethod(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    QRadioButton* RBtnSetIPDHCP;
    QRadioButton* RBtnSetIP;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
