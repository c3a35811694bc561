#include "pages/framewlprofconfirm.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/utils.h"
#include "app/validation.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "pages/framewlprofkit.h"
#include "platform/ui/dialogs.h"
#include "protocol/codec/records.h"
#include "protocol/formudp.h"
#include "protocol/udpmessages.h"
#include "shell/formprogress.h"
#include "shell/pagekit.h"
#include "shell/picturebox.h"
#include "shell/shellsupport.h"
#include "shell/wizardmessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPrinter>

std::function<QPaintDevice*()> TFrameWlProfConfirm::PrintDeviceOverride;

namespace {

// Row geometry inside the group box.
constexpr int HEADING_LEFT = 20;
constexpr int CAPTION_LEFT = 40;
constexpr int CAPTION_WIDTH = 106;
constexpr int VALUE_LEFT = 150;
constexpr int VALUE_WIDTH = 418;
constexpr int ROW_HEIGHT = 16;
constexpr int ROW_STEP = 17;
constexpr int FIRST_HEADING_TOP = 20;
constexpr int SECTION_GAP = 6;

// Printed page: headings at x 100, rows at x 200, 100 units before each section.
constexpr int PRINT_HEADING_X = 100;
constexpr int PRINT_ROW_X = 200;
constexpr int PRINT_SECTION_GAP = 100;
constexpr int PRINT_POINT_SIZE = 10;

QString SectionText(const char* key, const char* def)
{
    return ReadSettingString(
        QStringLiteral("TFrameWlProfConfirm"), QString::fromLatin1(key), QString::fromLatin1(def));
}

QString DottedQuad(std::uint32_t a)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(a >> 24)
        .arg((a >> 16) & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg(a & 0xFF);
}

QLabel* CreateValueLabel(QWidget* parent, const char* name, QLabel* label = nullptr)
{
    if (!label) {
        label = new QLabel(parent);
    }
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0x4F, 0x4F, 0x4F)); // 5197647
    label->setPalette(pal);
    label->setAutoFillBackground(false);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* CreateCaptionLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = CreateWlLabel(parent, name, text, QRect(), false);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* CreateHeading(QWidget* parent, const char* name, const QString& text)
{
    QLabel* label = CreateCaptionLabel(parent, name, text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

TFrameWlProfConfirm::TFrameWlProfConfirm(QWidget* parent)
    : TFrameBase(parent)
{
    resize(PAGE_WIDTH, PAGE_HEIGHT);
    ImgBG = CreatePageBackground(this);
    GBoxConfirm = CreateWlGroupBox(this, "GBoxConfirm", QStringLiteral("Confirm New Settings"));
    QWidget* box = GBoxConfirm;

    LbNetworkInfo = CreateHeading(box, "LbNetworkInfo", QStringLiteral("Network Settings"));
    LbIP = CreateCaptionLabel(box, "LbIP", QStringLiteral("IP Address:"));
    LblIP = CreateValueLabel(box, "LblIP");
    LbMask = CreateCaptionLabel(box, "LbMask", QStringLiteral("Subnet:"));
    LblMask = CreateValueLabel(box, "LblMask");
    LbGateway = CreateCaptionLabel(box, "LbGateway", QStringLiteral("Gateway:"));
    LblGateway = CreateValueLabel(box, "LblGateway");
    LbWirelessInfo = CreateHeading(box, "LbWirelessInfo", QStringLiteral("Wireless Settings"));
    LbSSID = CreateCaptionLabel(box, "LbSSID", QStringLiteral("SSID"));
    LblSSID = new TEllipsisLabel(box);
    CreateValueLabel(box, "LblSSID", LblSSID);
    LblSSID->SetEllipsisEnd(true);
    LbWirelessMode = CreateCaptionLabel(box, "LbWirelessMode", QStringLiteral("Wireless Mode:"));
    LblWirelessMode = CreateValueLabel(box, "LblWirelessMode");
    LbSecurity = CreateCaptionLabel(box, "LbSecurity", QStringLiteral("Security Mode:"));
    LblSecurity = CreateValueLabel(box, "LblSecurity");
    LbInfo1 = CreateCaptionLabel(box, "LbInfo1", QString());
    LblInfo1 = CreateValueLabel(box, "LblInfo1");
    LbInfo2 = CreateCaptionLabel(box, "LbInfo2", QString());
    LblInfo2 = CreateValueLabel(box, "LblInfo2");
    LbInfo3 = CreateCaptionLabel(box, "LbInfo3", QString());
    LblInfo3 = CreateValueLabel(box, "LblInfo3");
    ArrangeRows(true);

    LbComfirmMsg = CreateWlLabel(box, "LbComfirmMsg",
        QStringLiteral("Save or print your configuration settings (recommended)"), QRect(20, 226, 350, 32),
        false);
    LbComfirmMsg->setWordWrap(true);
    BtnSave = CreateWizardButton(box, "BtnSave", QStringLiteral("Save"), TButtonPlace::Left);
    BtnSave->SetBounds(384, 230, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnSave, &TTrifaceBtn::clicked, this, &TFrameWlProfConfirm::BtnSaveClick);
    BtnPrint = CreateWizardButton(box, "BtnPrint", QStringLiteral("Print"), TButtonPlace::Left);
    BtnPrint->SetBounds(476, 230, BUTTON_WIDTH, BUTTON_HEIGHT);
    connect(BtnPrint, &TTrifaceBtn::clicked, this, &TFrameWlProfConfirm::BtnPrintClick);

    const TWizardButtons b = CreateWlWizardButtons(this);
    BtnExit = b.Exit;
    BtnBack = b.Back;
    BtnNext = b.Next;
    connect(BtnNext, &TTrifaceBtn::clicked, this, &TFrameWlProfConfirm::BtnNextClick);
}

void TFrameWlProfConfirm::InitFrame()
{
    TakePageArtwork(ImgBG, { BtnExit, BtnBack, BtnNext, BtnSave, BtnPrint });
    TFrameBase::InitFrame();
}

QList<TFrameWlProfConfirm::TRow> TFrameWlProfConfirm::NetworkRows() const
{
    return { { LbIP, LblIP }, { LbMask, LblMask }, { LbGateway, LblGateway } };
}

QList<TFrameWlProfConfirm::TRow> TFrameWlProfConfirm::WirelessRows() const
{
    return { { LbSSID, LblSSID }, { LbWirelessMode, LblWirelessMode }, { LbSecurity, LblSecurity },
        { LbInfo1, LblInfo1 }, { LbInfo2, LblInfo2 }, { LbInfo3, LblInfo3 } };
}

void TFrameWlProfConfirm::ArrangeRows(bool networkShown)
{
    int y = FIRST_HEADING_TOP;
    LbNetworkInfo->setVisible(networkShown);
    for (const TRow& row : NetworkRows()) {
        row.caption->setVisible(networkShown);
        row.value->setVisible(networkShown);
    }
    if (networkShown) {
        LbNetworkInfo->setGeometry(HEADING_LEFT, y, 300, ROW_HEIGHT);
        for (const TRow& row : NetworkRows()) {
            y += ROW_STEP;
            row.caption->setGeometry(CAPTION_LEFT, y, CAPTION_WIDTH, ROW_HEIGHT);
            row.value->setGeometry(VALUE_LEFT, y, VALUE_WIDTH, ROW_HEIGHT);
        }
        y += ROW_STEP + SECTION_GAP;
    }
    LbWirelessInfo->setGeometry(HEADING_LEFT, y, 300, ROW_HEIGHT);
    for (const TRow& row : WirelessRows()) {
        y += ROW_STEP;
        row.caption->setGeometry(CAPTION_LEFT, y, CAPTION_WIDTH, ROW_HEIGHT);
        row.value->setGeometry(VALUE_LEFT, y, VALUE_WIDTH, ROW_HEIGHT);
    }
}

void TFrameWlProfConfirm::ClearInfoRows()
{
    for (QLabel* l : { LbInfo1, LblInfo1, LbInfo2, LblInfo2, LbInfo3, LblInfo3 }) {
        l->clear();
    }
}

bool TFrameWlProfConfirm::NetworkSectionShown()
{
    return g_Var.DeviceMode == DEVICE_AP || g_Var.WlMethod == 2;
}

bool TFrameWlProfConfirm::CanEnter(TFrameBase* from, int direction, LPARAM param)
{
    if (direction == WZ_DIR_FORWARD) {
        ClearInfoRows();
        const tag_IP_CONFIG& ip = g_Var.NewIPConfig;
        LblIP->setText(DottedQuad(ip.LAN_IP));
        LblMask->setText(DottedQuad(ip.LAN_NETMASK));
        LblGateway->setText(DottedQuad(ip.LAN_GATEWAY));

        const tag_WL_CONFIG& wl = g_Var.NewWlConfig;
        LblSSID->setText(FieldToText(wl.WL_SSID, int(sizeof(wl.WL_SSID))));
        LblWirelessMode->setText(CodeText(g_Var.WlModeText, 10, wl.WL_MODE));
        switch (wl.WL_SECURITY_MODE) {
        case 0:
            LblSecurity->setText(g_Var.SecurityText[0]);
            break;
        case 1:
            LblSecurity->setText(g_Var.SecurityText[1]);
            LbInfo1->setText(SectionText("LbWEPMode", "WEP Key Length:"));
            LblInfo1->setText(CodeText(g_Var.WepLenText, 2, wl.WL_WEPKEY_LEN));
            LbInfo2->setText(SectionText("LbAuthen", "Authentication:"));
            LblInfo2->setText(CodeText(g_Var.AuthText, 3, wl.WL_AUTH_MODE));
            LbInfo3->setText(SectionText("LbKey", "Key:"));
            LblInfo3->setText(FieldToText(wl.WL_WEPKEY, int(sizeof(wl.WL_WEPKEY))));
            break;
        case 2:
            LblSecurity->setText(g_Var.SecurityText[2]);
            LbInfo1->setText(SectionText("LbWPAMode", "WPA Mode:"));
            LblInfo1->setText(CodeText(g_Var.WpaModeText, 3, wl.WL_WPA_MODE));
            LbInfo2->setText(SectionText("LbCipher", "Cipher Type:"));
            LblInfo2->setText(CodeText(g_Var.CipherText, 3, wl.WL_WPA_CIPHER));
            LbInfo3->setText(SectionText("LbKey", "Key:"));
            LblInfo3->setText(FieldToText(wl.WL_WPA_PSK, int(sizeof(wl.WL_WPA_PSK))));
            break;
        default:
            LblSecurity->clear();
            break;
        }

        const bool apMode = g_Var.DeviceMode == DEVICE_AP;
        BtnNext->setText(
            apMode ? SectionText("BtnNext_AP", "Configure") : SectionText("BtnNext_BRIDGE", "Connect"));
        LbWirelessInfo->setText(apMode ? SectionText("LbWirelessInfo_AP", "Wireless Settings")
                                       : SectionText("LbWirelessInfo_BRIDGE", "Wireless Profile"));
        ArrangeRows(NetworkSectionShown());
    }
    return TFrameBase::CanEnter(from, direction, param);
}

// ---------------------------------------------------------------------------------------------
// Writing the profile

void TFrameWlProfConfirm::BtnNextClick()
{
    if (m_progress) {
        return; // a write is running
    }
    RetryLogin = true;
    if (RunWrite() == mrOk) {
        PostWizard(WZ_NEXT);
        return;
    }
    MessageBoxInfo(MessageText(msg::ER_CONNECT, msg::ER_CONNECTText));
    if (g_Var.NonWorking) {
        PostWizard(WZ_NEXT);
    }
}

int TFrameWlProfConfirm::RunWrite()
{
    TFormProgress dialog;
    dialog.OnStart = [this] { SendSettings(); };
    m_progress = &dialog;
    const int result = dialog.ExecuteCentered(this);
    m_progress = nullptr;
    return result;
}

void TFrameWlProfConfirm::EndProgress(int result)
{
    if (m_progress) {
        m_progress->SetModalResult(result);
    }
}

void TFrameWlProfConfirm::SendSettings()
{
    if (FormUDP && FormUDP->LoggedIn) {
        if (g_Var.DeviceMode == DEVICE_AP) {
            DebugPrint("DEVICE_AP");
            FormUDP->SendWlSetting(32000);
        } else {
            DebugPrint("not DEVICE_AP");
            FormUDP->SendWlStationSetting(32000);
        }
    } else if (FormUDP && RetryLogin) {
        RetryLogin = false;
        FormUDP->SendLogin(5000);
    } else {
        EndProgress(mrCancel);
    }
}

LRESULT TFrameWlProfConfirm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_progress && (msg == UM_UDP_RECV || msg == UM_UDP_TIMEOUT)) {
        const int op = int(wParam);
        const bool setOp = op == OP_WL_SETTING || op == OP_WL_STATION_SETTING;
        if (msg == UM_UDP_RECV) {
            if (setOp) {
                if (lParam != 0) {
                    WaitWithMessages(3000);
                    if (m_progress && FormUDP) {
                        FormUDP->SendGetConfig(15000);
                    }
                } else {
                    EndProgress(mrCancel);
                }
            } else if (op == OP_LOGIN) {
                if (lParam != 0) {
                    SendSettings();
                } else {
                    EndProgress(mrCancel);
                }
            } else if (op == OP_GET_CONFIG) {
                EndProgress(mrOk);
            }
        } else {
            if (setOp) {
                if (RetryLogin && FormUDP) {
                    RetryLogin = false;
                    FormUDP->SendLogout(0);
                    FormUDP->SendLogin(5000);
                } else {
                    EndProgress(mrCancel);
                }
            } else if (op == OP_LOGIN || op == OP_GET_CONFIG) {
                EndProgress(mrCancel);
            }
        }
    }
    return TFrameBase::WndProc(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Save and print

QList<TFrameWlProfConfirm::TSummaryLine> TFrameWlProfConfirm::Summary() const
{
    QList<TSummaryLine> lines;
    auto addRow = [&lines](const TRow& row) {
        lines.append({ false, row.caption->text() + QLatin1Char(' ') + row.value->text() });
    };
    if (NetworkSectionShown()) {
        lines.append({ true, LbNetworkInfo->text() });
        for (const TRow& row : NetworkRows()) {
            addRow(row);
        }
    }
    lines.append({ true, LbWirelessInfo->text() });
    const QList<TRow> rows = WirelessRows();
    for (int i = 0; i < rows.size(); ++i) {
        // The detail rows only when their caption is set.
        if (i < 3 || !rows[i].caption->text().isEmpty()) {
            addRow(rows[i]);
        }
    }
    return lines;
}

QStringList TFrameWlProfConfirm::SummaryLines() const
{
    QStringList lines;
    for (const TSummaryLine& line : Summary()) {
        lines << (line.heading ? line.text : QLatin1Char('\t') + line.text);
    }
    return lines;
}

bool TFrameWlProfConfirm::SaveSettingsTo(const QString& fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray bytes;
    for (const QString& line : SummaryLines()) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    file.write(bytes);
    file.close();
    return true;
}

void TFrameWlProfConfirm::BtnSaveClick()
{
    QString fileName
        = GetSaveFileName(this, QString(), QStringLiteral("Text File(*.txt)"), QStringLiteral("txt"));
    if (fileName.isEmpty()) {
        return;
    }
    if (QFileInfo(fileName).suffix().isEmpty()) {
        fileName += QStringLiteral(".txt");
    }
    // A file that cannot be opened is passed over without a message.
    SaveSettingsTo(fileName);
}

void TFrameWlProfConfirm::PrintSettings(QPainter& painter) const
{
    QFont font = painter.font();
    font.setPointSize(PRINT_POINT_SIZE);
    painter.setFont(font);
    const QFontMetrics fm = painter.fontMetrics();
    // Text is placed by its top edge, as on the printer canvas.
    auto textOut = [&painter, &fm](int x, int y, const QString& text) {
        painter.drawText(QPoint(x, y + fm.ascent()), text);
        return fm.height();
    };

    int y = 0;
    for (const TSummaryLine& line : Summary()) {
        if (line.heading) {
            y += PRINT_SECTION_GAP;
            y += textOut(PRINT_HEADING_X, y, line.text);
        } else {
            y += textOut(PRINT_ROW_X, y, line.text);
        }
    }
}

void TFrameWlProfConfirm::BtnPrintClick()
{
    QPrinter printer;
    if (!ExecPrintDialog(this, printer)) {
        return;
    }
    QPaintDevice* device = &printer;
    if (PrintDeviceOverride) {
        device = PrintDeviceOverride();
    } else if (DialogSeam::IsActive()) {
        // Under the dialog seam nothing goes to a real printer.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::temp().filePath(QStringLiteral("qrx-print-seam.pdf")));
    }
    QPainter painter;
    if (!device || !painter.begin(device)) {
        return;
    }
    PrintSettings(painter);
    painter.end();
}
