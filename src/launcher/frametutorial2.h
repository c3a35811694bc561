#pragma once
// The second tutorial page: how to power the access point.
// With [Setting] SkipTutorial on, the page passes by itself in the direction it was entered.

#include "launcher/tutorialpage.h"

class TFrameTutorial2 : public CTutorialPage
{
    Q_OBJECT
public:
    explicit TFrameTutorial2(QWidget* parent = nullptr);

    TPictureBox* ImgTutorial2;
};
