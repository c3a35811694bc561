#pragma once
// The wireless profile host: shows its sub-pages one at a time and steps between them.

#include "shell/framebase.h"

class TPictureBox;
class TTrifaceBtn;

class TFrameWlProfile : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlProfile(QWidget* parent = nullptr);

    void InitFrame() override;

    // Moves one sub-page forward or back; true when the step leaves the host (forward past
    // its last sub-page or back before its first). Without sub-pages every step leaves it.
    virtual bool StepSubPage(bool forward);

    TPictureBox* ImgBG;
};
