#include "simulator.h"

#include "protocol/codec/device_side.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace apsim {

namespace {

Simulator* g_signalTarget = nullptr;
volatile std::sig_atomic_t g_stopSignal = 0;

void OnStopSignal(int)
{
    g_stopSignal = 1;
}

constexpr std::uint32_t LOOPBACK_BROADCAST = 0x7FFFFFFF; // 127.255.255.255
constexpr std::uint32_t LIMITED_BROADCAST = 0xFFFFFFFF;
// The largest survey one datagram carries: 1,336 entries.
constexpr std::size_t SURVEY_MAX_ENTRIES = (MAX_UDP_DATAGRAM - PACKET_HEADER_SIZE) / SURVEY_ENTRY_SIZE;

bool IsLoopback(std::uint32_t hostOrder)
{
    return (hostOrder >> 24) == 127;
}

const char* CommandName(std::uint8_t cmd)
{
    switch (cmd) {
    case CMD_DISCOVER:
        return "CMD_DISCOVER";
    case CMD_LOGIN:
        return "CMD_LOGIN";
    case CMD_LOGOUT:
        return "CMD_LOGOUT";
    case CMD_GET_CONFIG:
        return "CMD_GET_CONFIG";
    case CMD_SET_CONFIG:
        return "CMD_SET_CONFIG";
    case CMD_EVENT:
        return "CMD_EVENT";
    case CMD_SITE_SURVEY:
        return "CMD_SITE_SURVEY";
    case CMD_STATION_GET_CONFIG:
        return "CMD_STATION_GET_CONFIG";
    case CMD_STATION_SET_CONFIG:
        return "CMD_STATION_SET_CONFIG";
    default:
        return nullptr;
    }
}

const char* ItemName(std::uint8_t type)
{
    switch (type) {
    case DEVICE_MODE:
        return "DEVICE_MODE";
    case DEVICE_NAME:
        return "DEVICE_NAME";
    case DEVICE_MAC:
        return "DEVICE_MAC";
    case IP_MODE:
        return "IP_MODE";
    case LAN_IP:
        return "LAN_IP";
    case LAN_NETMASK:
        return "LAN_NETMASK";
    case LAN_GATEWAY:
        return "LAN_GATEWAY";
    case WL_SSID:
        return "WL_SSID";
    case WL_CH_LIST:
        return "WL_CH_LIST";
    case WL_EXT_CH:
        return "WL_EXT_CH";
    case WL_STD_CH:
        return "WL_STD_CH";
    case WL_MODE:
        return "WL_MODE";
    case WL_STA_FLAG:
        return "WL_STA_FLAG";
    case WL_SECURITY_MODE:
        return "WL_SECURITY_MODE";
    case WL_AUTH_MODE:
        return "WL_AUTH_MODE";
    case WL_WEPKEY_LEN:
        return "WL_WEPKEY_LEN";
    case WL_WEPKEY:
        return "WL_WEPKEY";
    case WL_WEPKEY_INDEX:
        return "WL_WEPKEY_INDEX";
    case WL_WPA_MODE:
        return "WL_WPA_MODE";
    case WL_WPA_CIPHER:
        return "WL_WPA_CIPHER";
    case WL_WPA_PSK:
        return "WL_WPA_PSK";
    case WL_WPS_PBC:
        return "WL_WPS_PBC";
    case WL_WPS_PIN:
        return "WL_WPS_PIN";
    case TLVTYPE_OTHER_AUTH:
        return "TLVTYPE_OTHER_AUTH";
    case TLVTYPE_OTHER_RESULT:
        return "TLVTYPE_OTHER_RESULT";
    case TLVTYPE_OTHER_PORT:
        return "TLVTYPE_OTHER_PORT";
    case TLVTYPE_OTHER_GET_ALL:
        return "TLVTYPE_OTHER_GET_ALL";
    case TLVTYPE_OTHER_CONNECTTIMEOUT:
        return "TLVTYPE_OTHER_CONNECTTIMEOUT";
    case TLVTYPE_OTHER_WPS_STATUS:
        return "TLVTYPE_OTHER_WPS_STATUS";
    default:
        return nullptr;
    }
}

bool IsTextItem(std::uint8_t type)
{
    return type == DEVICE_NAME || type == WL_SSID || type == WL_WEPKEY || type == WL_WPA_PSK
        || type == TLVTYPE_OTHER_AUTH;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

// One item as NAME=value for the request log.
std::string ItemText(const Tlv& item)
{
    std::string out;
    const char* name = ItemName(item.Type);
    if (name) {
        out = name;
    } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "TLV_0x%02X", item.Type);
        out = buf;
    }
    if (item.Type == WL_WPS_PBC && item.Len == 0) {
        return out;
    }
    out += '=';
    char buf[32];
    if (item.Type == DEVICE_MAC && item.Len == 6) {
        out += MacText(MacFromBytes(item.Value));
    } else if ((item.Type == LAN_IP || item.Type == LAN_NETMASK || item.Type == LAN_GATEWAY)
        && item.Len == 4) {
        out += IpText(item.U32());
    } else if (IsTextItem(item.Type) || (item.Type == WL_WPS_PIN && item.Len != 4)) {
        AppendQuoted(out, item.Text());
    } else if (item.Type == WL_CH_LIST) {
        for (std::size_t i = 0; i < item.Len; ++i) {
            std::snprintf(buf, sizeof buf, "%s%u", i ? "," : "", item.Value[i]);
            out += buf;
        }
    } else if (item.Len == 1 || item.Len == 2 || item.Len == 4) {
        std::snprintf(buf, sizeof buf, "%u",
            item.Len == 1       ? item.U8()
                : item.Len == 2 ? item.U16()
                                : item.U32());
        out += buf;
    } else {
        out += "0x";
        for (std::size_t i = 0; i < item.Len; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", item.Value[i]);
            out += buf;
        }
    }
    return out;
}

bool SameClient(const Device& dev, std::uint32_t ip, std::uint16_t port)
{
    return dev.LoggedIn && dev.ClientIp == ip && dev.ClientPort == port;
}

// WEP key: 5 or 13 characters, or 10 or 26 hexadecimal digits. Gives the key length code.
bool WepKeyValid(const std::string& key, int& lengthCode)
{
    const bool hex = key.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (key.size() == 5 || (key.size() == 10 && hex)) {
        lengthCode = 0;
        return true;
    }
    if (key.size() == 13 || (key.size() == 26 && hex)) {
        lengthCode = 1;
        return true;
    }
    return false;
}

bool PskValid(const std::string& psk)
{
    if (psk.size() >= 8 && psk.size() <= 63) {
        return true;
    }
    return psk.size() == 64 && psk.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// Reads a wireless profile from a request; false when the device refuses it.
bool ProfileFromRequest(const DeviceRequest& req, WirelessProfile& p, bool station)
{
    const std::string_view ssid = FieldText(req.Wl.WL_SSID);
    if (!req.HasSSID || ssid.empty() || !req.HasSecurity) {
        return false;
    }
    WirelessProfile n = p;
    n.Ssid = std::string(ssid);
    if (req.HasWlMode) {
        n.WirelessMode = req.Wl.WL_MODE;
    }
    if (!station) {
        if (req.HasStdCh) {
            n.StdChannel = req.Wl.WL_STD_CH;
            if (n.StdChannel != 0
                && std::find(n.Channels.begin(), n.Channels.end(), n.StdChannel) == n.Channels.end()) {
                return false;
            }
        }
        n.ExtChannel = req.HasExtCh ? req.Wl.WL_EXT_CH : 0;
    }
    n.Security = req.Wl.WL_SECURITY_MODE;
    switch (n.Security) {
    case 0:
        break;
    case 1: {
        const std::string key(FieldText(req.Wl.WL_WEPKEY));
        if (!req.HasWepKey || !WepKeyValid(key, n.WepKeyLength)) {
            return false;
        }
        n.WepKey = key;
        if (req.HasAuthMode) {
            if (req.Wl.WL_AUTH_MODE > 2) {
                return false;
            }
            n.AuthMode = req.Wl.WL_AUTH_MODE;
        }
        break;
    }
    case 2: {
        const std::string psk(FieldText(req.Wl.WL_WPA_PSK));
        if (!req.HasWpaPsk || !PskValid(psk)) {
            return false;
        }
        if ((req.HasWpaMode && req.Wl.WL_WPA_MODE > 2) || (req.HasWpaCipher && req.Wl.WL_WPA_CIPHER > 2)) {
            return false;
        }
        n.WpaPsk = psk;
        if (req.HasWpaMode) {
            n.WpaMode = req.Wl.WL_WPA_MODE;
        }
        if (req.HasWpaCipher) {
            n.WpaCipher = req.Wl.WL_WPA_CIPHER;
        }
        break;
    }
    default:
        return false;
    }
    p = n;
    return true;
}

std::string Padded(const std::string& text)
{
    std::string s = text;
    s.resize(255, 'X');
    return s;
}

void SetPayloadLength(Packet& p)
{
    const std::size_t len = p.size() - PACKET_HEADER_SIZE;
    p[HDR_LEN] = static_cast<std::uint8_t>(len >> 8);
    p[HDR_LEN + 1] = static_cast<std::uint8_t>(len & 0xFF);
}

} // namespace

const char* WpsStatusName(int code)
{
    static const char* const low[] = { "Not used", "Idle",
        "WSC Fail(Ignore this if Intel/Marvell registrar used)", "Start WSC Process", "Received EAPOL-Start",
        "Sending EAP-Req(ID)", "Receive EAP-Rsp(ID)", "Receive EAP-Req with wrong WSC SMI Vendor Id",
        "Receive EAPReq with wrong WSC Vendor Type", "Sending EAP-Req(WSC_START)", "Send M1", "Received M1",
        "Send M2", "Received M2", "Received M2D", "Send M3", "Received M3", "Send M4", "Received M4",
        "Send M5", "Received M5", "Send M6", "Received M6", "Send M7", "Received M7", "Send M8",
        "Received M8", "Processing EAP Response (ACK)", "Processing EAP Request (Done)",
        "Processing EAP Response (Done)", "Sending EAP-Fail", "WSC_ERROR_HASH_FAIL", "WSC_ERROR_HMAC_FAIL",
        "WSC_ERROR_DEV_PWD_AUTH_FAIL", "Configured", "SCAN AP", "EAPOL START SENT", "WSC_EAP_RSP_DONE_SENT",
        "WAIT PINCODE" };
    static const char* const high[]
        = { "PBC:TOO MANY AP", "PBC:NO AP", "EAP_FAIL_RECEIVED", "EAP_NONCE_MISMATCH", "EAP_INVALID_DATA",
              "PASSWORD_MISMATCH", "EAP_REQ_WRONG_SMI", "EAP_REQ_WRONG_VENDOR_TYPE" };
    if (code >= 0 && code <= 38) {
        return low[code];
    }
    if (code >= 257 && code <= 264) {
        return high[code - 257];
    }
    return "Unknown";
}

Simulator::Simulator(Options options)
    : m_opt(std::move(options))
{
}

Simulator::~Simulator()
{
    for (const Socket& s : m_sockets) {
        ::close(s.Fd);
    }
    if (g_signalTarget == this) {
        g_signalTarget = nullptr;
    }
}

std::int64_t Simulator::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t Simulator::Scaled(std::int64_t deviceMs) const
{
    if (deviceMs <= 0) {
        return 0;
    }
    return std::max<std::int64_t>(1, std::llround(static_cast<double>(deviceMs) * m_opt.TimeScale));
}

void Simulator::Schedule(std::int64_t delayMs, std::function<void()> task)
{
    m_tasks.emplace(NowMs() + delayMs, std::move(task));
}

void Simulator::Print(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------------------------
// Set-up
// ---------------------------------------------------------------------------------------------

bool Simulator::Setup(std::string& error)
{
    JsonValue config;
    const JsonValue* defaults = nullptr;
    const JsonValue* entries = nullptr;
    if (!m_opt.ConfigFile.empty()) {
        if (!ReadJsonFile(m_opt.ConfigFile, config, error)) {
            return false;
        }
        if (!config.IsObject()) {
            error = m_opt.ConfigFile + ": expected an object";
            return false;
        }
        for (const auto& [key, v] : config.Members()) {
            if (key != "defaults" && key != "devices") {
                error = m_opt.ConfigFile + ": unknown member " + key;
                return false;
            }
        }
        defaults = config.Find("defaults");
        entries = config.Find("devices");
        if (entries && !entries->IsArray()) {
            error = m_opt.ConfigFile + ": devices: expected an array";
            return false;
        }
    }
    int count = m_opt.Devices;
    if (count <= 0) {
        // As many devices as the entries name: by position, or by their index.
        count = 1;
        if (entries) {
            int position = 0;
            for (const JsonValue& e : entries->Items()) {
                ++position;
                const JsonValue* idx = e.Find("index");
                const int k = idx && idx->IsNumber() ? static_cast<int>(idx->AsNumber()) : position;
                count = std::max(count, std::min(k, 4096));
            }
        }
    }
    m_devices.clear();
    m_devices.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        m_devices.push_back(
            FactoryDevice(k, m_opt.AddressBase + static_cast<std::uint32_t>(k - 1), m_opt.Password));
    }
    if (defaults) {
        for (Device& d : m_devices) {
            if (!ApplyDeviceJson(d, *defaults, error)) {
                return false;
            }
        }
    }
    if (entries) {
        int position = 0;
        for (const JsonValue& e : entries->Items()) {
            ++position;
            int k = position;
            if (const JsonValue* idx = e.Find("index"); idx && idx->IsNumber()) {
                k = static_cast<int>(idx->AsNumber());
            }
            if (k < 1 || k > count) {
                std::fprintf(stderr,
                    "qrx-apsim: configuration entry %d names device %d, which does not exist\n", position, k);
                continue;
            }
            if (!ApplyDeviceJson(m_devices[static_cast<std::size_t>(k - 1)], e, error)) {
                return false;
            }
        }
    }
    // The state file keeps the settings of an earlier run.
    if (!m_opt.StateFile.empty()) {
        std::ifstream probe(m_opt.StateFile);
        if (probe) {
            JsonValue state;
            if (!ReadJsonFile(m_opt.StateFile, state, error)) {
                return false;
            }
            const JsonValue* list = state.Find("devices");
            if (list && list->IsArray()) {
                int position = 0;
                for (const JsonValue& e : list->Items()) {
                    ++position;
                    int k = position;
                    if (const JsonValue* idx = e.Find("index"); idx && idx->IsNumber()) {
                        k = static_cast<int>(idx->AsNumber());
                    }
                    if (k >= 1 && k <= count) {
                        if (!ApplyDeviceJson(m_devices[static_cast<std::size_t>(k - 1)], e, error)) {
                            return false;
                        }
                    }
                }
            }
        }
    }
    m_byAddress.clear();
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        m_byAddress.emplace(m_devices[i].Address, static_cast<int>(i));
    }
    return true;
}

int Simulator::OpenSocket(std::uint16_t port, std::string& error)
{
    for (const Socket& s : m_sockets) {
        if (s.Port == port) {
            return s.Fd;
        }
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one);
    const int bufSize = 4 << 20;
    if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bufSize, sizeof bufSize) != 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufSize, sizeof bufSize);
    }
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDBUFFORCE, &bufSize, sizeof bufSize) != 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufSize, sizeof bufSize);
    }
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        error = "cannot bind UDP port " + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    m_sockets.push_back({ fd, port });
    return fd;
}

bool Simulator::Open(std::string& error)
{
    if (OpenSocket(m_opt.Port, error) < 0) {
        return false;
    }
    WriteState();
    Print("READY port=" + std::to_string(m_opt.Port) + " devices=" + std::to_string(m_devices.size())
        + " first=" + IpText(m_devices.front().Address) + " last=" + IpText(m_devices.back().Address));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Main loop
// ---------------------------------------------------------------------------------------------

void Simulator::Run()
{
    std::vector<pollfd> fds;
    while (!m_stop && !g_stopSignal) {
        // Due tasks first: they may be zero-delay replies.
        const std::int64_t now = NowMs();
        while (!m_tasks.empty() && m_tasks.begin()->first <= now) {
            auto task = std::move(m_tasks.begin()->second);
            m_tasks.erase(m_tasks.begin());
            task();
        }
        CheckIdle();
        if (m_dirty) {
            WriteState();
        }
        std::int64_t wait = 1000;
        if (!m_tasks.empty()) {
            wait = std::clamp<std::int64_t>(m_tasks.begin()->first - NowMs(), 0, wait);
        }
        for (const Device& d : m_devices) {
            if (d.LoggedIn && d.IdleTimeoutMs > 0) {
                wait
                    = std::clamp<std::int64_t>(d.LastActivityMs + Scaled(d.IdleTimeoutMs) - NowMs(), 0, wait);
            }
        }
        fds.clear();
        for (const Socket& s : m_sockets) {
            fds.push_back({ s.Fd, POLLIN, 0 });
        }
        const int n = ::poll(fds.data(), fds.size(), static_cast<int>(wait));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::perror("qrx-apsim: poll");
            break;
        }
        const std::vector<Socket> sockets = m_sockets; // handlers may open more
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents & POLLIN) {
                ReadSocket(sockets[i]);
            }
        }
    }
    WriteState();
}

void Simulator::ReadSocket(const Socket& sock)
{
    static std::vector<std::uint8_t> buffer(RECV_BUFFER_SIZE);
    for (int burst = 0; burst < 256; ++burst) {
        sockaddr_in from {};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        iovec iov { buffer.data(), buffer.size() };
        msghdr msg {};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(sock.Fd, &msg, 0);
        if (n < 0) {
            return; // EAGAIN: nothing more waiting
        }
        std::uint32_t destIp = 0;
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info {};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                destIp = ntohl(info.ipi_addr.s_addr);
            }
        }
        const Client client { ntohl(from.sin_addr.s_addr), ntohs(from.sin_port), sock.Fd };
        HandleDatagram(buffer.data(), static_cast<std::size_t>(n), client, destIp, sock.Port);
        // A client that reads the state file after its next answer sees this change.
        if (m_dirty) {
            WriteState();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Requests
// ---------------------------------------------------------------------------------------------

void Simulator::LogRequest(const std::string& who, const Client& from, std::uint16_t localPort,
    const std::uint8_t* data, std::size_t size, const std::string& key, const std::string& note)
{
    std::string line = "REQ dev=" + who + " from=" + IpText(from.Ip) + ":" + std::to_string(from.Port)
        + " port=" + std::to_string(localPort);
    PacketHeader header;
    if (data && ParseHeader(data, size, header)) {
        const char* name = CommandName(header.Cmd);
        line += " cmd=";
        line += name ? name : ("CMD_" + std::to_string(header.Cmd));
        line += " mac=" + MacText(header.SenderMAC);
    } else {
        line += " cmd=?";
    }
    if (!key.empty()) {
        line += " key=" + key;
    }
    if (!note.empty()) {
        line += " note=" + note;
    }
    if (data && !key.empty() && size >= PACKET_HEADER_SIZE) {
        line += " items=";
        TlvReader reader(PacketPayload(data, size));
        Tlv item;
        bool first = true;
        while (reader.Next(item)) {
            if (!first) {
                line += ' ';
            }
            first = false;
            line += ItemText(item);
        }
        if (reader.Truncated()) {
            line += first ? "TRUNCATED" : " TRUNCATED";
        }
    }
    Print(line);
}

void Simulator::HandleDatagram(
    std::uint8_t* data, std::size_t size, const Client& from, std::uint32_t destIp, std::uint16_t localPort)
{
    // The checks a device makes before it reads anything.
    const char* bad = nullptr;
    PacketHeader header;
    if (!ParseHeader(data, size, header)) {
        bad = "short";
    } else if (std::memcmp(data, PACKET_MAGIC, PACKET_MAGIC_LEN) != 0) {
        bad = "bad-magic";
    } else if (header.Version != PACKET_VERSION) {
        bad = "bad-version";
    } else if (PACKET_HEADER_SIZE + header.PayloadLen != size) {
        bad = "bad-length";
    }
    if (bad) {
        LogRequest("-", from, localPort, data, size, "", bad);
        return;
    }

    // Who hears it: the device whose address it was sent to, or every device for a broadcast;
    // on a port named by a login reply only the devices that listen there.
    std::vector<int> targets;
    const auto range = m_byAddress.equal_range(destIp);
    if (range.first != range.second) {
        for (auto it = range.first; it != range.second; ++it) {
            targets.push_back(it->second);
        }
    } else {
        targets.reserve(m_devices.size());
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            targets.push_back(static_cast<int>(i));
        }
    }
    if (localPort != m_opt.Port) {
        std::erase_if(targets, [&](int i) {
            const Device& d = m_devices[static_cast<std::size_t>(i)];
            return !(d.ListeningOnLoginPort && d.LoginPort && *d.LoginPort == localPort);
        });
    }

    if (header.Cmd == CMD_DISCOVER) {
        const std::string who = targets.size() == 1 ? std::to_string(m_devices[targets[0]].Index)
            : targets.empty()                       ? "-"
                                                    : "all";
        LogRequest(who, from, localPort, data, size, "discover", "");
        const auto start = std::chrono::steady_clock::now();
        int replies = 0;
        for (int i : targets) {
            Device& d = m_devices[static_cast<std::size_t>(i)];
            ++d.Requests;
            const Fault* f = FaultFor(d, "discover");
            Reply(d, "discover", BuildDiscoverReply(d.Mac, f && f->Oversize ? Padded(d.Name) : d.Name), from);
            ++replies;
        }
        const auto us
            = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
                  .count();
        Print("DISCOVER replies=" + std::to_string(replies) + " elapsed_us=" + std::to_string(us));
        return;
    }
    if (header.Cmd == CMD_LOGIN) {
        HandleLogin(data, size, from, targets, localPort);
        return;
    }

    // Every other command comes only from the client that logged in.
    bool handled = false;
    for (int i : targets) {
        Device& d = m_devices[static_cast<std::size_t>(i)];
        if (!SameClient(d, from.Ip, from.Port)) {
            continue;
        }
        handled = true;
        Packet plain(data, data + size);
        CipherPayload(plain, d.Password);
        DeviceRequest req;
        DecodeRequest(plain.data(), plain.size(), req);
        HandleConfigCommand(d, plain.data(), plain.size(), req, from, localPort);
    }
    if (!handled) {
        LogRequest("-", from, localPort, data, size, "", "not-logged-in");
    }
}

void Simulator::HandleLogin(const std::uint8_t* data, std::size_t size, const Client& from,
    const std::vector<int>& targets, std::uint16_t localPort)
{
    bool anyone = false;
    for (int i : targets) {
        Device& d = m_devices[static_cast<std::size_t>(i)];
        // Under another password the MAC and the phrase decipher to noise: the login is not for us.
        Packet plain(data, data + size);
        CipherPayload(plain, d.Password);
        DeviceRequest req;
        DecodeRequest(plain.data(), plain.size(), req);
        if (!req.HasDeviceMAC || req.DeviceMAC != d.Mac) {
            continue;
        }
        anyone = true;
        ++d.Requests;
        LogRequest(std::to_string(d.Index), from, localPort, plain.data(), plain.size(), "login", "");
        int result = (req.HasAuth && req.Auth == std::string_view(AUTH_PHRASE, AUTH_PHRASE_LEN)) ? 1 : 0;
        const Fault* f = FaultFor(d, "login");
        if (f && f->Result) {
            result = *f->Result;
        }
        if (result != 0) {
            d.LoggedIn = true;
            d.ClientIp = from.Ip;
            d.ClientPort = from.Port;
            d.ClientMac = req.SenderMAC;
            d.LastActivityMs = NowMs();
            if (d.LoginPort && !d.ListeningOnLoginPort) {
                std::string error;
                if (OpenSocket(*d.LoginPort, error) >= 0) {
                    d.ListeningOnLoginPort = true;
                    Print("LISTEN dev=" + std::to_string(d.Index) + " port=" + std::to_string(*d.LoginPort));
                } else {
                    std::fprintf(stderr, "qrx-apsim: %s\n", error.c_str());
                }
            }
            MarkDirty();
        }
        Reply(d, "login", BuildLoginReply(d.Mac, result, d.LoginPort), from);
    }
    if (!anyone) {
        LogRequest("-", from, localPort, data, size, "", "login-not-for-any-device");
    }
}

void Simulator::HandleConfigCommand(Device& dev, const std::uint8_t* plain, std::size_t size,
    const DeviceRequest& req, const Client& from, std::uint16_t localPort)
{
    const std::string key = CommandKey(dev, req.Cmd, req);
    ++dev.Requests;
    dev.LastActivityMs = NowMs();
    LogRequest(std::to_string(dev.Index), from, localPort, plain, size, key, "");
    const Fault* f = FaultFor(dev, key);
    const bool oversize = f && f->Oversize;
    switch (req.Cmd) {
    case CMD_LOGOUT: {
        int result = 1;
        if (f && f->Result) {
            result = *f->Result;
        }
        if (result != 0) {
            dev.LoggedIn = false;
            MarkDirty();
        }
        Reply(dev, key, BuildLogoutReply(dev.Mac, result), from);
        break;
    }
    case CMD_GET_CONFIG:
        if (key == "get_mode") {
            Reply(dev, key, BuildGetModeReply(dev.Mac, dev.Mode), from);
        } else {
            Reply(dev, key, BuildDeviceGetConfig(dev, oversize), from);
        }
        break;
    case CMD_SET_CONFIG:
    case CMD_STATION_SET_CONFIG:
        HandleSet(dev, req, from, key);
        break;
    case CMD_SITE_SURVEY: {
        std::vector<tag_AP_ROFIILE> list;
        std::vector<SurveyEntry> generated;
        const std::vector<SurveyEntry>* source = &dev.Survey;
        if (f && f->MaxSurvey) {
            // As many entries as the payload length field allows.
            Device tmp = dev;
            std::string error;
            JsonValue o = JsonValue::MakeObject();
            o.Set("survey_generate", JsonValue::MakeNumber(static_cast<double>(SURVEY_MAX_ENTRIES)));
            ApplyDeviceJson(tmp, o, error);
            generated = tmp.Survey;
            source = &generated;
        }
        list.reserve(source->size());
        for (const SurveyEntry& e : *source) {
            tag_AP_ROFIILE ap;
            ap.EntryFlag = true;
            CopyTextField(ap.SSID, e.Ssid);
            std::memcpy(ap.BSSID, e.Bssid.data(), 6);
            ap.Signal = e.Signal;
            ap.Channel = e.Channel;
            ap.Encryption = static_cast<std::uint8_t>(e.Encryption);
            ap.Authentication = static_cast<std::uint8_t>(e.Authentication);
            ap.IconFlag = static_cast<std::uint8_t>(e.IconFlag);
            ap.WPS = e.Wps;
            list.push_back(ap);
        }
        Packet reply = BuildSiteSurveyReply(dev.Mac, list);
        if (oversize) {
            // SSIDs fill their 32 bytes without a terminator.
            for (std::size_t o = PACKET_HEADER_SIZE; o + SURVEY_ENTRY_SIZE <= reply.size();
                 o += SURVEY_ENTRY_SIZE) {
                for (std::size_t b = 1; b <= 32; ++b) {
                    if (reply[o + b] == 0) {
                        reply[o + b] = 'X';
                    }
                }
            }
        }
        Reply(dev, key, std::move(reply), from);
        break;
    }
    case CMD_STATION_GET_CONFIG:
        Reply(dev, key,
            BuildStationGetConfigReply(dev.Mac, oversize ? Padded(dev.StationPin) : dev.StationPin), from);
        break;
    default:
        // Events and unknown commands are not answered.
        break;
    }
}

void Simulator::HandleSet(Device& dev, const DeviceRequest& req, const Client& from, const std::string& key)
{
    const Fault* f = FaultFor(dev, key);
    const bool refused = f && f->Result && *f->Result == 0;
    int result = 0;
    bool startWps = false;
    bool pbc = false;
    std::string wpsSsid;
    if (req.Cmd == CMD_STATION_SET_CONFIG) {
        WirelessProfile p = dev.Station;
        if (req.HasSSID && ProfileFromRequest(req, p, true)) {
            result = 1;
            if (!refused) {
                dev.Station = p;
            }
        }
    } else if (key == "wps_pbc") {
        result = 1;
        startWps = true;
        pbc = true;
    } else if (key == "wps_pin") {
        if (dev.Mode == DEVICE_WBRIDGE) {
            // The bridge's PIN request names the access point to join.
            wpsSsid = req.WpsPin;
            result = wpsSsid.empty() ? 0 : 1;
        } else {
            result = WpsPinTextValid(req.WpsPin) ? 1 : 0;
        }
        startWps = result != 0;
    } else if (key == "set_mode") {
        if (req.DeviceMode == DEVICE_AP || req.DeviceMode == DEVICE_WBRIDGE) {
            result = 1;
            if (!refused) {
                dev.Mode = req.DeviceMode;
            }
        }
    } else if (key == "set_ip") {
        if (req.Ip.IP_MODE != 0) {
            result = 1;
            if (!refused) {
                dev.Dhcp = true;
            }
        } else if (req.HasLanIP && req.HasLanNetmask && req.Ip.LAN_IP != 0 && req.Ip.LAN_IP != 0xFFFFFFFF
            && req.Ip.LAN_NETMASK != 0) {
            result = 1;
            if (!refused) {
                dev.Dhcp = false;
                dev.LanIp = req.Ip.LAN_IP;
                dev.LanNetmask = req.Ip.LAN_NETMASK;
                dev.LanGateway = req.HasLanGateway ? req.Ip.LAN_GATEWAY : 0;
                // A loopback address can be taken over at once; any other stays on paper only, the
                // device keeps answering from its emulator address.
                if (IsLoopback(dev.LanIp) && m_byAddress.find(dev.LanIp) == m_byAddress.end()) {
                    for (auto it = m_byAddress.begin(); it != m_byAddress.end(); ++it) {
                        if (it->second == dev.Index - 1) {
                            m_byAddress.erase(it);
                            break;
                        }
                    }
                    dev.Address = dev.LanIp;
                    m_byAddress.emplace(dev.Address, dev.Index - 1);
                }
            }
        }
    } else if (key == "set_wireless") {
        WirelessProfile p = dev.Ap;
        if (ProfileFromRequest(req, p, false)) {
            result = 1;
            if (!refused) {
                dev.Ap = p;
            }
        }
    }
    if (f && f->Result) {
        result = *f->Result;
    }
    if (result != 0 && !refused) {
        MarkDirty();
    }
    const Packet reply = BuildSetResultReply(dev.Mac, req.Cmd, result);
    const int index = dev.Index;
    const std::uint8_t cmd = req.Cmd;
    Client to = from;
    (void)cmd;
    auto send = [this, index, key, reply, to]() {
        Reply(m_devices[static_cast<std::size_t>(index - 1)], key, reply, to);
    };
    if (dev.ApplyDelayMs > 0 && !startWps) {
        Schedule(Scaled(dev.ApplyDelayMs), send);
    } else {
        send();
    }
    if (startWps && result != 0) {
        StartWps(dev, from, pbc, wpsSsid);
    }
}

// ---------------------------------------------------------------------------------------------
// WPS runs and the idle time-out
// ---------------------------------------------------------------------------------------------

void Simulator::StartWps(Device& dev, const Client& to, bool pbc, const std::string& ssid)
{
    const bool bridge = dev.Mode == DEVICE_WBRIDGE;
    std::vector<int> statuses = dev.Wps.Statuses;
    if (statuses.empty()) {
        const std::vector<int> registrar = { 3, 4, 5, 6, 9, 11, 12, 16, 17, 20, 21, 24, 25 };
        const std::vector<int> enrollee = { 3, 35, 36, 10, 13, 15, 18, 19, 22, 23, 26, 37 };
        const std::string& o = dev.Wps.Outcome;
        if (o == "configured" || o == "idle") {
            statuses = bridge ? enrollee : registrar;
            statuses.push_back(o == "configured" ? 34 : 1);
        } else if (o == "wsc_fail") {
            statuses = bridge ? std::vector<int> { 3, 35, 36, 2 } : std::vector<int> { 3, 4, 5, 6, 9, 2 };
        } else if (o == "too_many_ap") {
            statuses = bridge ? std::vector<int> { 3, 35, 257, 2 } : std::vector<int> { 3, 257, 2 };
        } else if (o == "no_ap") {
            statuses = bridge ? std::vector<int> { 3, 35, 258, 2 } : std::vector<int> { 3, 258, 2 };
        } else if (o == "password_mismatch") {
            statuses = bridge ? std::vector<int> { 3, 35, 36, 10, 13, 262, 2 }
                              : std::vector<int> { 3, 4, 5, 6, 9, 11, 12, 262, 2 };
        }
    }
    const int run = ++dev.WpsRunId;
    ++dev.WpsRuns;
    MarkDirty();
    Print("WPS dev=" + std::to_string(dev.Index) + " run=" + std::to_string(run)
        + (pbc ? " method=pbc" : " method=pin") + (ssid.empty() ? "" : " ssid=" + ssid)
        + " steps=" + std::to_string(statuses.size()));
    const int index = dev.Index;
    std::int64_t at = Scaled(dev.Wps.StartDelayMs);
    for (std::size_t s = 0; s < statuses.size(); ++s) {
        const int code = statuses[s];
        const bool last = s + 1 == statuses.size();
        Schedule(at, [this, index, run, code, last, to, pbc, ssid]() {
            Device& d = m_devices[static_cast<std::size_t>(index - 1)];
            if (d.WpsRunId != run) {
                return; // a newer run replaced this one
            }
            d.LastWpsStatus = code;
            if (d.LoggedIn) {
                d.LastActivityMs = NowMs();
            }
            if (last && (code == 34 || code == 1) && d.Mode == DEVICE_WBRIDGE) {
                // The bridge joined the network.
                const SurveyEntry* joined = nullptr;
                for (const SurveyEntry& e : d.Survey) {
                    if ((pbc && e.Wps) || (!pbc && e.Ssid == ssid)) {
                        joined = &e;
                        break;
                    }
                }
                d.Station.Ssid = joined ? joined->Ssid : ssid;
                if (joined) {
                    d.Station.Security = joined->Encryption == 0 ? 0 : joined->Encryption == 1 ? 1 : 2;
                }
            }
            MarkDirty();
            Print("EVENT dev=" + std::to_string(index) + " to=" + IpText(to.Ip) + ":"
                + std::to_string(to.Port) + " status=" + std::to_string(code) + " text=\""
                + WpsStatusName(code) + "\"");
            Reply(d, "event", BuildWpsStatusEvent(d.Mac, code), to);
        });
        at += Scaled(dev.Wps.StepMs);
    }
}

void Simulator::CheckIdle()
{
    const std::int64_t now = NowMs();
    for (Device& d : m_devices) {
        if (d.LoggedIn && d.IdleTimeoutMs > 0 && now - d.LastActivityMs >= Scaled(d.IdleTimeoutMs)) {
            d.LoggedIn = false;
            MarkDirty();
            const Client to { d.ClientIp, d.ClientPort, m_sockets.front().Fd };
            Print("TIMEOUT dev=" + std::to_string(d.Index) + " to=" + IpText(to.Ip) + ":"
                + std::to_string(to.Port));
            Reply(d, "event", BuildConnectTimeoutEvent(d.Mac), to);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Replies
// ---------------------------------------------------------------------------------------------

Fault* Simulator::FaultFor(Device& dev, const std::string& key)
{
    auto it = dev.Faults.find(key);
    if (it == dev.Faults.end() && (key == "get_mode")) {
        it = dev.Faults.find("get_config");
    }
    if (it == dev.Faults.end() && key != "event") {
        it = dev.Faults.find("any");
    }
    return it == dev.Faults.end() ? nullptr : &it->second;
}

Packet Simulator::BuildDeviceGetConfig(const Device& dev, bool oversize) const
{
    // The items of the codec's reply, without cutting the texts, so that oversized values set in
    // the configuration travel as they are.
    PacketWriter w(dev.Mac);
    w.AddTlvU8(DEVICE_MODE, static_cast<std::uint32_t>(dev.Mode));
    w.AddTlvU8(IP_MODE, dev.Dhcp ? 1 : 0);
    w.AddTlvU32(LAN_IP, dev.LanIp);
    w.AddTlvU32(LAN_NETMASK, dev.LanNetmask);
    w.AddTlvU32(LAN_GATEWAY, dev.LanGateway);
    const std::string ssid = oversize ? Padded(dev.Ap.Ssid) : dev.Ap.Ssid;
    w.AddTlvText(WL_SSID, std::string_view(ssid).substr(0, 255));
    w.AddTlv(WL_CH_LIST, dev.Ap.Channels.data(), std::min<std::size_t>(dev.Ap.Channels.size(), 255));
    w.AddTlvU8(WL_STD_CH, static_cast<std::uint32_t>(dev.Ap.StdChannel));
    w.AddTlvU8(WL_EXT_CH, static_cast<std::uint32_t>(dev.Ap.ExtChannel));
    w.AddTlvU8(WL_SECURITY_MODE, static_cast<std::uint32_t>(dev.Ap.Security));
    w.AddTlvU8(WL_AUTH_MODE, static_cast<std::uint32_t>(dev.Ap.AuthMode));
    w.AddTlvU8(WL_WEPKEY_LEN, static_cast<std::uint32_t>(dev.Ap.WepKeyLength));
    w.AddTlvU8(WL_WEPKEY_INDEX, 0);
    w.AddTlvU8(WL_WPA_MODE, static_cast<std::uint32_t>(dev.Ap.WpaMode));
    w.AddTlvU8(WL_WPA_CIPHER, static_cast<std::uint32_t>(dev.Ap.WpaCipher));
    w.AddTlvU32(WL_WPS_PIN, dev.WpsPin);
    return w.Finish(CMD_GET_CONFIG);
}

void Simulator::Reply(Device& dev, const std::string& key, Packet plain, const Client& to)
{
    Fault* f = FaultFor(dev, key);
    std::string notes;
    if (f) {
        const int n = f->Sent++;
        if (f->DropAll || n < f->DropFirst) {
            if (m_opt.Verbose) {
                Print("DROP dev=" + std::to_string(dev.Index) + " key=" + key);
            }
            return;
        }
        const bool tlvs = plain.size() > PACKET_HEADER_SIZE && plain[HDR_CMD] != CMD_SITE_SURVEY;
        if (f->UnknownTlv && plain[HDR_CMD] != CMD_SITE_SURVEY) {
            const std::uint8_t front[] = { 0xEE, 3, 'x', 'y', 'z' };
            const std::uint8_t back[] = { 0x7D, 2, 0xAB, 0xCD };
            plain.insert(plain.begin() + PACKET_HEADER_SIZE, std::begin(front), std::end(front));
            plain.insert(plain.end(), std::begin(back), std::end(back));
            SetPayloadLength(plain);
        }
        if (f->TruncateTlv && plain.size() > PACKET_HEADER_SIZE) {
            if (tlvs) {
                // Find the last item and let its value run past the end of the payload.
                std::size_t o = PACKET_HEADER_SIZE, last = o;
                while (o + 2 <= plain.size()) {
                    last = o;
                    o += 2 + plain[o + 1];
                }
                const std::uint8_t len = plain[last + 1];
                if (len == 0) {
                    plain[last + 1] = 4;
                } else {
                    plain.resize(plain.size() - std::max<std::size_t>(1, len / 2));
                }
            } else {
                plain.resize(plain.size() - std::min<std::size_t>(plain.size() - PACKET_HEADER_SIZE, 20));
            }
            SetPayloadLength(plain);
        }
    }
    Packet wire = std::move(plain);
    if (wire[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(wire, dev.Password);
    }
    int copies = 1;
    std::int64_t delay = 0;
    if (f) {
        if (f->WrongMac) {
            SetPacketMac(wire, f->WrongMacValue);
        }
        if (f->Corrupt == "magic") {
            wire[0] = 'X';
        } else if (f->Corrupt == "version") {
            wire[HDR_VERSION] = PACKET_VERSION + 1;
        } else if (f->Corrupt == "length") {
            const std::size_t len = wire.size() - PACKET_HEADER_SIZE + 1;
            wire[HDR_LEN] = static_cast<std::uint8_t>(len >> 8);
            wire[HDR_LEN + 1] = static_cast<std::uint8_t>(len & 0xFF);
        } else if (f->Corrupt == "short") {
            wire.resize(PACKET_HEADER_SIZE - 1);
        }
        copies += f->Duplicates;
        delay = Scaled(f->DelayMs);
    }
    const int index = dev.Index;
    auto send = [this, index, wire, to, copies, key]() {
        const Device& d = m_devices[static_cast<std::size_t>(index - 1)];
        for (int c = 0; c < copies; ++c) {
            SendFrom(d, wire, to);
        }
        if (m_opt.Verbose) {
            Print("SENT dev=" + std::to_string(index) + " key=" + key + " to=" + IpText(to.Ip) + ":"
                + std::to_string(to.Port) + " size=" + std::to_string(wire.size())
                + " copies=" + std::to_string(copies));
        }
    };
    if (delay > 0) {
        Schedule(delay, send);
    } else {
        send();
    }
}

void Simulator::SendFrom(const Device& dev, const Packet& packet, const Client& to)
{
    std::uint32_t destIp = to.Ip;
    std::uint16_t destPort = to.Port;
    if (dev.ReplyBroadcast) {
        destPort = m_opt.ReplyPort;
        if (IsLoopback(dev.Address)) {
            destIp = LOOPBACK_BROADCAST; // stays on lo
        } else if (m_opt.AllowBroadcast) {
            destIp = LIMITED_BROADCAST;
        }
    }
    sockaddr_in dest {};
    dest.sin_family = AF_INET;
    dest.sin_port = htons(destPort);
    dest.sin_addr.s_addr = htonl(destIp);
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    iovec iov { const_cast<std::uint8_t*>(packet.data()), packet.size() };
    msghdr msg {};
    msg.msg_name = &dest;
    msg.msg_namelen = sizeof dest;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info {};
    info.ipi_spec_dst.s_addr = htonl(dev.Address);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    const int fd = to.SocketFd >= 0 ? to.SocketFd : m_sockets.front().Fd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::sendmsg(fd, &msg, 0) >= 0) {
            return;
        }
        if (errno != EAGAIN && errno != ENOBUFS) {
            break;
        }
        pollfd p { fd, POLLOUT, 0 };
        ::poll(&p, 1, 10);
    }
    if (m_opt.Verbose) {
        std::fprintf(stderr, "qrx-apsim: send from %s failed: %s\n", IpText(dev.Address).c_str(),
            std::strerror(errno));
    }
}

// ---------------------------------------------------------------------------------------------
// State file
// ---------------------------------------------------------------------------------------------

void Simulator::WriteState()
{
    m_dirty = false;
    if (m_opt.StateFile.empty()) {
        return;
    }
    JsonValue root = JsonValue::MakeObject();
    JsonValue list = JsonValue::MakeArray();
    for (const Device& d : m_devices) {
        list.Push(DeviceToJson(d));
    }
    root.Set("devices", list);
    if (!WriteFileAtomic(m_opt.StateFile, root.Dump(1))) {
        std::fprintf(stderr, "qrx-apsim: cannot write %s\n", m_opt.StateFile.c_str());
    }
}

void InstallStopSignals(Simulator* sim)
{
    g_signalTarget = sim;
    struct sigaction sa
    {
    };
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no restart: poll returns and the loop sees the flag
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace apsim
