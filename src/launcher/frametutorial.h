#pragma once
// The first tutorial page: how to cable the access point.
// With [Setting] SkipTutorial on, the page passes by itself in the direction it was entered.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameTutorial : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameTutorial(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    TPictureBox* ImgTutorial;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
