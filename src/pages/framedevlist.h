#pragma once
// The device list page: finds the access points on the network and lets the user pick one.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameDevList : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameDevList(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnCfg;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnCfgClick();
};
