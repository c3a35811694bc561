#include "launcher/formautorun.h"

#include "app/globalvar.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "platform/core/shell.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "protocol/udpmessages.h"
#include "shell/backgrounddrag.h"
#include "shell/formmain.h"
#include "shell/formres.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

TFormAutorun* FormAutorun = nullptr;

namespace {

constexpr int kMenuLeft = 356;
constexpr int kMenuWidth = 197;

TTrifaceBtn* MakeButton(QWidget* form, const char* name, int top, int height)
{
    auto* b = new TTrifaceBtn(form);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus);
    b->SetTransColor(QColor(255, 0, 255));
    b->SetFocusRect(false);
    b->setGeometry(kMenuLeft, top, kMenuWidth, height);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

TKestImage* MakeEntry(QWidget* form, const char* name, int top)
{
    auto* e = new TKestImage(form);
    e->setObjectName(QString::fromLatin1(name));
    e->SetImageSource(TKestImage::isrcImage);
    e->SetMouseOverEffect(true);
    e->setGeometry(kMenuLeft, top, kMenuWidth, 21);
    e->setCursor(Qt::PointingHandCursor);
    e->hide();
    return e;
}

QPixmap PictureOf(const TPictureBox* box)
{
    return box ? QPixmap::fromImage(box->Picture()) : QPixmap();
}

} // namespace

TFormAutorun::TFormAutorun(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormAutorun"));
    setWindowTitle(QStringLiteral("FormAutorun"));
    setFixedSize(600, 450);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    ImgBG = new TPictureBox(this);
    ImgBG->setObjectName(QStringLiteral("ImgBG"));
    ImgBG->setGeometry(0, 0, 600, 450);
    ImgBG->setMouseTracking(true);
    ImgBG->installEventFilter(this);

    // Top to bottom: Setup Wizard, User's Guide (its two entries below it while open), Product
    // Registration, Exit.
    BtnSetupWizard = MakeButton(this, "BtnSetupWizard", 150, 32);
    BtnUG = MakeButton(this, "BtnUG", 190, 31);
    BtnUG_UG = MakeEntry(this, "BtnUG_UG", 225);
    BtnUG_QIG = MakeEntry(this, "BtnUG_QIG", 248);
    BtnProductReg = MakeButton(this, "BtnProductReg", 229, 30);
    BtnExit = MakeButton(this, "BtnExit", 267, 31);

    for (QLabel*& holder : m_entryPictures) {
        holder = new QLabel(this);
        holder->hide();
    }

    TimerInstAcrobat = new TTimer(this);
    TimerInstAcrobat->setObjectName(QStringLiteral("TimerInstAcrobat"));
    TimerInstAcrobat->SetEnabled(false);
    m_watch = std::make_unique<CInstallerWatch>(TimerInstAcrobat);

    connect(BtnSetupWizard, &TTrifaceBtn::clicked, this, &TFormAutorun::BtnSetupWizardClick);
    connect(BtnUG, &TTrifaceBtn::clicked, this, &TFormAutorun::BtnUGClick);
    connect(BtnUG_UG, &TKestImage::clicked, this, &TFormAutorun::BtnUG_UGClick);
    connect(BtnUG_QIG, &TKestImage::clicked, this, &TFormAutorun::BtnUG_QIGClick);
    connect(BtnProductReg, &TTrifaceBtn::clicked, this, &TFormAutorun::BtnProductRegClick);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFormAutorun::BtnExitClick);

    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.left() + (desk.width() - width()) / 2, desk.top() + (desk.height() - height()) / 2);
    }

    FormCreate();
}

TFormAutorun::~TFormAutorun()
{
    TimerInstAcrobat->SetEnabled(false);
    if (FormAutorun == this) {
        FormAutorun = nullptr;
    }
    if (ApplicationMainWindow() == this) {
        SetApplicationMainWindow(nullptr);
    }
}

void TFormAutorun::FormCreate()
{
    // 1. Caption and texts.
    setWindowTitle(g_Var.AppTitle);
    ApplyTextsLocked(this, QStringLiteral("FormAutorun"));

    // 2. Pictures from the image form.
    if (FormRes) {
        ImgBG->SetPicture(FormRes->ImgBGAutorun->Picture());
        const struct
        {
            TTrifaceBtn* button;
            TPictureBox* normal;
            TPictureBox* down;
        } faces[] = {
            { BtnSetupWizard, FormRes->ImgBtnSetupWizardN, FormRes->ImgBtnSetupWizardD },
            { BtnUG, FormRes->ImgBtnUGN, FormRes->ImgBtnUGD },
            { BtnProductReg, FormRes->ImgBtnProductRegN, FormRes->ImgBtnProductRegD },
            { BtnExit, FormRes->ImgBtnExitN, FormRes->ImgBtnExitD },
        };
        for (const auto& f : faces) {
            f.button->SetFace(f.normal->Picture());
            f.button->SetFaceOver(f.down->Picture());
            f.button->SetFaceDown(f.down->Picture());
            // Shaped by its face once it has one: the fuchsia corners are cut away.
            f.button->SetAutoShape(true);
            const QRect g = f.button->geometry();
            f.button->SetBounds(g.left(), g.top(), g.width(), g.height());
        }
        m_entryPictures[0]->setPixmap(PictureOf(FormRes->ImgBtnUG_UGN));
        m_entryPictures[1]->setPixmap(PictureOf(FormRes->ImgBtnUG_UGD));
        m_entryPictures[2]->setPixmap(PictureOf(FormRes->ImgBtnUG_QIGN));
        m_entryPictures[3]->setPixmap(PictureOf(FormRes->ImgBtnUG_QIGD));
        BtnUG_UG->SetImage(0, m_entryPictures[0]);
        BtnUG_UG->SetImage(1, m_entryPictures[1]);
        BtnUG_QIG->SetImage(0, m_entryPictures[2]);
        BtnUG_QIG->SetImage(1, m_entryPictures[3]);
        BtnUG_UG->Loaded();
        BtnUG_QIG->Loaded();
    }

    // 3. Positions and visibility from the settings file.
    ApplyLayoutLocked(this, QStringLiteral("FormAutorun"));
}

LRESULT TFormAutorun::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case UM_WIZARD:
    case UM_UDP_RECV:
    case UM_UDP_TIMEOUT:
    case UM_UDP_EVENT:
        if (FormMain) {
            SendMessage(FormMain, msg, wParam, lParam);
        }
        break;
    default:
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TFormAutorun::BtnSetupWizardClick()
{
    if (!FormMain && m_wizardMaker) {
        m_wizardMaker();
    }
    hide();
    const int result = FormMain ? FormMain->exec() : mrCancel;
    if (result == mrOk) {
        close();
    } else {
        show();
    }
}

void TFormAutorun::BtnUGClick()
{
    m_subMenuOpen = !m_subMenuOpen;
    const int dy = m_subMenuOpen ? SUB_MENU_SHIFT : -SUB_MENU_SHIFT;
    BtnProductReg->move(BtnProductReg->x(), BtnProductReg->y() + dy);
    BtnExit->move(BtnExit->x(), BtnExit->y() + dy);
    BtnUG_UG->setVisible(m_subMenuOpen);
    BtnUG_QIG->setVisible(m_subMenuOpen);
}

void TFormAutorun::BtnUG_UGClick()
{
    m_watch->OpenGuide();
}

void TFormAutorun::BtnUG_QIGClick()
{
    const QString folder
        = ReadSettingString(QStringLiteral("Product"), QStringLiteral("QIG"), QStringLiteral("QIG"));
    Shell().ExploreFolder(folder);
}

void TFormAutorun::BtnProductRegClick()
{
    const QString target
        = ReadSettingString(QStringLiteral("Product"), QStringLiteral("ProductReg"), QString());
    if (!target.isEmpty()) {
        Shell().OpenDocument(target);
    }
}

void TFormAutorun::BtnExitClick()
{
    close();
}

void TFormAutorun::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    if (e->isAccepted() && !m_closed) {
        m_closed = true;
        TimerInstAcrobat->SetEnabled(false);
        Q_EMIT closed();
    }
}

bool TFormAutorun::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ImgBG) {
        CBackgroundDrag { m_dragOffset, m_dragging }.Filter(this, event);
    }
    return QWidget::eventFilter(watched, event);
}

void TFormAutorun::ImgBGMouseMove(QMouseEvent* e)
{
    CBackgroundDrag { m_dragOffset, m_dragging }.MouseMove(this, e);
}
