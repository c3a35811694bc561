#pragma once
// The IP settings page: the fixed address, mask, gateway and name servers, written to the device.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameDevIPCfg : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameDevIPCfg(QWidget* parent = nullptr);

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
