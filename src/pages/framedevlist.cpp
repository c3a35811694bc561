#include "pages/framedevlist.h"

#include "app/globalvar.h"
#include "app/utils.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"
#include "pages/accesskit.h"
#include "platform/core/timer.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>

namespace {
constexpr std::uint32_t DISCOVER_TIMEOUT = 4000;
constexpr std::uint32_t SEARCH_FALLBACK = 10000;
} // namespace

TFrameDevList::TFrameDevList(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxDevList = acc::CreatePageGroupBox(this, "GBoxDevList", QString());
    LbDevListInfo = acc::CreateLabel(
        GBoxDevList, "LbDevListInfo", QStringLiteral("Search for device on the network"), 16, 18, 400, 16);

    LvDevList = new TSortListView(GBoxDevList);
    LvDevList->setObjectName(QStringLiteral("LvDevList"));
    LvDevList->setGeometry(16, 40, 544, 196);
    QFont listFont(QStringLiteral("Tahoma"));
    listFont.setPixelSize(13);
    LvDevList->setFont(listFont);
    LvDevList->SetGridLines(true);
    LvDevList->setSelectionMode(QAbstractItemView::SingleSelection);
    LvDevList->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvDevList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays visible when the list has no focus.
    QPalette pal = LvDevList->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
        pal.color(QPalette::Active, QPalette::HighlightedText));
    LvDevList->setPalette(pal);
    LvDevList->AddColumn(QStringLiteral("Name"), 300);
    LvDevList->AddColumn(QStringLiteral("MAC Address"), 168);
    connect(LvDevList, &TSortListView::SelectItem, this, &TFrameDevList::LvDevListSelectItem);

    BtnRefresh = CreateWizardButton(GBoxDevList, "BtnRefresh", QStringLiteral("Refresh"), TButtonPlace::Left);
    BtnRefresh->SetBounds(475, 244, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnRefresh, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnRefreshClick);

    PlSearch = new TPaintPanel(GBoxDevList);
    PlSearch->setObjectName(QStringLiteral("PlSearch"));
    PlSearch->SetCaption(QStringLiteral("Searching..."));
    PlSearch->setFrameShape(QFrame::NoFrame);
    PlSearch->setAutoFillBackground(true);
    QPalette white = PlSearch->palette();
    white.setColor(QPalette::Window, Qt::white);
    PlSearch->setPalette(white);
    PlSearch->setGeometry(16 + (544 - 200) / 2, 40 + (196 - 40) / 2, 200, 40);
    PlSearch->hide();

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnBackClick);
    BtnCfg = CreateWizardButton(this, "BtnCfg", QStringLiteral("Configure"), TButtonPlace::Right);
    connect(BtnCfg, &TTrifaceBtn::clicked, this, &TFrameDevList::BtnCfgClick);
    BtnCfg->setEnabled(false);

    TimerSearch = new TTimer(this);
    TimerSearch->setObjectName(QStringLiteral("TimerSearch"));
    TimerSearch->SetEnabled(false);
    TimerSearch->SetInterval(SEARCH_FALLBACK);
    TimerSearch->OnTimer = [this](TTimer*) { TimerSearchTimer(); };
}

TFrameDevList::~TFrameDevList()
{
    TimerSearch->SetEnabled(false);
}

void TFrameDevList::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnRefresh, BtnExit, BtnBack, BtnCfg });
    TimerSearch->SetEnabled(false);
    PlSearch->hide();
    ClearDevList();
    TFrameBase::InitFrame();
}

void TFrameDevList::DoneFrame()
{
    ClearDevList();
    TFrameBase::DoneFrame();
}

bool TFrameDevList::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        BtnRefreshClick();
    }
    return TFrameBase::CanEnter(from, direction, param);
}

LRESULT TFrameDevList::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The engine's discovery wait has ended: list the answers now rather than after 10 s.
    if (msg == UM_UDP_TIMEOUT && TimerSearch->Enabled()) {
        TimerSearchTimer();
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}

const tag_DEV_INFO* TFrameDevList::RowDevice(const QTreeWidgetItem* item) const
{
    bool ok = false;
    const int index = TSortListView::RowData(item).toInt(&ok);
    if (!ok || index < 0 || std::size_t(index) >= m_devices.size()) {
        return nullptr;
    }
    return &m_devices[std::size_t(index)];
}

void TFrameDevList::ClearDevList()
{
    BtnCfg->setEnabled(false);
    LvDevList->setUpdatesEnabled(false);
    LvDevList->ClearRows();
    m_devices.clear();
    LvDevList->setUpdatesEnabled(true);
}

void TFrameDevList::BtnRefreshClick()
{
    ClearDevList();
    if (!FormUDP || !FormUDP->SendDiscover(DISCOVER_TIMEOUT, true)) {
        return; // no adapter: the engine has said so
    }
    BtnRefresh->setEnabled(false);
    PlSearch->show();
    PlSearch->raise();
    TimerSearch->Tag = 0;
    TimerSearch->SetEnabled(true);
}

void TFrameDevList::TimerSearchTimer()
{
    TimerSearch->SetEnabled(false);
    std::vector<tag_DEV_INFO> found;
    if (FormUDP) {
        FormUDP->GetDeviceList(found);
    }
    LvDevList->setUpdatesEnabled(false);
    for (const tag_DEV_INFO& dev : found) {
        m_devices.push_back(dev);
        const int index = int(m_devices.size() - 1);
        LvDevList->AddRow(
            { FieldToText(dev.DevName, int(sizeof dev.DevName)), MacToText(dev.DevMAC) }, index);
    }
    LvDevList->setUpdatesEnabled(true);
    BtnRefresh->setEnabled(true);
    PlSearch->hide();
    if (g_Var.NonWorking) {
        BtnCfg->setEnabled(true);
    }
}

void TFrameDevList::LvDevListSelectItem(QTreeWidgetItem* /*item*/, bool /*selected*/)
{
    if (!g_Var.NonWorking) {
        BtnCfg->setEnabled(LvDevList->Selected() != nullptr);
    }
}

void TFrameDevList::BtnCfgClick()
{
    const tag_DEV_INFO* dev = RowDevice(LvDevList->Selected());
    if (dev) {
        g_Var.SelectedDevice = *dev;
    } else if (!g_Var.NonWorking) {
        return;
    }
    g_Var.ResetIPConfig(g_Var.DevIPConfig);
    g_Var.ResetIPConfig(g_Var.NewIPConfig);
    g_Var.ResetWlConfig(g_Var.DevWlConfig);
    g_Var.ResetWlConfig(g_Var.NewWlConfig);
    PostWizard(WZ_NEXT);
}

void TFrameDevList::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameDevList::BtnBackClick()
{
    PostWizard(WZ_BACK);
}
