#pragma once
// The image form: never shown; it holds the pictures that several windows share and the icon list
// of the survey lists, all built into the program. At creation any picture (not the icon list) can
// be replaced by a file named in [FormRes_TImage], looked for in the folder [Product] Res_Path
// beside the program. Windows copy the pictures they take when they are created.

#include "shell/imagelist.h"
#include "shell/picturebox.h"

#include <QStringList>
#include <QWidget>

class TTrifaceBtn;

class TFormRes : public QWidget
{
    Q_OBJECT
public:
    explicit TFormRes(QWidget* owner = nullptr);
    ~TFormRes() override;

    // The pictures, in creation order.
    TPictureBox* ImgBGMain;
    TPictureBox* ImgFrameBG;
    TPictureBox* ImgBtnN;
    TPictureBox* ImgBtnH;
    TPictureBox* ImgBtnD;
    TPictureBox* ImgBGProgress;
    TPictureBox* ImgTutorial;
    TPictureBox* ImgBGAutorun;
    TPictureBox* ImgBtnSetupWizardN;
    TPictureBox* ImgBtnSetupWizardD;
    TPictureBox* ImgBtnUGN;
    TPictureBox* ImgBtnUGD;
    TPictureBox* ImgBtnProductRegN;
    TPictureBox* ImgBtnProductRegD;
    TPictureBox* ImgBtnExitN;
    TPictureBox* ImgBtnExitD;
    TPictureBox* ImgTutorial2;
    TPictureBox* ImgBtnUG_UGN;
    TPictureBox* ImgBtnUG_UGD;
    TPictureBox* ImgBtnUG_QIGN;
    TPictureBox* ImgBtnUG_QIGD;
    TPictureBox* ImgAP;
    TPictureBox* ImgBridge;
    // Nine 16 x 16 icons; never replaced.
    TImageList* ImgsType;

    // Names of the pictures in creation order (the icon list is not among them).
    static QStringList PictureNames();
    // The picture of that name, or null.
    TPictureBox* FindPicture(const QString& name) const;
    // All pictures in creation order.
    QList<TPictureBox*> Pictures() const;

    // Gives a page button the normal, highlighted and pressed faces ImgBtnN, ImgBtnH, ImgBtnD.
    void SetWizardButtonFaces(TTrifaceBtn* button) const;

    // The folder replacement pictures are looked for in (AppPath + [Product] Res_Path, with a
    // trailing '/'), as computed by the last FormCreate.
    QString PictureFolder() const { return m_pictureFolder; }

private:
    void LoadBuiltIn();
    void FormCreate();

    QList<TPictureBox*> m_pictures;
    QString m_pictureFolder;
};

extern TFormRes* FormRes;
