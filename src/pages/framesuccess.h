#pragma once
// The success page: the device took the new settings. Exit asks the exit question, Back returns
// to the operating mode page; Next is never visible.

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class TPictureBox;
class TTrifaceBtn;

class TFrameSuccess : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSuccess(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxSuccess;
    QLabel* LbSuccess1;
    QLabel* LbSuccess2;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
