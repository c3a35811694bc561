// Test harness around the access point emulator: the emulator as a child process whose request
// log is read line by line, and a plain UDP client on loopback that speaks the device protocol
// with the codec's request builders.
#pragma once

#include "protocol/codec/messages.h"
#include "protocol/codec/packet.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace apsimtest {

inline constexpr std::uint32_t LOOPBACK = 0x7F000001; // 127.0.0.1
inline constexpr std::uint32_t FIRST_DEVICE = 0x7F000101; // 127.0.1.1

// A UDP port that nobody holds right now.
std::uint16_t FreeUdpPort();

// MAC of emulated device k under the factory settings.
MacAddress DeviceMac(int k);

// The emulator as a child process.
class ApsimProcess
{
public:
    ApsimProcess();
    ~ApsimProcess();

    // Starts qrx-apsim with the arguments (a free --port is added) and waits for its READY line.
    bool Start(const QStringList& args, int timeoutMs = 10000);
    // Stops it with SIGTERM and waits; true when it exited normally.
    bool Stop();

    std::uint16_t Port() const { return m_port; }
    // Waits until a line matching the predicate has been printed (lines seen before count too).
    bool WaitForLine(const std::function<bool(const std::string&)>& match, int timeoutMs = 5000);
    bool WaitForLineContaining(const std::string& text, int timeoutMs = 5000);
    // Every line printed so far.
    const std::vector<std::string>& Lines();
    // Lines printed so far that contain the text.
    std::vector<std::string> LinesContaining(const std::string& text);

    // A file path inside the process's temporary folder.
    QString TempPath(const QString& name) const;
    // Writes a configuration file into the temporary folder and gives its path.
    QString WriteConfig(const std::string& json, const QString& name = QStringLiteral("config.json"));

private:
    void ReadLines();

    QProcess m_proc;
    QTemporaryDir m_dir;
    std::uint16_t m_port = 0;
    std::string m_partial;
    std::vector<std::string> m_lines;
};

// One received datagram.
struct Datagram
{
    Packet Bytes;
    std::uint32_t SourceIp = 0; // host order
    std::uint16_t SourcePort = 0;
};

// A plain UDP socket bound to 127.0.0.1 on an ephemeral port (or the port given).
class ProtocolClient
{
public:
    explicit ProtocolClient(std::uint16_t bindPort = 0, std::uint32_t bindIp = LOOPBACK);
    ~ProtocolClient();

    bool Ok() const { return m_fd >= 0; }
    std::uint16_t LocalPort() const { return m_port; }
    const MacAddress& Mac() const { return m_mac; }

    // Enciphers the payload with the password (every command but discovery) and sends.
    void Send(
        Packet packet, const std::string& password, std::uint16_t destPort, std::uint32_t destIp = LOOPBACK);
    // Waits up to timeoutMs for one datagram.
    std::optional<Datagram> Receive(int timeoutMs);
    // Collects datagrams until count have arrived or timeoutMs passed since the start.
    std::vector<Datagram> Collect(std::size_t count, int timeoutMs);
    // Discards whatever is waiting.
    void Drain();

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
    MacAddress m_mac { 0x02, 0xC1, 0x1E, 0x47, 0x00, 0x01 };
};

// Deciphers a copy of a reply (discovery answers travel in plain text).
Packet Plain(const Datagram& d, const std::string& password);

// Logs in to device k at the emulator; true when the reply's result is not 0.
bool Login(ProtocolClient& client, ApsimProcess& sim, int k, const std::string& password = {},
    std::uint32_t destIp = LOOPBACK);

// Sends a request and waits for one reply; deciphered, or nullopt on silence.
std::optional<Packet> Exchange(ProtocolClient& client, ApsimProcess& sim, const Packet& request,
    const std::string& password = {}, int timeoutMs = 2000, std::uint32_t destIp = LOOPBACK);

} // namespace apsimtest
