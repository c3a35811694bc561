#include "shell/formres.h"

#include "app/globalvar.h"
#include "controls/artwork_table.h"
#include "controls/imagebuttons.h"
#include "platform/ui/dialogs.h"
#include "shell/builtinpictures.h"
#include "shell/shellsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

TFormRes* FormRes = nullptr;

namespace {
TPictureBox* MakePicture(TFormRes* form, const char* name)
{
    auto* p = new TPictureBox(form);
    p->setObjectName(QString::fromLatin1(name));
    p->SetAutoSize(true);
    return p;
}

// Settings files written on the CD may use backslashes as folder separators.
QString NormalisePath(QString path)
{
    path.replace(u'\\', u'/');
    return path;
}
} // namespace

TFormRes::TFormRes(QWidget* owner)
    : QWidget(owner)
{
    setObjectName(QStringLiteral("FormRes"));
    setWindowTitle(QStringLiteral("FormRes"));
    resize(648, 484);

    ImgBGMain = MakePicture(this, "ImgBGMain");
    ImgFrameBG = MakePicture(this, "ImgFrameBG");
    ImgBtnN = MakePicture(this, "ImgBtnN");
    ImgBtnH = MakePicture(this, "ImgBtnH");
    ImgBtnD = MakePicture(this, "ImgBtnD");
    ImgBGProgress = MakePicture(this, "ImgBGProgress");
    ImgTutorial = MakePicture(this, "ImgTutorial");
    ImgBGAutorun = MakePicture(this, "ImgBGAutorun");
    ImgBtnSetupWizardN = MakePicture(this, "ImgBtnSetupWizardN");
    ImgBtnSetupWizardD = MakePicture(this, "ImgBtnSetupWizardD");
    ImgBtnUGN = MakePicture(this, "ImgBtnUGN");
    ImgBtnUGD = MakePicture(this, "ImgBtnUGD");
    ImgBtnProductRegN = MakePicture(this, "ImgBtnProductRegN");
    ImgBtnProductRegD = MakePicture(this, "ImgBtnProductRegD");
    ImgBtnExitN = MakePicture(this, "ImgBtnExitN");
    ImgBtnExitD = MakePicture(this, "ImgBtnExitD");
    ImgTutorial2 = MakePicture(this, "ImgTutorial2");
    ImgBtnUG_UGN = MakePicture(this, "ImgBtnUG_UGN");
    ImgBtnUG_UGD = MakePicture(this, "ImgBtnUG_UGD");
    ImgBtnUG_QIGN = MakePicture(this, "ImgBtnUG_QIGN");
    ImgBtnUG_QIGD = MakePicture(this, "ImgBtnUG_QIGD");
    ImgAP = MakePicture(this, "ImgAP");
    ImgBridge = MakePicture(this, "ImgBridge");
    ImgsType = new TImageList(this, 16, 16);
    ImgsType->setObjectName(QStringLiteral("ImgsType"));

    m_pictures = { ImgBGMain, ImgFrameBG, ImgBtnN, ImgBtnH, ImgBtnD, ImgBGProgress, ImgTutorial, ImgBGAutorun,
        ImgBtnSetupWizardN, ImgBtnSetupWizardD, ImgBtnUGN, ImgBtnUGD, ImgBtnProductRegN, ImgBtnProductRegD,
        ImgBtnExitN, ImgBtnExitD, ImgTutorial2, ImgBtnUG_UGN, ImgBtnUG_UGD, ImgBtnUG_QIGN, ImgBtnUG_QIGD,
        ImgAP, ImgBridge };

    LoadBuiltIn();
    FormCreate();
}

TFormRes::~TFormRes()
{
    if (FormRes == this) {
        FormRes = nullptr;
    }
}

QStringList TFormRes::PictureNames()
{
    return { QStringLiteral("ImgBGMain"), QStringLiteral("ImgFrameBG"), QStringLiteral("ImgBtnN"),
        QStringLiteral("ImgBtnH"), QStringLiteral("ImgBtnD"), QStringLiteral("ImgBGProgress"),
        QStringLiteral("ImgTutorial"), QStringLiteral("ImgBGAutorun"), QStringLiteral("ImgBtnSetupWizardN"),
        QStringLiteral("ImgBtnSetupWizardD"), QStringLiteral("ImgBtnUGN"), QStringLiteral("ImgBtnUGD"),
        QStringLiteral("ImgBtnProductRegN"), QStringLiteral("ImgBtnProductRegD"),
        QStringLiteral("ImgBtnExitN"), QStringLiteral("ImgBtnExitD"), QStringLiteral("ImgTutorial2"),
        QStringLiteral("ImgBtnUG_UGN"), QStringLiteral("ImgBtnUG_UGD"), QStringLiteral("ImgBtnUG_QIGN"),
        QStringLiteral("ImgBtnUG_QIGD"), QStringLiteral("ImgAP"), QStringLiteral("ImgBridge") };
}

TPictureBox* TFormRes::FindPicture(const QString& name) const
{
    for (TPictureBox* p : m_pictures) {
        if (p->objectName() == name) {
            return p;
        }
    }
    return nullptr;
}

QList<TPictureBox*> TFormRes::Pictures() const
{
    return m_pictures;
}

void TFormRes::SetWizardButtonFaces(TTrifaceBtn* button) const
{
    if (!button) {
        return;
    }
    button->SetFace(ImgBtnN->Picture());
    button->SetFaceOver(ImgBtnH->Picture());
    button->SetFaceDown(ImgBtnD->Picture());
}

void TFormRes::LoadBuiltIn()
{
    // Each picture is read when a window first takes it: start-up reads only the launcher's. Their
    // sizes are those the artwork was drawn at.
    for (TPictureBox* p : m_pictures) {
        const TArtworkEntry* art = FindArtwork(p->objectName().toStdString());
        p->SetPictureFile(
            BuiltInPicturePath(p->objectName()), art ? QSize(art->width, art->height) : QSize());
    }
    ImgsType->SetLoader([] {
        QList<QPixmap> icons;
        for (const QImage& icon : BuiltInSurveyIcons()) {
            icons.append(QPixmap::fromImage(icon));
        }
        return icons;
    });
}

void TFormRes::FormCreate()
{
    QString folder = g_Var.AppPath
        + NormalisePath(ReadSettingString(QStringLiteral("Product"), QStringLiteral("Res_Path"), {}));
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    m_pictureFolder = folder;
    if (!QFileInfo(folder).isDir()) {
        return;
    }
    for (TPictureBox* p : m_pictures) {
        const QString file
            = NormalisePath(ReadSettingString(QStringLiteral("FormRes_TImage"), p->objectName(), {}));
        if (file.isEmpty()) {
            continue;
        }
        const QString path = folder + file;
        if (!QFileInfo(path).isFile()) {
            continue;
        }
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        QImage image = reader.read();
        if (image.isNull()) {
            // Like the loader's error escaping the creation: it is shown, and the pictures after
            // this one keep their built-in content.
            ShowExceptionBox(
                QStringLiteral("Cannot load the picture \"%1\": %2").arg(path, reader.errorString()));
            return;
        }
        p->SetPicture(image);
    }
}
