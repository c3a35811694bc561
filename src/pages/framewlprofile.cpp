#include "pages/framewlprofile.h"

#include "app/globalvar.h"
#include "pages/framewlprofband.h"
#include "pages/framewlprofconfirm.h"
#include "pages/framewlprofpsk.h"
#include "pages/framewlprofsecurity.h"
#include "pages/framewlprofssid.h"
#include "pages/framewlprofwep.h"
#include "pages/framewlprofwlmode.h"
#include "protocol/udpmessages.h"
#include "shell/pagekit.h"
#include "shell/wizardmessages.h"

namespace {
template <typename T> T* CreateSubPage(TFrameWlProfile* host, const char* instance)
{
    auto* page = new T(host);
    page->setObjectName(QString::fromLatin1(instance));
    page->move(0, 0);
    return page;
}
} // namespace

TFrameWlProfile::TFrameWlProfile(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT - 1);
    FrameWlProfSSID1 = CreateSubPage<TFrameWlProfSSID>(this, "FrameWlProfSSID1");
    FrameWlProfSecurity1 = CreateSubPage<TFrameWlProfSecurity>(this, "FrameWlProfSecurity1");
    FrameWlProfWEP1 = CreateSubPage<TFrameWlProfWEP>(this, "FrameWlProfWEP1");
    FrameWlProfPSK1 = CreateSubPage<TFrameWlProfPSK>(this, "FrameWlProfPSK1");
    FrameWlProfConfirm1 = CreateSubPage<TFrameWlProfConfirm>(this, "FrameWlProfConfirm1");
    FrameWlProfWlMode1 = CreateSubPage<TFrameWlProfWlMode>(this, "FrameWlProfWlMode1");
    FrameWlProfBand1 = CreateSubPage<TFrameWlProfBand>(this, "FrameWlProfBand1");
}

QList<TFrameBase*> TFrameWlProfile::SubPages() const
{
    return { FrameWlProfSSID1, FrameWlProfSecurity1, FrameWlProfWEP1, FrameWlProfPSK1, FrameWlProfConfirm1,
        FrameWlProfWlMode1, FrameWlProfBand1 };
}

void TFrameWlProfile::InitFrame()
{
    for (TFrameBase* page : SubPages()) {
        page->InitFrame();
        page->hide();
    }
    TFrameBase::InitFrame();
}

void TFrameWlProfile::DoneFrame()
{
    for (TFrameBase* page : SubPages()) {
        page->DoneFrame();
    }
    TFrameBase::DoneFrame();
}

void TFrameWlProfile::EnterFrame(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        ShowSubPage(FrameWlProfSSID1, WZ_DIR_FORWARD);
    }
    TFrameBase::EnterFrame(from, direction, param);
}

LRESULT TFrameWlProfile::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT || msg == UM_UDP_EVENT) && m_subPage) {
        m_subPage->WndProc(msg, wParam, lParam);
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}

bool TFrameWlProfile::StepSubPage(bool forward)
{
    return forward ? NextSubPage() : PrevSubPage();
}

bool TFrameWlProfile::ShowSubPage(TFrameBase* page, int direction)
{
    if (page && !page->CanEnter(m_subPage, direction, 0)) {
        return false;
    }
    TFrameBase* const previous = m_subPage;
    if (previous) {
        previous->hide();
        previous->LeaveFrame(page, direction, 0);
    }
    if (page) {
        page->show();
        page->repaint();
        page->EnterFrame(previous, direction, 0);
    }
    m_subPage = page;
    return true;
}

bool TFrameWlProfile::NextSubPage()
{
    if (m_subPage && !m_subPage->CanLeave(nullptr, WZ_DIR_FORWARD, 0)) {
        return false;
    }
    TFrameBase* next = nullptr;
    if (m_subPage == FrameWlProfSSID1) {
        next = FrameWlProfWlMode1;
    } else if (m_subPage == FrameWlProfWlMode1) {
        next = FrameWlProfSecurity1;
    } else if (m_subPage == FrameWlProfSecurity1) {
        switch (g_Var.NewWlConfig.WL_SECURITY_MODE) {
        case 0:
            next = FrameWlProfConfirm1;
            break;
        case 1:
            next = FrameWlProfWEP1;
            break;
        case 2:
            next = FrameWlProfPSK1;
            break;
        default:
            return false;
        }
    } else if (m_subPage == FrameWlProfWEP1 || m_subPage == FrameWlProfPSK1) {
        next = FrameWlProfConfirm1;
    } else if (m_subPage == FrameWlProfConfirm1) {
        return true;
    } else {
        return false; // no sub-page on show (or the band page)
    }
    ShowSubPage(next, WZ_DIR_FORWARD);
    return false;
}

bool TFrameWlProfile::PrevSubPage()
{
    TFrameBase* const previous = m_subPage ? m_subPage->PrevPage : nullptr;
    if (m_subPage && !m_subPage->CanLeave(nullptr, WZ_DIR_BACK, 0)) {
        return false;
    }
    if (!previous || m_subPage == FrameWlProfSSID1) {
        return true;
    }
    ShowSubPage(previous, WZ_DIR_BACK);
    return false;
}
