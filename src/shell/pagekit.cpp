#include "shell/pagekit.h"

#include "controls/imagebuttons.h"
#include "shell/formres.h"
#include "shell/picturebox.h"

TPictureBox* CreatePageBackground(QWidget* page)
{
    auto* bg = new TPictureBox(page);
    bg->setObjectName(QStringLiteral("ImgBG"));
    bg->SetAutoSize(true);
    bg->setGeometry(0, 0, PAGE_WIDTH, PAGE_HEIGHT - 1);
    bg->lower();
    return bg;
}

int ButtonPlaceLeft(TButtonPlace place)
{
    switch (place) {
    case TButtonPlace::Left:
        return 318;
    case TButtonPlace::Middle:
        return 410;
    case TButtonPlace::Right:
        break;
    }
    return 502;
}

TTrifaceBtn* CreateWizardButton(QWidget* page, const char* name, const QString& caption, TButtonPlace place)
{
    auto* b = new TTrifaceBtn(page);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setFocusPolicy(Qt::NoFocus);
    b->SetTransColor(QColor(255, 0, 255));
    b->SetBounds(ButtonPlaceLeft(place), BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT);
    return b;
}

void TakePageArtwork(TPictureBox* background, std::initializer_list<TTrifaceBtn*> buttons)
{
    if (!FormRes) {
        return;
    }
    if (background) {
        background->SetPicture(FormRes->ImgFrameBG->Picture());
    }
    for (TTrifaceBtn* b : buttons) {
        FormRes->SetWizardButtonFaces(b);
        // Shaped by the face, so it takes the face's size and loses the magenta corners.
        b->SetAutoShape(true);
    }
}
