#include "pages/framedevipcfg.h"

#include "app/globalvar.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "pages/frameipeditrect.h"
#include "platform/ui/dialogs.h"
#include "protocol/formudp.h"
#include "shell/formprogress.h"
#include "shell/formres.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/wizardmessages.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <cstring>

namespace {

TFrameIPEditRect* CreateEditor(QWidget* parent, const char* name, int x, int y)
{
    auto* e = new TFrameIPEditRect(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->move(x, y);
    return e;
}

CIpBoxes BoxesOf(const TFrameIPEditRect* editor)
{
    CIpBoxes boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.Box[std::size_t(i)] = editor->GetOctet(i + 1);
    }
    return boxes;
}

// The editor's text for a stored address: empty for 0 (and, for the gateway, for all ones).
QString EditorText(std::uint32_t value, bool gateway = false)
{
    if (value == 0 || (gateway && value == 0xFFFFFFFFu)) {
        return {};
    }
    return acc::AddressText(value);
}

bool SameIPConfig(const tag_IP_CONFIG& a, const tag_IP_CONFIG& b)
{
    return a.IP_MODE == b.IP_MODE && a.LAN_IP == b.LAN_IP && a.LAN_NETMASK == b.LAN_NETMASK
        && a.LAN_GATEWAY == b.LAN_GATEWAY && a.DNS1 == b.DNS1 && a.DNS2 == b.DNS2;
}

} // namespace

TFrameDevIPCfg::TFrameDevIPCfg(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, 324);
    ImgBG = CreatePageBackground(this);

    GBoxCfg = acc::CreatePageGroupBox(this, "GBoxCfg", QString());
    LbCfgInfo
        = acc::CreateLabel(GBoxCfg, "LbCfgInfo", QStringLiteral("Specify IP Address:"), 24, 20, 300, 16);

    RBtnDHCP = new QRadioButton(QStringLiteral("Obtain network settings automatically"), GBoxCfg);
    RBtnDHCP->setObjectName(QStringLiteral("RBtnDHCP"));
    RBtnDHCP->setGeometry(24, 40, 300, 17);
    RBtnDHCP->hide();
    connect(RBtnDHCP, &QRadioButton::clicked, this, &TFrameDevIPCfg::RBtnDHCPClick);
    RBtnStatic = new QRadioButton(QStringLiteral("Specify network settings"), GBoxCfg);
    RBtnStatic->setObjectName(QStringLiteral("RBtnStatic"));
    RBtnStatic->setGeometry(24, 60, 300, 17);
    RBtnStatic->hide();
    RBtnStatic->setChecked(true);
    connect(RBtnStatic, &QRadioButton::clicked, this, &TFrameDevIPCfg::RBtnDHCPClick);

    constexpr int labelX = 60, editX = 170, top = 50, step = 30;
    LbIP = acc::CreateLabel(GBoxCfg, "LbIP", QStringLiteral("IP Address:"), labelX, top, 100, 21);
    IPEditIP = CreateEditor(GBoxCfg, "IPEditIP", editX, top);
    LbMask = acc::CreateLabel(GBoxCfg, "LbMask", QStringLiteral("Subnet:"), labelX, top + step, 100, 21);
    IPEditMask = CreateEditor(GBoxCfg, "IPEditMask", editX, top + step);
    connect(IPEditMask, &TFrameIPEditRect::Entered, this, &TFrameDevIPCfg::IPEditMaskEnter);
    LbGateway
        = acc::CreateLabel(GBoxCfg, "LbGateway", QStringLiteral("Gateway:"), labelX, top + 2 * step, 100, 21);
    IPEditGateway = CreateEditor(GBoxCfg, "IPEditGateway", editX, top + 2 * step);
    LbDNS1 = acc::CreateLabel(GBoxCfg, "LbDNS1", QStringLiteral("DNS 1:"), labelX, top + 3 * step, 100, 21);
    IPEditDNS1 = CreateEditor(GBoxCfg, "IPEditDNS1", editX, top + 3 * step);
    LbDNS2 = acc::CreateLabel(GBoxCfg, "LbDNS2", QStringLiteral("DNS 2:"), labelX, top + 4 * step, 100, 21);
    IPEditDNS2 = CreateEditor(GBoxCfg, "IPEditDNS2", editX, top + 4 * step);
    for (QWidget* w : std::initializer_list<QWidget*> { LbDNS1, IPEditDNS1, LbDNS2, IPEditDNS2 }) {
        w->hide();
    }

    LbStaticIPInfo = acc::CreateLabel(GBoxCfg, "LbStaticIPInfo",
        QStringLiteral(
            "Note: Please refer to your computer\u2019s user guide regarding management of \u2018Static "
            "IP Address\u2019 information."),
        24, 200, 530, 32, false, true);
    LbClickNext = acc::CreateLabel(GBoxCfg, "LbClickNext", QStringLiteral("Click Next to continue"), 300, 248,
        256, 16, false, false, Qt::AlignRight | Qt::AlignVCenter);

    BtnExit = CreateWizardButton(this, "BtnExit", QStringLiteral("Exit"), TButtonPlace::Left);
    connect(BtnExit, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnExitClick);
    BtnBack = CreateWizardButton(this, "BtnBack", QStringLiteral("Back"), TButtonPlace::Middle);
    connect(BtnBack, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnBackClick);
    BtnNext = CreateWizardButton(this, "BtnNext", QStringLiteral("Configure"), TButtonPlace::Right);
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameDevIPCfg::BtnNextClick);
}

void TFrameDevIPCfg::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext });
    TFrameBase::InitFrame();
}

bool TFrameDevIPCfg::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        RBtnStatic->setChecked(true);
    }
    const tag_IP_CONFIG& cfg = g_Var.NewIPConfig;
    IPEditIP->SetText(EditorText(cfg.LAN_IP));
    IPEditMask->SetText(EditorText(cfg.LAN_NETMASK));
    IPEditGateway->SetText(EditorText(cfg.LAN_GATEWAY, true));
    IPEditDNS1->SetText(EditorText(cfg.DNS1));
    IPEditDNS2->SetText(EditorText(cfg.DNS2));
    UpdateEditors();
    return TFrameBase::CanEnter(from, direction, param);
}

void TFrameDevIPCfg::UpdateEditors()
{
    const bool on = RBtnStatic->isChecked();
    for (TFrameIPEditRect* e : { IPEditIP, IPEditMask, IPEditGateway, IPEditDNS1, IPEditDNS2 }) {
        e->SetEnabled(on);
    }
}

void TFrameDevIPCfg::RBtnDHCPClick()
{
    UpdateEditors();
}

void TFrameDevIPCfg::IPEditMaskEnter()
{
    if (!IPEditMask->GetText().isEmpty() || IPEditIP->GetText().isEmpty()) {
        return;
    }
    IPEditMask->SetText(ProposedMask(BoxesOf(IPEditIP)));
}

bool TFrameDevIPCfg::ValidateIP()
{
    const QString localIp = FormUDP ? FormUDP->LastLocalIP : QString();
    const CCheckResult r
        = ::ValidateIP(BoxesOf(IPEditIP), BoxesOf(IPEditMask), BoxesOf(IPEditGateway), localIp);
    if (r.Ok()) {
        return true;
    }
    MessageBoxInfo(r.Text());
    return false;
}

void TFrameDevIPCfg::BtnNextClick()
{
    if (m_ipWrite.Progress) {
        return;
    }
    tag_IP_CONFIG& cfg = g_Var.NewIPConfig;
    cfg.IP_MODE = RBtnDHCP->isChecked() ? 1 : 0;

    // x.y.z.255 is the subnet's broadcast address for the usual masks: x.y.z.254 is meant.
    QString ip = IPEditIP->GetText();
    if (CorrectBroadcastHost(ip)) {
        IPEditIP->SetText(ip);
    }
    if (!ValidateIP()) {
        return;
    }
    cfg.LAN_IP = acc::AddressValue(IPEditIP->GetText());
    cfg.LAN_NETMASK = acc::AddressValue(IPEditMask->GetText());
    cfg.LAN_GATEWAY = acc::AddressValue(IPEditGateway->GetText());
    cfg.DNS1 = acc::AddressValue(IPEditDNS1->GetText());
    cfg.DNS2 = acc::AddressValue(IPEditDNS2->GetText());

    if (SameIPConfig(cfg, g_Var.DevIPConfig)) {
        PostWizard(WZ_NEXT);
        return;
    }
    if (SendIPWithProgress()) {
        PostWizard(WZ_NEXT);
        return;
    }
    acc::ShowMessageText(msg::ER_CONNECT, msg::ER_CONNECTText);
    if (g_Var.NonWorking) {
        PostWizard(WZ_NEXT);
    }
}

bool TFrameDevIPCfg::SendIPWithProgress()
{
    return m_ipWrite.Run(this);
}

LRESULT TFrameDevIPCfg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_ipWrite.Handle(msg, wParam, lParam);
    return TFrameBase::WndProc(msg, wParam, lParam);
}

void TFrameDevIPCfg::BtnExitClick()
{
    PostWizard(WZ_EXIT);
}

void TFrameDevIPCfg::BtnBackClick()
{
    PostWizard(WZ_BACK);
}
