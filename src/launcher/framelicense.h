#pragma once
// The licence page: the licence text, which the user accepts once per run. Settings can make the
// page pass by itself ([Setting] SkipLicense); so does a licence already accepted in this run and
// a missing licence file.

#include "shell/framebase.h"

class QCheckBox;
class QGroupBox;
class QTextEdit;
class TPictureBox;
class TTrifaceBtn;

class TFrameLicense : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameLicense(QWidget* parent = nullptr);

    void InitFrame() override;
    bool CanEnter(TFrameBase* from, int direction, LPARAM param) override;
    void EnterFrame(TFrameBase* from, int direction, LPARAM param) override;
    bool CanLeave(TFrameBase* to, int direction, LPARAM param) override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxLicense;
    QTextEdit* REdtLicense;
    QCheckBox* ChkAccept;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;

    void ChkAcceptClick();
    void BtnExitClick();
    void BtnBackClick();
    void BtnNextClick();

private:
    // Ticks the accept box and moves on as if the user had pressed Next.
    void PassByItself();
};
