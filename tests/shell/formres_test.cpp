// The image form: built-in pictures and their replacement from the settings file.
#include "app/globalvar.h"
#include "controls/artwork_table.h"
#include "controls/imagebuttons.h"
#include "platform/ui/dialogs.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/picturebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program folder with a settings file; g_Var is loaded from it for one test.
class FormResTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("qrx-setup"));
        seam = std::make_unique<ScopedDialogSeam>();
    }
    void TearDown() override
    {
        seam.reset();
        g_Var.InitFrom(QDir(dir.path()).filePath(QStringLiteral("gone/qrx-setup")));
    }

    void WriteIni(const QByteArray& text)
    {
        QFile f(program + QStringLiteral(".ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void Load() { g_Var.InitFrom(program); }

    // A picture of one colour in a file, in the format its extension names.
    QString MakePicture(const QString& relative, QSize size, QColor colour)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        EXPECT_TRUE(img.save(path));
        return path;
    }

    static QColor CentreColour(const QImage& img)
    {
        return img.pixelColor(img.width() / 2, img.height() / 2);
    }
    static bool IsBuiltIn(const TPictureBox* p)
    {
        return p->Picture() == QImage(QString::fromUtf8(ArtworkPath(p->objectName().toStdString()).data()));
    }

    QTemporaryDir dir;
    QString program;
    std::unique_ptr<ScopedDialogSeam> seam;
};

} // namespace

TEST_F(FormResTest, WithoutASettingsFileEveryPictureIsBuiltInWithItsFormatAndSize)
{
    Load();
    TFormRes res;
    const QStringList names = TFormRes::PictureNames();
    ASSERT_EQ(res.Pictures().size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        const TPictureBox* p = res.Pictures()[i];
        EXPECT_EQ(p->objectName(), names[i]);
        const TArtworkEntry* entry = FindArtwork(names[i].toStdString());
        ASSERT_NE(entry, nullptr) << names[i].toStdString();
        EXPECT_EQ(p->size(), QSize(entry->width, entry->height)) << names[i].toStdString();
        EXPECT_EQ(p->Picture().size(), QSize(entry->width, entry->height)) << names[i].toStdString();
        EXPECT_TRUE(IsBuiltIn(p)) << names[i].toStdString();
    }
    ASSERT_EQ(res.ImgsType->Count(), 9);
    for (const QPixmap& icon : res.ImgsType->Images()) {
        EXPECT_EQ(icon.size(), QSize(16, 16));
    }
    EXPECT_TRUE(DialogSeam::Shown().isEmpty());
}

TEST_F(FormResTest, ReplacementFromTheResPathFolderReachesTheWizardWindow)
{
    MakePicture(QStringLiteral("skin/bg.jpg"), QSize(600, 450), QColor(200, 30, 30));
    WriteIni("[Product]\nRes_Path=skin\n[FormRes_TImage]\nImgBGMain=bg.jpg\n");
    Load();
    TFormRes res;
    FormRes = &res;
    EXPECT_EQ(res.PictureFolder(), g_Var.AppPath + QStringLiteral("skin/"));
    const QColor c = CentreColour(res.ImgBGMain->Picture());
    EXPECT_NEAR(c.red(), 200, 8);
    EXPECT_NEAR(c.green(), 30, 8);
    for (TPictureBox* p : res.Pictures()) {
        if (p != res.ImgBGMain) {
            EXPECT_TRUE(IsBuiltIn(p)) << p->objectName().toStdString();
        }
    }
    {
        TFormMain form;
        EXPECT_EQ(form.ImgBG->Picture(), res.ImgBGMain->Picture());
        QCoreApplication::sendPostedEvents();
    }
    FormRes = nullptr;
}

TEST_F(FormResTest, DefaultFolderIsTheProgramFolderAndBackslashesAreFolders)
{
    MakePicture(QStringLiteral("tut.bmp"), QSize(516, 270), QColor(10, 200, 10));
    MakePicture(QStringLiteral("a/b/btn.bmp"), QSize(85, 21), QColor(10, 10, 200));
    WriteIni("[FormRes_TImage]\nImgTutorial=tut.bmp\nImgBtnN=a\\b\\btn.bmp\n");
    Load();
    TFormRes res;
    EXPECT_EQ(CentreColour(res.ImgTutorial->Picture()), QColor(10, 200, 10));
    EXPECT_EQ(CentreColour(res.ImgBtnN->Picture()), QColor(10, 10, 200));
}

TEST_F(FormResTest, MissingFolderEmptyKeyOrMissingFileKeepTheBuiltInSilently)
{
    MakePicture(QStringLiteral("bg.jpg"), QSize(600, 450), QColor(200, 30, 30));
    struct Case
    {
        const char* ini;
    };
    const Case cases[] = {
        { "[Product]\nRes_Path=nowhere\n[FormRes_TImage]\nImgBGMain=bg.jpg\n" },
        { "[FormRes_TImage]\nImgBGMain=\n" }, { "[FormRes_TImage]\nImgBGMain=missing.jpg\n" },
        { "[FormRes_TImage]\nImgBGMain=.\n" }, // a folder, not a file
    };
    for (const Case& c : cases) {
        WriteIni(c.ini);
        Load();
        TFormRes res;
        EXPECT_TRUE(IsBuiltIn(res.ImgBGMain)) << c.ini;
        EXPECT_TRUE(DialogSeam::Shown().isEmpty()) << c.ini;
    }
}

TEST_F(FormResTest, TheIconListIsNeverReplaced)
{
    MakePicture(QStringLiteral("icons.bmp"), QSize(144, 16), QColor(1, 2, 3));
    WriteIni("[FormRes_TImage]\nImgsType=icons.bmp\n");
    Load();
    TFormRes res;
    ASSERT_EQ(res.ImgsType->Count(), 9);
    const QList<QImage> builtIn = [] {
        QList<QImage> icons;
        for (const TArtworkEntry& e : kArtworkTable) {
            if (e.kind == TArtKind::TypeIcon) {
                icons.append(QImage(QString::fromUtf8(e.path.data(), static_cast<qsizetype>(e.path.size()))));
            }
        }
        return icons;
    }();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(res.ImgsType->Images()[i].toImage().convertToFormat(QImage::Format_ARGB32),
            builtIn[i].convertToFormat(QImage::Format_ARGB32));
    }
}

TEST_F(FormResTest, UnreadableReplacementShowsTheErrorAndLaterPicturesStayBuiltIn)
{
    MakePicture(QStringLiteral("bg.jpg"), QSize(600, 450), QColor(200, 30, 30));
    MakePicture(QStringLiteral("btn.bmp"), QSize(85, 21), QColor(10, 10, 200));
    {
        QFile bad(dir.filePath(QStringLiteral("frame.jpg")));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("this is not a picture");
    }
    // ImgBGMain comes before ImgFrameBG, ImgBtnN after it.
    WriteIni("[FormRes_TImage]\nImgBGMain=bg.jpg\nImgFrameBG=frame.jpg\nImgBtnN=btn.bmp\n");
    Load();
    TFormRes res;
    EXPECT_NEAR(CentreColour(res.ImgBGMain->Picture()).red(), 200, 8);
    EXPECT_TRUE(IsBuiltIn(res.ImgFrameBG));
    EXPECT_TRUE(IsBuiltIn(res.ImgBtnN));
    ASSERT_EQ(DialogSeam::Shown().size(), 1);
    EXPECT_EQ(DialogSeam::Shown()[0].kind, DialogSeam::Kind::Error);
    EXPECT_TRUE(DialogSeam::Shown()[0].text.contains(QStringLiteral("frame.jpg")));
}

TEST_F(FormResTest, WizardButtonFacesComeFromTheThreeButtonPictures)
{
    Load();
    TFormRes res;
    TTrifaceBtn button;
    res.SetWizardButtonFaces(&button);
    EXPECT_EQ(button.Face(), res.ImgBtnN->Picture());
    EXPECT_EQ(button.FaceOver(), res.ImgBtnH->Picture());
    EXPECT_EQ(button.FaceDown(), res.ImgBtnD->Picture());
    EXPECT_NE(res.ImgBtnN->Picture(), res.ImgBtnD->Picture());
}

// A picture given as a file: its size at once (auto-size), its pixels on first use; a picture set
// afterwards wins; a file that cannot be read leaves the box empty.
TEST_F(FormResTest, PictureFromAFileTakesItsSizeAtOnceAndItsPixelsOnFirstUse)
{
    const QString red = MakePicture(QStringLiteral("red.png"), QSize(40, 30), Qt::red);
    TPictureBox box;
    box.SetAutoSize(true);
    box.SetPictureFile(red);
    EXPECT_EQ(box.size(), QSize(40, 30));
    EXPECT_EQ(box.sizeHint(), QSize(40, 30));
    EXPECT_EQ(CentreColour(box.Picture()), QColor(Qt::red));
    EXPECT_EQ(CentreColour(box.grab().toImage()), QColor(Qt::red));

    TPictureBox replaced;
    replaced.SetPictureFile(red);
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    replaced.SetPicture(blue);
    EXPECT_EQ(replaced.Picture(), blue);
    replaced.SetPictureFile(red);
    EXPECT_EQ(replaced.Picture().size(), QSize(40, 30));

    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    for (const QString& path : { broken, dir.filePath(QStringLiteral("missing.png")), QString() }) {
        TPictureBox empty;
        empty.SetAutoSize(true);
        empty.resize(7, 9);
        empty.SetPictureFile(path);
        EXPECT_TRUE(empty.Picture().isNull()) << path.toStdString();
        EXPECT_EQ(empty.size(), QSize(7, 9)) << path.toStdString();
    }
}
