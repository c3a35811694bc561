#pragma once

// The built-in pictures: the image form's pictures in its creation order, the nine icons of its
// image list ImgsType, and the sort arrows of the survey lists. Paths are Qt resource paths
// (resources/qrx.qrc); tools/artwork draws every file listed here. Standard C++ only.

#include <array>
#include <span>
#include <string_view>

enum class TArtKind {
    Picture, // a picture of the image form, replaceable from the settings file
    TypeIcon, // one icon of the image list ImgsType (never replaced)
    SortArrow, // an arrow bitmap of the sortable list (IncBMP, DecBMP)
};

struct TArtworkEntry
{
    std::string_view name; // component name (ImgsType for the icons)
    int index; // icon index within ImgsType, -1 otherwise
    std::string_view path; // resource path
    std::string_view format; // "JPEG", "BMP" (24-bit) or "PNG" (with alpha)
    int width;
    int height;
    TArtKind kind;
};

inline constexpr std::array<TArtworkEntry, 34> kArtworkTable { {
    { "ImgBGMain", -1, ":/images/ImgBGMain.jpg", "JPEG", 600, 450, TArtKind::Picture },
    { "ImgFrameBG", -1, ":/images/ImgFrameBG.jpg", "JPEG", 600, 323, TArtKind::Picture },
    { "ImgBtnN", -1, ":/images/ImgBtnN.bmp", "BMP", 85, 21, TArtKind::Picture },
    { "ImgBtnH", -1, ":/images/ImgBtnH.bmp", "BMP", 85, 21, TArtKind::Picture },
    { "ImgBtnD", -1, ":/images/ImgBtnD.bmp", "BMP", 85, 21, TArtKind::Picture },
    { "ImgBGProgress", -1, ":/images/ImgBGProgress.jpg", "JPEG", 190, 50, TArtKind::Picture },
    { "ImgTutorial", -1, ":/images/ImgTutorial.jpg", "JPEG", 516, 270, TArtKind::Picture },
    { "ImgBGAutorun", -1, ":/images/ImgBGAutorun.jpg", "JPEG", 600, 450, TArtKind::Picture },
    { "ImgBtnSetupWizardN", -1, ":/images/ImgBtnSetupWizardN.bmp", "BMP", 197, 32, TArtKind::Picture },
    { "ImgBtnSetupWizardD", -1, ":/images/ImgBtnSetupWizardD.bmp", "BMP", 197, 32, TArtKind::Picture },
    { "ImgBtnUGN", -1, ":/images/ImgBtnUGN.bmp", "BMP", 197, 31, TArtKind::Picture },
    { "ImgBtnUGD", -1, ":/images/ImgBtnUGD.bmp", "BMP", 197, 31, TArtKind::Picture },
    { "ImgBtnProductRegN", -1, ":/images/ImgBtnProductRegN.bmp", "BMP", 197, 30, TArtKind::Picture },
    { "ImgBtnProductRegD", -1, ":/images/ImgBtnProductRegD.bmp", "BMP", 197, 30, TArtKind::Picture },
    { "ImgBtnExitN", -1, ":/images/ImgBtnExitN.bmp", "BMP", 197, 31, TArtKind::Picture },
    { "ImgBtnExitD", -1, ":/images/ImgBtnExitD.bmp", "BMP", 197, 31, TArtKind::Picture },
    { "ImgTutorial2", -1, ":/images/ImgTutorial2.jpg", "JPEG", 552, 240, TArtKind::Picture },
    { "ImgBtnUG_UGN", -1, ":/images/ImgBtnUG_UGN.jpg", "JPEG", 198, 21, TArtKind::Picture },
    { "ImgBtnUG_UGD", -1, ":/images/ImgBtnUG_UGD.jpg", "JPEG", 198, 21, TArtKind::Picture },
    { "ImgBtnUG_QIGN", -1, ":/images/ImgBtnUG_QIGN.jpg", "JPEG", 198, 21, TArtKind::Picture },
    { "ImgBtnUG_QIGD", -1, ":/images/ImgBtnUG_QIGD.jpg", "JPEG", 198, 21, TArtKind::Picture },
    { "ImgAP", -1, ":/images/ImgAP.jpg", "JPEG", 208, 102, TArtKind::Picture },
    { "ImgBridge", -1, ":/images/ImgBridge.jpg", "JPEG", 226, 117, TArtKind::Picture },
    { "ImgsType", 0, ":/images/ImgsType0.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 1, ":/images/ImgsType1.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 2, ":/images/ImgsType2.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 3, ":/images/ImgsType3.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 4, ":/images/ImgsType4.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 5, ":/images/ImgsType5.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 6, ":/images/ImgsType6.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 7, ":/images/ImgsType7.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "ImgsType", 8, ":/images/ImgsType8.png", "PNG", 16, 16, TArtKind::TypeIcon },
    { "IncBMP", -1, ":/images/SortArrowInc.bmp", "BMP", 10, 10, TArtKind::SortArrow },
    { "DecBMP", -1, ":/images/SortArrowDec.bmp", "BMP", 10, 10, TArtKind::SortArrow },
} };

// The entry of a picture (index -1) or of icon `index` of ImgsType; nullptr when unknown.
const TArtworkEntry* FindArtwork(std::string_view name, int index = -1);
// The resource path of a picture; empty when unknown.
std::string_view ArtworkPath(std::string_view name, int index = -1);
