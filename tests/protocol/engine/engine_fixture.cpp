#include "engine_fixture.h"

#include "app/debug.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enginetest {

namespace {

// Every test process gets a network namespace of its own with only lo in it, so the engine's
// port 5433 and the device's 5432 never meet another program's sockets. Without the right to
// make one, the tests run on the host's lo.
class PrivateLoopback : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (::unshare(CLONE_NEWNET) != 0) {
            std::fprintf(stderr, "engine tests: no private network namespace (%s); using the host's lo\n",
                std::strerror(errno));
            return;
        }
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ifreq ifr {};
        std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
        if (fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &ifr) == 0) {
            ifr.ifr_flags |= IFF_UP;
            ::ioctl(fd, SIOCSIFFLAGS, &ifr);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

[[maybe_unused]] ::testing::Environment* const g_env
    = ::testing::AddGlobalTestEnvironment(new PrivateLoopback);

} // namespace

bool WaitFor(const std::function<bool()>& cond, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) {
            return cond();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

void DrainEvents()
{
    for (int n = 0; n < 5; ++n) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// ---------------------------------------------------------------------------------------------

LogCapture::LogCapture()
{
    const char* dir = std::getenv("QRX_TEST_TMP");
    std::string base = dir && *dir ? dir : "/tmp";
    ::mkdir(base.c_str(), 0700);
    std::string templ = base + "/engine-log-XXXXXX";
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    m_fd = ::mkstemp(name.data());
    m_path = name.data();
    m_previous = g_Debug.File;
    g_Debug.File = m_fd;
}

LogCapture::~LogCapture()
{
    g_Debug.File = m_previous;
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    ::unlink(m_path.c_str());
}

std::string LogCapture::Text() const
{
    std::string out;
    FILE* f = std::fopen(m_path.c_str(), "rb");
    if (!f) {
        return out;
    }
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) {
        out.append(buf, n);
    }
    std::fclose(f);
    return out;
}

std::vector<std::string> LogCapture::Lines() const
{
    std::vector<std::string> lines;
    const std::string text = Text();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        // "(HH:MM:SS:mmm 0xTID) text"
        if (!line.empty() && line[0] == '(') {
            const std::size_t close = line.find(") ");
            if (close != std::string::npos) {
                line = line.substr(close + 2);
            }
        }
        lines.push_back(line);
    }
    return lines;
}

bool LogCapture::Has(const std::string& text) const
{
    return Count(text) > 0;
}

int LogCapture::Count(const std::string& text) const
{
    int n = 0;
    for (const std::string& line : Lines()) {
        n += line == text ? 1 : 0;
    }
    return n;
}

void LogCapture::Clear()
{
    if (m_fd >= 0) {
        [[maybe_unused]] int rc = ::ftruncate(m_fd, 0);
        ::lseek(m_fd, 0, SEEK_SET);
    }
}

// ---------------------------------------------------------------------------------------------

ScriptedDevice::ScriptedDevice(std::vector<std::uint16_t> ports)
{
    for (std::uint16_t port : ports) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
            m_ok = false;
            if (fd >= 0) {
                ::close(fd);
            }
            continue;
        }
        m_listen.push_back(fd);
        auto notifier = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
        QObject::connect(
            notifier.get(), &QSocketNotifier::activated, [this, fd, port] { ReadOne(fd, port); });
        m_notifiers.push_back(std::move(notifier));
    }
}

ScriptedDevice::~ScriptedDevice()
{
    m_notifiers.clear();
    for (int fd : m_listen) {
        ::close(fd);
    }
    for (auto& [ip, fd] : m_senders) {
        ::close(fd);
    }
}

int ScriptedDevice::SenderFor(const std::string& ip)
{
    if (auto it = m_senders.find(ip); it != m_senders.end()) {
        return it->second;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(5432);
    inet_pton(AF_INET, ip.c_str(), &addr.sin_addr);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        ADD_FAILURE() << "cannot bind the device's source address " << ip;
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    m_senders[ip] = fd;
    return fd;
}

bool ScriptedDevice::SendToEngine(const Packet& data, const std::string& sourceIp, bool raw)
{
    const int fd = SenderFor(sourceIp);
    if (fd < 0) {
        return false;
    }
    Packet wire = data;
    if (!raw && wire.size() >= PACKET_HEADER_SIZE && wire[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(wire, Password);
    }
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(LOCAL_PORT);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return ::sendto(fd, wire.data(), wire.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof(to))
        == ssize_t(wire.size());
}

void ScriptedDevice::ReadOne(int fd, std::uint16_t port)
{
    std::vector<std::uint8_t> buf(65536);
    const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
    if (n <= 0) {
        return;
    }
    SeenRequest seen;
    seen.Wire.assign(buf.begin(), buf.begin() + n);
    seen.Plain = seen.Wire;
    seen.LocalPort = port;
    CipherPayload(seen.Plain, Password);
    DecodeRequest(seen.Plain.data(), seen.Plain.size(), seen.Req);
    Requests.push_back(seen);
    if (OnRequest) {
        for (const Reply& reply : OnRequest(seen)) {
            SendToEngine(reply.Data, reply.SourceIp, reply.Raw);
        }
    }
}

} // namespace enginetest
