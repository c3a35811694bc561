#include "apsim_harness.h"

#include "protocol/codec/device_side.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace apsimtest {

std::uint16_t FreeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

MacAddress DeviceMac(int k)
{
    return { 0x02, 0x51, 0x52, static_cast<std::uint8_t>(k >> 16), static_cast<std::uint8_t>(k >> 8),
        static_cast<std::uint8_t>(k) };
}

// ---------------------------------------------------------------------------------------------

ApsimProcess::ApsimProcess()
{
    m_proc.setProcessChannelMode(QProcess::SeparateChannels);
}

ApsimProcess::~ApsimProcess()
{
    Stop();
}

bool ApsimProcess::Start(const QStringList& args, int timeoutMs)
{
#ifdef QRX_APSIM_EXE
    m_port = FreeUdpPort();
    QStringList all = args;
    all << QStringLiteral("--port") << QString::number(m_port);
    m_proc.start(QStringLiteral(QRX_APSIM_EXE), all);
    if (!m_proc.waitForStarted(timeoutMs)) {
        return false;
    }
    return WaitForLine([](const std::string& l) { return l.rfind("READY ", 0) == 0; }, timeoutMs);
#else
    (void)args;
    (void)timeoutMs;
    return false;
#endif
}

bool ApsimProcess::Stop()
{
    if (m_proc.state() == QProcess::NotRunning) {
        return m_proc.exitStatus() == QProcess::NormalExit;
    }
    ::kill(static_cast<pid_t>(m_proc.processId()), SIGTERM);
    if (!m_proc.waitForFinished(5000)) {
        m_proc.kill();
        m_proc.waitForFinished(2000);
        return false;
    }
    ReadLines();
    return m_proc.exitStatus() == QProcess::NormalExit && m_proc.exitCode() == 0;
}

void ApsimProcess::ReadLines()
{
    m_partial += m_proc.readAllStandardOutput().toStdString();
    std::size_t pos;
    while ((pos = m_partial.find('\n')) != std::string::npos) {
        m_lines.push_back(m_partial.substr(0, pos));
        m_partial.erase(0, pos + 1);
    }
}

bool ApsimProcess::WaitForLine(const std::function<bool(const std::string&)>& match, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    std::size_t checked = 0;
    for (;;) {
        ReadLines();
        for (; checked < m_lines.size(); ++checked) {
            if (match(m_lines[checked])) {
                return true;
            }
        }
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0 || m_proc.state() == QProcess::NotRunning) {
            ReadLines();
            for (; checked < m_lines.size(); ++checked) {
                if (match(m_lines[checked])) {
                    return true;
                }
            }
            return false;
        }
        m_proc.waitForReadyRead(static_cast<int>(std::min<qint64>(left, 100)));
    }
}

bool ApsimProcess::WaitForLineContaining(const std::string& text, int timeoutMs)
{
    return WaitForLine([&](const std::string& l) { return l.find(text) != std::string::npos; }, timeoutMs);
}

const std::vector<std::string>& ApsimProcess::Lines()
{
    ReadLines();
    return m_lines;
}

std::vector<std::string> ApsimProcess::LinesContaining(const std::string& text)
{
    std::vector<std::string> out;
    for (const std::string& l : Lines()) {
        if (l.find(text) != std::string::npos) {
            out.push_back(l);
        }
    }
    return out;
}

QString ApsimProcess::TempPath(const QString& name) const
{
    return m_dir.filePath(name);
}

QString ApsimProcess::WriteConfig(const std::string& json, const QString& name)
{
    const QString path = TempPath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(json.data(), static_cast<qint64>(json.size()));
    }
    return path;
}

// ---------------------------------------------------------------------------------------------

ProtocolClient::ProtocolClient(std::uint16_t bindPort, std::uint32_t bindIp)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        return;
    }
    const int one = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    // A thousand answers arrive at once.
    const int size = 8 << 20;
    if (::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(bindPort);
    addr.sin_addr.s_addr = htonl(bindIp);
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
}

ProtocolClient::~ProtocolClient()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void ProtocolClient::Send(
    Packet packet, const std::string& password, std::uint16_t destPort, std::uint32_t destIp)
{
    SetPacketMac(packet, m_mac);
    if (packet.size() > HDR_CMD && packet[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(packet, password);
    }
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(destPort);
    to.sin_addr.s_addr = htonl(destIp);
    ::sendto(m_fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

std::optional<Datagram> ProtocolClient::Receive(int timeoutMs)
{
    pollfd p { m_fd, POLLIN, 0 };
    if (::poll(&p, 1, timeoutMs) <= 0) {
        return std::nullopt;
    }
    Datagram d;
    d.Bytes.resize(RECV_BUFFER_SIZE);
    sockaddr_in from {};
    socklen_t len = sizeof from;
    const ssize_t n
        = ::recvfrom(m_fd, d.Bytes.data(), d.Bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
    if (n < 0) {
        return std::nullopt;
    }
    d.Bytes.resize(static_cast<std::size_t>(n));
    d.SourceIp = ntohl(from.sin_addr.s_addr);
    d.SourcePort = ntohs(from.sin_port);
    return d;
}

std::vector<Datagram> ProtocolClient::Collect(std::size_t count, int timeoutMs)
{
    std::vector<Datagram> out;
    QElapsedTimer timer;
    timer.start();
    while (out.size() < count) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0) {
            break;
        }
        if (auto d = Receive(static_cast<int>(left))) {
            out.push_back(std::move(*d));
        }
    }
    return out;
}

void ProtocolClient::Drain()
{
    while (Receive(0)) { }
}

Packet Plain(const Datagram& d, const std::string& password)
{
    Packet p = d.Bytes;
    if (p.size() > HDR_CMD && p[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(p, password);
    }
    return p;
}

bool Login(
    ProtocolClient& client, ApsimProcess& sim, int k, const std::string& password, std::uint32_t destIp)
{
    const MacAddress mac = DeviceMac(k);
    const auto reply
        = Exchange(client, sim, BuildLoginRequest(client.Mac(), mac.data()), password, 2000, destIp);
    return reply && DecodeLoginReply(reply->data(), reply->size()).Result != 0;
}

std::optional<Packet> Exchange(ProtocolClient& client, ApsimProcess& sim, const Packet& request,
    const std::string& password, int timeoutMs, std::uint32_t destIp)
{
    client.Drain();
    client.Send(request, password, sim.Port(), destIp);
    if (auto d = client.Receive(timeoutMs)) {
        return Plain(*d, password);
    }
    return std::nullopt;
}

} // namespace apsimtest
