#pragma once
// The success page: the end of a run; Exit sits where the other pages have Next.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameSuccess : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameSuccess(QWidget* parent = nullptr);

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
