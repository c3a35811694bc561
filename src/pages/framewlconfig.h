#pragma once
// A wireless configuration page (ad hoc or infrastructure) that the wizard window holds but the
// navigation never reaches; its buttons do nothing.

#include "shell/framebase.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TPictureBox;
class TTrifaceBtn;

class TFrameWlConfig : public TFrameBase
{
    Q_OBJECT
public:
    explicit TFrameWlConfig(QWidget* parent = nullptr);

    void InitFrame() override;

    TPictureBox* ImgBG;
    QGroupBox* GBoxWlConfig;
    QRadioButton* RBtnAdhoc;
    QLabel* LbAdhocInfo;
    QRadioButton* RBtnInfrastructure;
    QLabel* LbInfrastructureInfo;
    TTrifaceBtn* BtnExit;
    TTrifaceBtn* BtnBack;
    TTrifaceBtn* BtnNext;
};
