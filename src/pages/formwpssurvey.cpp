#include "pages/formwpssurvey.h"

#include "controls/artwork_resources.h"
#include "controls/imagebuttons.h"
#include "controls/sortlistview.h"
#include "pages/framewpssitesurvey.h"
#include "pages/surveylist.h"
#include "platform/ui/dialogs.h"
#include "shell/pagekit.h"

#include <QApplication>
#include <QGroupBox>
#include <QShowEvent>

#include <exception>

TFormWPSSurvey* FormWPSSurvey = nullptr;

namespace {
constexpr int kClientWidth = 553;
constexpr int kClientHeight = 250;
constexpr int kBottomRowTop = 220;
} // namespace

TFormWPSSurvey::TFormWPSSurvey(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormWPSSurvey"));
    // The caption and the buttons' texts are the dialog's own: the settings file does not reach them.
    setWindowTitle(QStringLiteral("WPS AP site survey"));
    setWindowIcon(QApplication::windowIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    FrameWPSSiteSurvey1 = new TFrameWPSSiteSurvey(this);
    FrameWPSSiteSurvey1->setObjectName(QStringLiteral("FrameWPSSiteSurvey1"));
    FrameWPSSiteSurvey1->setGeometry(0, 0, kClientWidth, kClientHeight);
    FrameWPSSiteSurvey1->GroupBox1->setGeometry(0, 0, kClientWidth, kClientHeight);
    // Refresh joins the bottom row, and its click comes here.
    FrameWPSSiteSurvey1->BtnRefresh->move(8, kBottomRowTop);
    disconnect(FrameWPSSiteSurvey1->BtnRefresh, &TTrifaceBtn::clicked, FrameWPSSiteSurvey1, nullptr);
    connect(FrameWPSSiteSurvey1->BtnRefresh, &TTrifaceBtn::clicked, this,
        &TFormWPSSurvey::FrameWPSSiteSurvey1BtnRefreshClick);

    auto makeButton = [this](const char* name, const QString& caption, int left) {
        auto* b = new TTrifaceBtn(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setFocusPolicy(Qt::NoFocus);
        b->SetTransColor(QColor(255, 0, 255));
        // The faces the dialog was designed with, whatever the settings file replaces.
        b->SetFace(LoadArtwork(QStringLiteral("ImgBtnN")));
        b->SetFaceOver(LoadArtwork(QStringLiteral("ImgBtnH")));
        b->SetFaceDown(LoadArtwork(QStringLiteral("ImgBtnD")));
        b->SetBounds(left, kBottomRowTop, BUTTON_WIDTH, BUTTON_HEIGHT);
        b->SetAutoShape(true);
        b->raise();
        return b;
    };
    BtnSelect = makeButton("BtnSelect", QStringLiteral("Select"), kClientWidth - 8 - BUTTON_WIDTH - 92);
    BtnCancel = makeButton("BtnCancel", QStringLiteral("Cancel"), kClientWidth - 8 - BUTTON_WIDTH);
    connect(BtnSelect, &TTrifaceBtn::clicked, this, &TFormWPSSurvey::BtnSelectClick);
    connect(BtnCancel, &TTrifaceBtn::clicked, this, &TFormWPSSurvey::BtnCancelClick);
}

TFormWPSSurvey::~TFormWPSSurvey() = default;

int TFormWPSSurvey::ExecuteCentered(QWidget* caller)
{
    try {
        QWidget* form = caller ? caller->window() : nullptr;
        if (!form) {
            form = qobject_cast<QWidget*>(ApplicationMainWindow());
        }
        if (form) {
            const QRect r = form->frameGeometry();
            // Integer division truncates towards zero.
            move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
        }
        return exec();
    } catch (...) {
        return mrNone;
    }
}

QString TFormWPSSurvey::SelectedSSID() const
{
    tag_AP_ROFIILE entry {};
    if (!SelectedSurveyEntry(FrameWPSSiteSurvey1->SurveyList, entry)) {
        return {};
    }
    return SurveyRowCells(entry, TSurveyTexts::PskCodesOnly).at(SURVEY_COL_SSID);
}

void TFormWPSSurvey::ForwardMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    PostMessage(FrameWPSSiteSurvey1, msg, wParam, lParam);
}

void TFormWPSSurvey::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous()) {
        FormShow();
    }
}

void TFormWPSSurvey::FormShow()
{
    FrameWPSSiteSurvey1->InitFrame();
    FrameWPSSiteSurvey1->BtnRefreshClick();
}

void TFormWPSSurvey::BtnSelectClick()
{
    done(mrOk);
}

void TFormWPSSurvey::BtnCancelClick()
{
    done(mrCancel);
}

void TFormWPSSurvey::reject()
{
    done(mrCancel);
}

void TFormWPSSurvey::FrameWPSSiteSurvey1BtnRefreshClick()
{
    FrameWPSSiteSurvey1->BtnRefreshClick();
}
