#include "launcher/frametutorial2.h"

TFrameTutorial2::TFrameTutorial2(QWidget* parent)
    : CTutorialPage(parent, "ImgTutorial2", QRect(24, 24, 552, 240))
    , ImgTutorial2(m_tutorial)
{
}
