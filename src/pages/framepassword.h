#pragma once
// The login page: the administrator password, the login and the configuration read.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFramePassword : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFramePassword(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnLogin;

private:
    void BtnExitClick();
    void BtnBackClick();
    void BtnLoginClick();
};
