#pragma once
// Profile sub-page 2: the wireless mode, b/g/n (proposed), b/g or n.

#include "shell/framebase.h"

class QComboBox;
class QGroupBox;
class QLabel;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfWlMode : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfWlMode(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWirelessMode;
    QLabel* LbMode;
    QComboBox* CmbMode;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnNextClick();
};
