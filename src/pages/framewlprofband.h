#pragma once
// A band sub-page the profile host embeds but never shows: no step of the sequence leads to it.

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfBand : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfBand(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWirelessBand;
    QLabel* LbBand;
    QComboBox* CmbBand; // empty
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;
};
