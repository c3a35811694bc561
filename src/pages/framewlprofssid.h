#pragma once
// Profile sub-page 1: the network name. Proposes [Setting] SSID (default: the pending profile's
// SSID) in access-point mode and the chosen access point's SSID in bridge mode; Next stores it and
// asks for automatic channel choice.

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfSSID : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfSSID(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxSSID;
    QLabel* LbSSID;
    QLineEdit* EdtSSID;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnNextClick();
};
