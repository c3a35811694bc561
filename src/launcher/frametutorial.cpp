#include "launcher/frametutorial.h"

TFrameTutorial::TFrameTutorial(QWidget* parent)
    : CTutorialPage(parent, "ImgTutorial", QRect(42, 12, 516, 270))
    , ImgTutorial(m_tutorial)
{
}
