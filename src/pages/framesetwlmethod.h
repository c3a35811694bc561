#pragma once
// The wireless method page: Wi-Fi Protected Setup or a manual profile. Next records the choice in
// g_Var.WlMethod (0 WPS, 1 manual); every forward entry proposes "Manual Setup" and shows the
// explanation of the device's mode from [String].

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TPictureBox;
class TTrifaceBtn;

class TFrameSetWlMethod : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSetWlMethod(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxSetWlMethod;
    QLabel* LbClickNext;
    QLabel* LbSetWlInfo;
    QLabel* LbSetWlMsg;
    QRadioButton* RBtnWPS;
    QRadioButton* RBtnManual;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
