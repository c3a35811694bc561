#pragma once
// The first tutorial page: how to cable the access point.
// With [Setting] SkipTutorial on, the page passes by itself in the direction it was entered.

#include "launcher/tutorialpage.h"

class TFrameTutorial : public CTutorialPage
{
    Q_OBJECT
public:
    explicit TFrameTutorial(QWidget* parent = nullptr);

    TPictureBox* ImgTutorial;
};
