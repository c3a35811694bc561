#include "protocol/formudp.h"

#include "app/debug.h"
#include "app/globalvar.h"
#include "app/utils.h"
#include "platform/core/notify.h"
#include "protocol/codec/codec_log.h"
#include "protocol/codec/messages.h"

#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

TFormUDP* FormUDP = nullptr;

namespace {

const QString BROADCAST_IP = QStringLiteral("255.255.255.255");

void CodecLineToDebug(const char* line)
{
    DebugPrint("%s", line);
}

// The codec's detail lines go to the diagnostic log while it is on; while it is off the codec does
// not even format them. A sink that someone else installed is left alone.
void SyncCodecLogSink()
{
    const CodecLogSink current = GetCodecLogSink();
    if (current != nullptr && current != &CodecLineToDebug) {
        return;
    }
    const CodecLogSink wanted = g_Debug.IsOn() ? &CodecLineToDebug : nullptr;
    if (current != wanted) {
        SetCodecLogSink(wanted);
    }
}

QByteArray PasswordKey()
{
    return g_Var.Password.toUtf8();
}

} // namespace

std::function<void(const QString&, const QStringList&)> TFormUDP::RunHidden
    = [](const QString& program, const QStringList& args) {
          QProcess process;
          process.setProgram(program);
          process.setArguments(args);
          process.setStandardOutputFile(QProcess::nullDevice());
          process.setStandardErrorFile(QProcess::nullDevice());
          process.startDetached();
      };

TFormUDP::TFormUDP(QObject* owner)
    : QObject(owner)
    , TimerWait(new TTimer(this))
{
    setObjectName(QStringLiteral("FormUDP"));
    TimerWait->setObjectName(QStringLiteral("TimerWait"));
    TimerWait->SetEnabled(false);
    TimerWait->OnTimer = [this](TTimer* t) { TimerWaitTimer(t); };
    if (!FormUDP) {
        FormUDP = this;
    }
    FormCreate();
}

TFormUDP::~TFormUDP()
{
    FormDestroy();
    if (FormUDP == this) {
        FormUDP = nullptr;
    }
}

void TFormUDP::FormCreate()
{
    TimerWait->SetEnabled(false);
    SyncCodecLogSink();

    std::uint32_t ip = 0, mask = 0, gateway = 0;
    std::uint8_t mac[6] = {};
    if (g_IPHelp.GetLocalAddress(ip, mask, gateway, mac)) {
        OwnMAC = MacFromBytes(mac);
    } else {
        std::srand(unsigned(std::time(nullptr)));
        for (std::uint8_t& b : OwnMAC) {
            b = std::uint8_t(std::rand() % 256);
        }
    }
    DeviceList.clear();
    SurveyList.clear();
    PendingOp = OP_NONE;
    LoggedIn = false;
}

void TFormUDP::FormDestroy()
{
    CloseSockets();
    ClearDeviceList();
    ClearSurveyList();
}

// ---------------------------------------------------------------------------------------------
// Sockets
// ---------------------------------------------------------------------------------------------

bool TFormUDP::InitInterfaces()
{
    CAdapterList adapters;
    if (!g_IPHelp.GetAdapters(adapters)) {
        return false;
    }
    bool result = false;
    for (const CAdapterInfo& adapter : adapters) {
        for (const CAdapterAddress& entry : adapter.Addresses) {
            if (TextToIp(entry.IpText) == 0) {
                continue;
            }
            DebugPrint("Addr=%s, IP=%s, Iface=%s", MacToText(adapter.MAC).toUtf8().constData(),
                entry.IpText.toUtf8().constData(), adapter.Description.toUtf8().constData());
            auto* socket = new CUDPSocket;
            std::memcpy(socket->MAC, adapter.MAC, 6);
            socket->LocalIP = entry.IpText;
            socket->LocalMask = entry.MaskText;
            socket->LocalPort = LOCAL_PORT;
            socket->Device = adapter.Name;
            if (socket->Open(this, UM_SOCKET)) {
                SocketList.push_back(socket);
                result = true;
                break;
            }
            delete socket;
        }
    }
    return result;
}

void TFormUDP::CloseSockets()
{
    if (LoggedIn) {
        SendLogout(0);
        PendingOp = OP_NONE;
        LoggedIn = false;
    }
    for (CUDPSocket* socket : SocketList) {
        delete socket;
    }
    SocketList.clear();
}

void TFormUDP::ClearDeviceList()
{
    DeviceList.clear();
}

void TFormUDP::ClearSurveyList()
{
    SurveyList.clear();
}

QList<QStringList> TFormUDP::NeighbourFlushCommands(const std::vector<QString>& devices)
{
    QList<QStringList> out;
    for (const QString& dev : devices) {
        if (dev.isEmpty() || dev == QLatin1String("lo")) {
            continue;
        }
        out.push_back({ QStringLiteral("neigh"), QStringLiteral("flush"), QStringLiteral("dev"), dev });
    }
    return out;
}

bool TFormUDP::IsOwnSocket(const CUDPSocket* socket) const
{
    return socket && std::find(SocketList.begin(), SocketList.end(), socket) != SocketList.end();
}

// ---------------------------------------------------------------------------------------------
// Sending
// ---------------------------------------------------------------------------------------------

void TFormUDP::PostToMain(UINT msg, WPARAM wParam, LPARAM lParam)
{
    PostMessage(ApplicationMainWindow(), msg, wParam, lParam);
}

void TFormUDP::SendPacket(Packet& packet)
{
    SyncCodecLogSink();
    DumpPacket(false, packet.data(), int(packet.size()), 0, QString());
    const QByteArray key = PasswordKey();
    CipherPayload(packet, std::string_view(key.constData(), std::size_t(key.size())));
    for (CUDPSocket* socket : SocketList) {
        SetPacketMac(packet, MacFromBytes(socket->MAC));
        socket->Send(packet.data(), int(packet.size()), DestPort, BROADCAST_IP);
    }
}

bool TFormUDP::SendRequest(int op, Packet packet, std::uint32_t timeout)
{
    PendingOp = op;
    SendPacket(packet);
    if (timeout > 0) {
        TimerWait->SetInterval(timeout);
        TimerWait->SetEnabled(true);
    } else {
        PendingOp = OP_NONE;
    }
    return true;
}

bool TFormUDP::SendDiscover(std::uint32_t timeout, bool reinit)
{
    DebugPrint("TFormUDP::SendDiscover()");
    if (reinit) {
        CloseSockets();
        ClearDeviceList();
        const bool opened = InitInterfaces();
        // Empty the neighbour cache of the adapters in use, so that devices that changed their
        // address answer from the new one; never touch any other interface.
        std::vector<QString> devices;
        for (const CUDPSocket* socket : SocketList) {
            devices.push_back(socket->Device);
        }
        for (const QStringList& args : NeighbourFlushCommands(devices)) {
            if (RunHidden) {
                RunHidden(QStringLiteral("ip"), args);
            }
        }
        if (!opened) {
            DebugPrint("TFormUDP::SendDiscover() FAIL init interface");
            QString text = QStringLiteral("Unable to initialize adapter interface.");
            if (g_Var.Ini) {
                text = g_Var.Ini->ReadString(
                    QStringLiteral("Message"), QStringLiteral("ER_Ethr_Interface"), text);
            }
            ShowSimpleMessage(text);
            return false;
        }
    }
    PeerMAC = BROADCAST_MAC;
    DestPort = DEVICE_PORT;
    return SendRequest(OP_DISCOVER, BuildDiscoverRequest(OwnMAC), timeout);
}

bool TFormUDP::SendLogin(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendLogin()");
    DestPort = DEVICE_PORT;
    return SendRequest(OP_LOGIN, BuildLoginRequest(OwnMAC, g_Var.SelectedDevice.DevMAC), timeout);
}

bool TFormUDP::SendLogout(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendLogout()");
    SendRequest(OP_LOGOUT, BuildLogoutRequest(OwnMAC), timeout);
    if (timeout == 0) {
        LoggedIn = false;
    }
    return true;
}

bool TFormUDP::SendGetConfig(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendGetConfig()");
    return SendRequest(OP_GET_CONFIG, BuildGetConfigRequest(OwnMAC), timeout);
}

bool TFormUDP::SendGetMode(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendGetMode()");
    return SendRequest(OP_GET_CONFIG, BuildGetModeRequest(OwnMAC), timeout);
}

bool TFormUDP::SendIPSetting(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendIPSetting()");
    return SendRequest(OP_IP_SETTING, BuildIPSettingRequest(OwnMAC, g_Var.NewIPConfig), timeout);
}

bool TFormUDP::SendWlSetting(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWlSetting()");
    return SendRequest(OP_WL_SETTING, BuildWlSettingRequest(OwnMAC, g_Var.NewWlConfig), timeout);
}

bool TFormUDP::SendWlStationSetting(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWlStationSetting()");
    return SendRequest(
        OP_WL_STATION_SETTING, BuildWlStationSettingRequest(OwnMAC, g_Var.NewWlConfig), timeout);
}

bool TFormUDP::SendWPSPBC(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWPSPBC()");
    return SendRequest(OP_WPS_PBC, BuildWPSPBCRequest(OwnMAC), timeout);
}

bool TFormUDP::SendWPSPIN(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWPSPIN()");
    return SendRequest(OP_WPS_PIN, BuildWPSPINRequest(OwnMAC, g_Var.NewWlConfig), timeout);
}

bool TFormUDP::SendStationWPSPBC(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWPSPBC()");
    return SendRequest(OP_WPS_PBC, BuildStationWPSPBCRequest(OwnMAC), timeout);
}

bool TFormUDP::SendStationWPSPIN(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendWPSPIN()");
    return SendRequest(OP_WPS_PIN, BuildStationWPSPINRequest(OwnMAC, g_Var.NewWlConfig), timeout);
}

bool TFormUDP::SendSetMode(std::uint32_t timeout, int mode)
{
    DebugPrint("TFormUDP::SendSetMode()");
    return SendRequest(OP_SET_MODE, BuildSetModeRequest(OwnMAC, mode), timeout);
}

bool TFormUDP::SendSiteSurvey(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendSiteSurvey()");
    return SendRequest(OP_SITE_SURVEY, BuildSiteSurveyRequest(OwnMAC), timeout);
}

bool TFormUDP::SendStationGetConfig(std::uint32_t timeout)
{
    DebugPrint("TFormUDP::SendStationGetConfig()");
    return SendRequest(OP_STATION_GET_CONFIG, BuildStationGetConfigRequest(OwnMAC), timeout);
}

// ---------------------------------------------------------------------------------------------
// Lists
// ---------------------------------------------------------------------------------------------

void TFormUDP::GetDeviceList(std::vector<tag_DEV_INFO>& list) const
{
    list.insert(list.end(), DeviceList.begin(), DeviceList.end());
}

void TFormUDP::GetSurveyList(std::vector<tag_AP_ROFIILE>& list) const
{
    list.insert(list.end(), SurveyList.begin(), SurveyList.end());
}

void TFormUDP::GetWpsSurveyList(std::vector<tag_AP_ROFIILE>& list) const
{
    for (const tag_AP_ROFIILE& ap : SurveyList) {
        if (ap.WPS) {
            list.push_back(ap);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Receiving
// ---------------------------------------------------------------------------------------------

LRESULT TFormUDP::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == UM_SOCKET) {
        auto* socket = reinterpret_cast<CUDPSocket*>(lParam);
        // Only sockets of this engine are read; anything else would be a stale pointer.
        if (IsOwnSocket(socket)) {
            UDPSocketRead(socket);
        }
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TFormUDP::UDPSocketRead(CUDPSocket* socket)
{
    if (g_Debug.IsOn()) {
        DebugPrint("Local IP:%s", socket->LocalIP.toUtf8().constData());
    }
    LastLocalIP = socket->LocalIP;

    // The datagram is read into a buffer that is zero outside it; a nested read gets its own.
    std::vector<std::uint8_t> nested;
    std::vector<std::uint8_t>& buffer = m_reading ? nested : m_recvBuffer;
    if (buffer.size() != RECV_BUFFER_SIZE) {
        buffer.assign(RECV_BUFFER_SIZE, 0);
    }
    std::uint16_t port = 0;
    QString ip;
    const int count = socket->Recv(buffer.data(), int(buffer.size()), port, ip);
    if (count <= 0) {
        DebugPrint("TFormUDP::UDPSocketRead() %d", count);
        return;
    }
    const bool outer = !m_reading;
    m_reading = true;
    ProcRecvData(buffer.data(), count, socket, port, ip);
    std::memset(buffer.data(), 0, std::size_t(count));
    if (outer) {
        m_reading = false;
    }
}

void TFormUDP::ProcRecvData(
    std::uint8_t* data, int size, CUDPSocket* socket, std::uint16_t sourcePort, const QString& sourceIp)
{
    if (!data || size < 0) {
        return;
    }
    SyncCodecLogSink();
    m_socketMacs.clear();
    for (const CUDPSocket* s : SocketList) {
        m_socketMacs.push_back(MacFromBytes(s->MAC));
    }
    ReceiveContext ctx;
    ctx.SocketMACs = m_socketMacs;
    ctx.OwnMAC = OwnMAC;
    ctx.PeerMAC = PeerMAC;
    if (CheckReceivedPacket(data, std::size_t(size), ctx) != RecvCheck::Ok) {
        return;
    }
    if (data[HDR_CMD] != CMD_DISCOVER) {
        DecipherPayload(data, size);
    }
    DumpPacket(true, data, size, sourcePort, sourceIp);

    switch (data[HDR_CMD]) {
    case CMD_DISCOVER:
        RecvDiscover(data, size, socket, sourceIp);
        break;
    case CMD_LOGIN:
        RecvLogin(data, size);
        break;
    case CMD_LOGOUT:
        RecvLogout(data, size);
        break;
    case CMD_GET_CONFIG:
        RecvGetConfig(data, size);
        break;
    case CMD_SET_CONFIG:
    case CMD_STATION_SET_CONFIG:
        RecvSetConfig(data, size);
        break;
    case CMD_EVENT:
        RecvEvent(data, size);
        break;
    case CMD_SITE_SURVEY:
        RecvSiteSurvey(data, size);
        break;
    case CMD_STATION_GET_CONFIG:
        RecvStationGetConfig(data, size);
        break;
    default:
        break; // 5 and codes above 9 are not the program's
    }
}

void TFormUDP::DecipherPayload(std::uint8_t* data, int size)
{
    const std::span<const std::uint8_t> payload = PacketPayload(data, std::size_t(size));
    if (payload.data() == nullptr) {
        return;
    }
    if (!m_keyValid || m_keyPassword != g_Var.Password) {
        m_keyPassword = g_Var.Password;
        const QByteArray key = PasswordKey();
        const int keyLen = int(std::min<qsizetype>(key.size(), 0x7FFFFFFF));
        Rc4Init(reinterpret_cast<const std::uint8_t*>(key.constData()), keyLen, &m_keyState);
        m_keystream.clear();
        m_keyValid = true;
    }
    if (m_keystream.size() < payload.size()) {
        // The keystream is RC4 applied to zero bytes; it goes on from where it stopped.
        const std::size_t have = m_keystream.size();
        m_keystream.resize(payload.size(), 0);
        Rc4Crypt(m_keystream.data() + have, payload.size() - have, &m_keyState);
    }
    std::uint8_t* bytes = data + PACKET_HEADER_SIZE;
    const std::uint8_t* stream = m_keystream.data();
    for (std::size_t n = 0; n < payload.size(); ++n) {
        bytes[n] ^= stream[n];
    }
}

void TFormUDP::RecvDiscover(const std::uint8_t* data, int size, CUDPSocket* socket, const QString& sourceIp)
{
    DebugPrint("TFormUDP::RecvDiscover()");
    if (PendingOp != OP_DISCOVER) {
        DebugPrint("  ignore data");
        return;
    }
    const std::uint8_t* mac = data + HDR_MAC;
    for (const tag_DEV_INFO& dev : DeviceList) {
        if (std::memcmp(dev.DevMAC, mac, 6) == 0) {
            DebugPrint("  already exist");
            return;
        }
    }
    tag_DEV_INFO info {};
    if (!DecodeDiscoverReply(data, std::size_t(size), info)) {
        return;
    }
    if (socket) {
        info.LocalIP = TextToIp(socket->LocalIP);
        info.LocalMask = TextToIp(socket->LocalMask);
    }
    info.DevIP = TextToIp(sourceIp);
    DeviceList.push_back(info);
}

void TFormUDP::RecvLogin(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvLogin()");
    if (PendingOp != OP_LOGIN) {
        DebugPrint("  ignore data");
        return;
    }
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
    const LoginReply reply = DecodeLoginReply(data, std::size_t(size));
    LoggedIn = reply.Result != 0;
    if (LoggedIn) {
        PeerMAC = MacFromBytes(data + HDR_MAC);
    }
    if (reply.HasPort) {
        DestPort = reply.Port;
    }
    PostToMain(UM_UDP_RECV, OP_LOGIN, reply.Result);
}

void TFormUDP::RecvLogout(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvLogout()");
    if (PendingOp != OP_LOGOUT) {
        DebugPrint("  ignore data");
        return;
    }
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
    const int result = DecodeResultReply(data, std::size_t(size));
    LoggedIn = result == 0;
    PostToMain(UM_UDP_RECV, OP_LOGOUT, result);
}

void TFormUDP::RecvGetConfig(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvGetConfig()");
    if (PendingOp != OP_GET_CONFIG) {
        DebugPrint("  ignore data");
        return;
    }
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
    DecodeGetConfigReply(data, std::size_t(size), g_Var.DevIPConfig, g_Var.DevWlConfig, g_Var.DeviceMode);
    PostToMain(UM_UDP_RECV, OP_GET_CONFIG, 1);
}

void TFormUDP::RecvSetConfig(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvSetConfig()");
    switch (PendingOp) {
    case OP_IP_SETTING:
    case OP_WL_SETTING:
    case OP_WPS_PBC:
    case OP_WPS_PIN:
    case OP_SET_MODE:
    case OP_WL_STATION_SETTING:
        break;
    default:
        DebugPrint("  ignore data");
        return;
    }
    const int result = DecodeResultReply(data, std::size_t(size));
    PostToMain(UM_UDP_RECV, WPARAM(PendingOp), result);
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
}

void TFormUDP::RecvEvent(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvEvent()");
    for (const DeviceEvent& event : DecodeEvent(data, std::size_t(size))) {
        if (event.Type == TLVTYPE_OTHER_CONNECTTIMEOUT) {
            LoggedIn = false;
        } else if (event.Type == TLVTYPE_OTHER_WPS_STATUS) {
            PostToMain(UM_UDP_EVENT, TLVTYPE_OTHER_WPS_STATUS, event.WpsStatus);
        }
    }
}

void TFormUDP::RecvSiteSurvey(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvSiteSurvey()");
    if (PendingOp != OP_SITE_SURVEY) {
        DebugPrint("  ignore data");
        return;
    }
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
    DecodeSiteSurveyReply(data, std::size_t(size), SurveyList);
    PostToMain(UM_UDP_RECV, OP_SITE_SURVEY, 0);
}

void TFormUDP::RecvStationGetConfig(const std::uint8_t* data, int size)
{
    DebugPrint("TFormUDP::RecvStationGetConfig()");
    if (PendingOp != OP_STATION_GET_CONFIG) {
        DebugPrint("  ignore data");
        return;
    }
    TimerWait->SetEnabled(false);
    PendingOp = OP_NONE;
    DecodeStationGetConfigReply(data, std::size_t(size), g_Var.ApClientPIN);
    PostToMain(UM_UDP_RECV, OP_STATION_GET_CONFIG, 1);
}

void TFormUDP::TimerWaitTimer(TTimer* /*sender*/)
{
    TimerWait->SetEnabled(false);
    DebugPrint("TFormUDP::TimerWaitTimer() %d", PendingOp);
    PostToMain(UM_UDP_TIMEOUT, WPARAM(PendingOp), 0);
    PendingOp = OP_NONE;
}

void TFormUDP::DumpPacket(
    bool received, const std::uint8_t* data, int size, std::uint16_t sourcePort, const QString& sourceIp)
{
    if (!g_Debug.IsOn() || !data || size < 0) {
        return;
    }
    const std::vector<std::string> lines = received
        ? RxDumpLines(data, std::size_t(size), sourceIp.toStdString(), sourcePort)
        : TxDumpLines(data, std::size_t(size));
    for (const std::string& line : lines) {
        DebugPrint("%s", line.c_str());
    }
}
