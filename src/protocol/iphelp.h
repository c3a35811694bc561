// The computer's network adapters: the list the engine opens one socket per adapter from, and the
// local address lookup that gives the engine its own MAC.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// One IPv4 address of an adapter (an entry of its address chain).
struct CAdapterAddress
{
    QString IpText; // dotted address
    QString MaskText; // dotted subnet mask
};

// One network adapter.
struct CAdapterInfo
{
    QString Name; // interface name ("eth0", "lo")
    QString Description; // shown in the log; the interface name
    int Index = 0; // interface index (order of the list)
    std::uint8_t MAC[6] = {}; // hardware address (zero when the link has none)
    bool Loopback = false;
    std::vector<CAdapterAddress> Addresses; // IPv4 addresses in the order the system lists them
    std::vector<std::uint32_t> Gateways; // default gateways through this adapter (host order)
};
using CAdapterList = std::vector<CAdapterInfo>;

// Dotted text of a host-order IPv4 address, and back (0 for an unparsable text, like inet_addr's
// refusal; "255.255.255.255" gives 0xFFFFFFFF).
QString IpToText(std::uint32_t hostOrder);
std::uint32_t TextToIp(const QString& text);

class CIPHelp
{
public:
    // Reads the whole adapter list of the system (every interface with a link or IPv4 address, in
    // interface order, loopback included and marked). False when the system list is unreadable.
    using AdapterSource = std::function<bool(CAdapterList&)>;

    CIPHelp() = default;

    // The adapters the program uses, in interface order: loopback and adapters without an IPv4
    // address are left out; when a restriction is in force (QRX_ADAPTERS, else [Setting]
    // Adapters) only the named interfaces are kept, loopback included when named. False when no
    // adapter is left (the list is then empty).
    bool GetAdapters(CAdapterList& out) const;

    // ip in and out, addresses in host order; mac (6 bytes) may be null. Finds the adapter address
    // equal to ip or, when ip is 0, the first usable address, and reports its mask, its adapter's
    // first gateway and its adapter's MAC. Without a match: the first address's mask and gateway
    // (0 when there is none), ip 0 and false. Without any adapter: false, outputs unchanged
    // apart from ip, which is set to 0.
    bool GetLocalAddress(
        std::uint32_t& ip, std::uint32_t& mask, std::uint32_t& gateway, std::uint8_t* mac) const;

    // Test seam: replaces the system's adapter list (nullptr restores it).
    void SetAdapterSource(AdapterSource source) { m_source = std::move(source); }

    // The interface names the sockets are restricted to: QRX_ADAPTERS when set and not empty,
    // else the settings' [Setting] Adapters; empty means no restriction.
    static QStringList AdapterRestriction();

    // The system's adapter list (getifaddrs and the kernel routing table).
    static bool ReadSystemAdapters(CAdapterList& out);

    // Default gateways per interface from the text of the kernel's routing table
    // (/proc/net/route), in table order.
    static std::map<QString, std::vector<std::uint32_t>> ParseRouteTable(const QByteArray& text);

private:
    AdapterSource m_source;
};

// The one instance of the program.
extern CIPHelp g_IPHelp;
