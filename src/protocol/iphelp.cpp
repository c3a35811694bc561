#include "protocol/iphelp.h"

#include "app/globalvar.h"

#include <QFile>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

CIPHelp g_IPHelp;

QString IpToText(std::uint32_t hostOrder)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((hostOrder >> 24) & 0xFF)
        .arg((hostOrder >> 16) & 0xFF)
        .arg((hostOrder >> 8) & 0xFF)
        .arg(hostOrder & 0xFF);
}

std::uint32_t TextToIp(const QString& text)
{
    const QByteArray ascii = text.trimmed().toLatin1();
    in_addr a {};
    if (ascii.isEmpty() || inet_pton(AF_INET, ascii.constData(), &a) != 1) {
        return 0;
    }
    return ntohl(a.s_addr);
}

namespace {

QString SockaddrIpText(const sockaddr* sa)
{
    if (!sa || sa->sa_family != AF_INET) {
        return {};
    }
    sockaddr_in in {};
    std::memcpy(&in, sa, sizeof(in));
    return IpToText(ntohl(in.sin_addr.s_addr));
}

} // namespace

std::map<QString, std::vector<std::uint32_t>> CIPHelp::ParseRouteTable(const QByteArray& text)
{
    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...; addresses are the
    // network-order words printed as hexadecimal numbers of this machine's byte order.
    std::map<QString, std::vector<std::uint32_t>> out;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QList<QByteArray> cols = lines[n].simplified().split(' ');
        if (cols.size() < 8) {
            continue;
        }
        bool okDest = false, okGw = false, okFlags = false, okMask = false;
        const std::uint32_t dest = cols[1].toUInt(&okDest, 16);
        const std::uint32_t gw = cols[2].toUInt(&okGw, 16);
        const std::uint32_t flags = cols[3].toUInt(&okFlags, 16);
        const std::uint32_t mask = cols[7].toUInt(&okMask, 16);
        constexpr std::uint32_t RTF_UP_ = 0x1, RTF_GATEWAY_ = 0x2;
        if (!okDest || !okGw || !okFlags || !okMask || dest != 0 || mask != 0 || gw == 0
            || (flags & (RTF_UP_ | RTF_GATEWAY_)) != (RTF_UP_ | RTF_GATEWAY_)) {
            continue;
        }
        out[QString::fromLatin1(cols[0])].push_back(ntohl(gw));
    }
    return out;
}

bool CIPHelp::ReadSystemAdapters(CAdapterList& out)
{
    out.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return false;
    }
    std::map<QString, CAdapterInfo> byName;
    for (ifaddrs* ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_name) {
            continue;
        }
        const QString name = QString::fromLocal8Bit(ifa->ifa_name);
        CAdapterInfo& info = byName[name];
        if (info.Name.isEmpty()) {
            info.Name = name;
            info.Description = name;
            info.Index = static_cast<int>(if_nametoindex(ifa->ifa_name));
        }
        if (ifa->ifa_flags & IFF_LOOPBACK) {
            info.Loopback = true;
        }
        if (!ifa->ifa_addr) {
            continue;
        }
        if (ifa->ifa_addr->sa_family == AF_PACKET) {
            sockaddr_ll ll {};
            std::memcpy(&ll, ifa->ifa_addr, sizeof(ll));
            if (ll.sll_halen >= 6) {
                std::memcpy(info.MAC, ll.sll_addr, 6);
            }
        } else if (ifa->ifa_addr->sa_family == AF_INET) {
            // Aliases of an interface ("eth0:1") share its name in this list.
            info.Addresses.push_back({ SockaddrIpText(ifa->ifa_addr), SockaddrIpText(ifa->ifa_netmask) });
        }
    }
    freeifaddrs(list);

    QFile route(QStringLiteral("/proc/net/route"));
    std::map<QString, std::vector<std::uint32_t>> gateways;
    if (route.open(QIODevice::ReadOnly)) {
        gateways = ParseRouteTable(route.readAll());
    }
    for (auto& [name, info] : byName) {
        if (auto it = gateways.find(name); it != gateways.end()) {
            info.Gateways = it->second;
        }
        out.push_back(std::move(info));
    }
    std::stable_sort(out.begin(), out.end(),
        [](const CAdapterInfo& a, const CAdapterInfo& b) { return a.Index < b.Index; });
    return true;
}

QStringList CIPHelp::AdapterRestriction()
{
    QString text = qEnvironmentVariable("QRX_ADAPTERS").trimmed();
    if (text.isEmpty() && g_Var.Ini) {
        text = g_Var.Ini->ReadString(QStringLiteral("Setting"), QStringLiteral("Adapters"), QString())
                   .trimmed();
    }
    QStringList names;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty() && !names.contains(name)) {
            names.push_back(name);
        }
    }
    return names;
}

bool CIPHelp::GetAdapters(CAdapterList& out) const
{
    out.clear();
    CAdapterList all;
    const bool read = m_source ? m_source(all) : ReadSystemAdapters(all);
    if (!read) {
        return false;
    }
    const QStringList only = AdapterRestriction();
    for (CAdapterInfo& info : all) {
        if (info.Addresses.empty()) {
            continue;
        }
        if (only.isEmpty() ? info.Loopback : !only.contains(info.Name)) {
            continue;
        }
        out.push_back(std::move(info));
    }
    return !out.empty();
}

bool CIPHelp::GetLocalAddress(
    std::uint32_t& ip, std::uint32_t& mask, std::uint32_t& gateway, std::uint8_t* mac) const
{
    const std::uint32_t wanted = ip;
    ip = 0;
    CAdapterList adapters;
    if (!GetAdapters(adapters)) {
        return false;
    }
    bool haveFirst = false;
    std::uint32_t firstMask = 0, firstGateway = 0;
    for (const CAdapterInfo& info : adapters) {
        const std::uint32_t gw = info.Gateways.empty() ? 0 : info.Gateways.front();
        for (const CAdapterAddress& entry : info.Addresses) {
            const std::uint32_t addr = TextToIp(entry.IpText);
            if (addr == 0) {
                continue;
            }
            if (!haveFirst) {
                haveFirst = true;
                firstMask = TextToIp(entry.MaskText);
                firstGateway = gw;
            }
            if (wanted == 0 || addr == wanted) {
                ip = addr;
                mask = TextToIp(entry.MaskText);
                gateway = gw;
                if (mac) {
                    std::memcpy(mac, info.MAC, 6);
                }
                return true;
            }
        }
    }
    mask = firstMask;
    gateway = firstGateway;
    return false;
}
