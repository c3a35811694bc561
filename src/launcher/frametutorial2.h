#pragma once
// The second tutorial page: how to power the access point.
// With [Setting] SkipTutorial on, the page passes by itself in the direction it was entered.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameTutorial2 : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameTutorial2(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    TPictureBox* ImgTutorial2;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();
};
