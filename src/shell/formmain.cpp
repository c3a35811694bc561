#include "shell/formmain.h"

#include "app/globalvar.h"
#include "launcher/framelicense.h"
#include "launcher/frametutorial.h"
#include "launcher/frametutorial2.h"
#include "launcher/framewelcome.h"
#include "pages/frameadhocmode.h"
#include "pages/framedevipcfg.h"
#include "pages/framedevlist.h"
#include "pages/framepassword.h"
#include "pages/framesetupmethod.h"
#include "pages/framesetwlmethod.h"
#include "pages/framesitesurvey.h"
#include "pages/framesuccess.h"
#include "pages/framewlconfig.h"
#include "pages/framewlmodesel.h"
#include "pages/framewlprofile.h"
#include "pages/framewpsmethod.h"
#include "platform/ui/dialogs.h"
#include "protocol/codec/records.h"
#include "protocol/udpmessages.h"
#include "shell/backgrounddrag.h"
#include "shell/formres.h"
#include "shell/framebase.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

TFormMain* FormMain = nullptr;

namespace {
template <typename T> T* CreatePage(TFormMain* form, const char* instance)
{
    auto* page = new T(form);
    page->setObjectName(QString::fromLatin1(instance));
    page->move(0, PAGE_TOP);
    return page;
}
} // namespace

TFormMain::TFormMain(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("FormMain"));
    setFixedSize(600, 450);
    setModal(true);

    ImgBG = new TPictureBox(this);
    ImgBG->setObjectName(QStringLiteral("ImgBG"));
    ImgBG->SetAutoSize(true);
    ImgBG->setGeometry(0, 0, 600, 450);
    ImgBG->setMouseTracking(true);
    ImgBG->installEventFilter(this);

    FrameWelcome1 = CreatePage<TFrameWelcome>(this, "FrameWelcome1");
    FrameLicense1 = CreatePage<TFrameLicense>(this, "FrameLicense1");
    FrameTutorial1 = CreatePage<TFrameTutorial>(this, "FrameTutorial1");
    FrameDevList1 = CreatePage<TFrameDevList>(this, "FrameDevList1");
    FramePassword1 = CreatePage<TFramePassword>(this, "FramePassword1");
    FrameSetupMethod1 = CreatePage<TFrameSetupMethod>(this, "FrameSetupMethod1");
    FrameDevIPCfg1 = CreatePage<TFrameDevIPCfg>(this, "FrameDevIPCfg1");
    FrameSetWlMethod1 = CreatePage<TFrameSetWlMethod>(this, "FrameSetWlMethod1");
    FrameWPSMethod1 = CreatePage<TFrameWPSMethod>(this, "FrameWPSMethod1");
    FrameSuccess1 = CreatePage<TFrameSuccess>(this, "FrameSuccess1");
    FrameWlProfile1 = CreatePage<TFrameWlProfile>(this, "FrameWlProfile1");
    FrameAdhocMode1 = CreatePage<TFrameAdhocMode>(this, "FrameAdhocMode1");
    FrameWlModeSel1 = CreatePage<TFrameWlModeSel>(this, "FrameWlModeSel1");
    FrameWlConfig1 = CreatePage<TFrameWlConfig>(this, "FrameWlConfig1");
    FrameSiteSurvey1 = CreatePage<TFrameSiteSurvey>(this, "FrameSiteSurvey1");
    FrameTutorial21 = CreatePage<TFrameTutorial2>(this, "FrameTutorial21");

    // Centred on the desktop.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.left() + (desk.width() - width()) / 2, desk.top() + (desk.height() - height()) / 2);
    }

    FormCreate();
}

TFormMain::~TFormMain()
{
    FormDestroy();
    if (FormMain == this) {
        FormMain = nullptr;
    }
}

QList<TFrameBase*> TFormMain::Pages() const
{
    QList<TFrameBase*> pages;
    for (QObject* child : children()) {
        if (child->inherits("TFrameBase")) {
            pages.append(static_cast<TFrameBase*>(child));
        }
    }
    return pages;
}

TFrameBase* TFormMain::PageByName(const QString& name) const
{
    for (TFrameBase* page : Pages()) {
        if (page->objectName() == name) {
            return page;
        }
    }
    return nullptr;
}

void TFormMain::FormCreate()
{
    setWindowTitle(g_Var.AppTitle);
    ApplyTextsLocked(this, QStringLiteral("FormMain"));

    if (FormRes) {
        ImgBG->SetPicture(FormRes->ImgBGMain->Picture());
    }
    ApplyLayoutLocked(this, QStringLiteral("FormMain"));

    for (TFrameBase* page : Pages()) {
        page->InitFrame();
        page->hide();
    }

    CurrentPage = nullptr;
    PostMessage(this, UM_WIZARD, WZ_NEXT, 0);
}

void TFormMain::FormDestroy()
{
    for (TFrameBase* page : Pages()) {
        page->DoneFrame();
    }
}

LRESULT TFormMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case UM_WIZARD:
        OnWizard(wParam, lParam);
        break;
    case UM_UDP_RECV:
    case UM_UDP_TIMEOUT:
    case UM_UDP_EVENT:
        if (CurrentPage) {
            CurrentPage->WndProc(msg, wParam, lParam);
        }
        break;
    default:
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TFormMain::OnWizard(WPARAM kind, LPARAM param)
{
    switch (kind) {
    case WZ_EXIT:
        ExitQuestion();
        break;
    case WZ_NEXT:
        GoNext(param);
        break;
    case WZ_BACK:
        GoBack(param);
        break;
    default:
        break;
    }
}

void TFormMain::ExitQuestion()
{
    const QString text = ReadSettingString(QStringLiteral("Message"), QStringLiteral("MSG_Exit"),
        QStringLiteral("Do you want to exit the Setup Wizard?"));
    if (MessageBoxQuestion(text) != mrNo) {
        done(mrOk);
    }
}

bool TFormMain::SwitchTo(TFrameBase* target, int direction, LPARAM param)
{
    if (target == CurrentPage) {
        return true;
    }
    if (CurrentPage && !CurrentPage->CanLeave(target, direction, param)) {
        return false;
    }
    if (target && !target->CanEnter(CurrentPage, direction, param)) {
        return false;
    }
    TFrameBase* previous = CurrentPage;
    if (previous) {
        previous->hide();
        previous->LeaveFrame(target, direction, param);
    }
    if (target) {
        target->show();
        target->EnterFrame(previous, direction, param);
    }
    CurrentPage = target;
    return true;
}

bool TFormMain::StepSubPage(bool forward)
{
    return FrameWlProfile1->StepSubPage(forward);
}

bool TFormMain::SetIPChecked() const
{
    return FrameSetupMethod1->RBtnSetIP->isChecked();
}

void TFormMain::CopyConfiguration()
{
    g_Var.NewIPConfig = g_Var.DevIPConfig;
    g_Var.NewWlConfig = g_Var.DevWlConfig;
}

void TFormMain::GoNext(LPARAM param)
{
    TFrameBase* const page = CurrentPage;
    const bool apMode = g_Var.DeviceMode == DEVICE_AP;
    TFrameBase* const afterIP = apMode ? static_cast<TFrameBase*>(FrameSetWlMethod1) : FrameWlProfile1;
    TFrameBase* target = nullptr;

    if (page == nullptr || page == FrameWelcome1) {
        target = FrameLicense1;
    } else if (page == FrameLicense1) {
        target = FrameTutorial1;
    } else if (page == FrameTutorial1) {
        target = FrameTutorial21;
    } else if (page == FrameTutorial21) {
        target = FrameDevList1;
    } else if (page == FrameDevList1) {
        target = FramePassword1;
    } else if (page == FramePassword1) {
        target = FrameWlModeSel1;
    } else if (page == FrameWlModeSel1) {
        target = apMode ? static_cast<TFrameBase*>(FrameSetupMethod1) : FrameSiteSurvey1;
    } else if (page == FrameSetupMethod1) {
        if (g_Var.SetupMethod == 0 && SetIPChecked()) {
            target = FrameDevIPCfg1;
        } else if (g_Var.SetupMethod == 0) {
            g_Var.SetupMethod = 1;
            CopyConfiguration();
            target = afterIP;
        } else if (g_Var.SetupMethod == 1) {
            target = afterIP;
        }
    } else if (page == FrameDevIPCfg1) {
        g_Var.SetupMethod = 1;
        CopyConfiguration();
        target = afterIP;
    } else if (page == FrameSetWlMethod1) {
        if (g_Var.WlMethod == 0) {
            target = FrameWPSMethod1;
        } else if (g_Var.WlMethod == 1) {
            target = apMode ? static_cast<TFrameBase*>(FrameWlProfile1) : FrameSiteSurvey1;
        }
    } else if (page == FrameSiteSurvey1) {
        if (g_Var.WlMethod == 1) {
            target = FrameWlProfile1;
        } else if (g_Var.WlMethod == 0) {
            target = FrameWPSMethod1;
        } else if (g_Var.WlMethod == 2) {
            target = FrameSetupMethod1;
        }
    } else if (page == FrameWlProfile1) {
        if (StepSubPage(true)) {
            target = FrameSuccess1;
        }
    } else if (page == FrameWPSMethod1) {
        target = FrameSuccess1;
    } else if (page == FrameSuccess1) {
        target = FrameSetupMethod1;
    }
    // FrameAdhocMode1, FrameWlConfig1 and any page without a rule: stay.

    if (target) {
        SwitchTo(target, WZ_DIR_FORWARD, param);
    }
}

void TFormMain::GoBack(LPARAM param)
{
    TFrameBase* const page = CurrentPage;
    const bool apMode = g_Var.DeviceMode == DEVICE_AP;
    TFrameBase* target = nullptr;
    int direction = WZ_DIR_BACK;

    if (page == FrameLicense1 || page == FrameTutorial1) {
        done(mrCancel);
        return;
    }
    if (page == FrameTutorial21) {
        target = FrameTutorial1;
    } else if (page == FrameDevList1) {
        target = FrameTutorial21;
    } else if (page == FramePassword1 || page == FrameWlModeSel1) {
        target = FrameDevList1;
    } else if (page == FrameSetupMethod1) {
        target = apMode ? static_cast<TFrameBase*>(FrameWlModeSel1) : FrameSiteSurvey1;
    } else if (page == FrameDevIPCfg1) {
        target = FrameSetupMethod1;
    } else if (page == FrameSetWlMethod1) {
        target = SetIPChecked() ? static_cast<TFrameBase*>(FrameDevIPCfg1) : FrameSetupMethod1;
    } else if (page == FrameSiteSurvey1) {
        target = FrameWlModeSel1;
    } else if (page == FrameWlProfile1) {
        if (StepSubPage(false)) {
            if (apMode) {
                target = FrameSetWlMethod1;
            } else if (g_Var.WlMethod == 1) {
                target = FrameSiteSurvey1;
            } else if (g_Var.WlMethod == 2) {
                target = SetIPChecked() ? static_cast<TFrameBase*>(FrameDevIPCfg1) : FrameSetupMethod1;
            }
        }
    } else if (page == FrameWPSMethod1) {
        if (apMode) {
            // The wireless method page is entered as from the front.
            target = FrameSetWlMethod1;
            direction = WZ_DIR_FORWARD;
        } else {
            target = FrameSiteSurvey1;
        }
    } else if (page == FrameSuccess1) {
        target = FrameWlModeSel1;
    }
    // None, FrameWelcome1, FrameAdhocMode1, FrameWlConfig1 and any page without a rule: stay.

    if (target) {
        SwitchTo(target, direction, param);
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ImgBG) {
        CBackgroundDrag { m_dragOffset, m_dragging }.Filter(this, event);
    }
    return QDialog::eventFilter(watched, event);
}

void TFormMain::ImgBGMouseMove(QMouseEvent* e)
{
    CBackgroundDrag { m_dragOffset, m_dragging }.MouseMove(this, e);
}
