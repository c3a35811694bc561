// The emulator: one UDP socket on the device port (and on any port a login reply names) serving
// every emulated device, a scheduler for delayed replies and WPS runs, the request log on stdout
// and the state file.
#pragma once

#include "device.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct DeviceRequest;

namespace apsim {

struct Options
{
    int Devices = 0; // 0: as many as the configuration names, at least 1
    std::string Password;
    std::uint32_t AddressBase = 0x7F000101; // 127.0.1.1
    double TimeScale = 1.0; // device intervals are multiplied by this
    std::string ConfigFile;
    std::string StateFile;
    bool Verbose = false;
    std::uint16_t Port = DEVICE_PORT;
    std::uint16_t ReplyPort = LOCAL_PORT; // port of answers sent by broadcast
    bool AllowBroadcast = false; // broadcast answers of non-loopback devices may go to 255.255.255.255
};

class Simulator
{
public:
    explicit Simulator(Options options);
    ~Simulator();

    // Builds the devices from the options, the configuration and the state file.
    bool Setup(std::string& error);
    // Opens the device port. False with an error text when it cannot be bound.
    bool Open(std::string& error);
    // Serves until Stop() (or a termination signal); writes the state file at the end.
    void Run();
    void Stop() { m_stop = true; }

    const std::vector<Device>& Devices() const { return m_devices; }

private:
    struct Socket
    {
        int Fd = -1;
        std::uint16_t Port = 0;
    };
    struct Client
    {
        std::uint32_t Ip = 0;
        std::uint16_t Port = 0;
        int SocketFd = -1;
    };

    static std::int64_t NowMs();
    std::int64_t Scaled(std::int64_t deviceMs) const;
    void Schedule(std::int64_t delayMs, std::function<void()> task);

    int OpenSocket(std::uint16_t port, std::string& error);
    void ReadSocket(const Socket& sock);
    void HandleDatagram(std::uint8_t* data, std::size_t size, const Client& from, std::uint32_t destIp,
        std::uint16_t localPort);
    void HandleLogin(const std::uint8_t* data, std::size_t size, const Client& from,
        const std::vector<int>& targets, std::uint16_t localPort);
    void HandleConfigCommand(Device& dev, const std::uint8_t* plain, std::size_t size,
        const DeviceRequest& req, const Client& from, std::uint16_t localPort);
    void HandleSet(Device& dev, const DeviceRequest& req, const Client& from, const std::string& key);
    void StartWps(Device& dev, const Client& to, bool pbc, const std::string& ssid);
    void CheckIdle();

    // Replies: fault handling, encipherment and sending from the device's address.
    void Reply(Device& dev, const std::string& key, Packet plain, const Client& to);
    void SendFrom(const Device& dev, const Packet& packet, const Client& to);
    Fault* FaultFor(Device& dev, const std::string& key);

    Packet BuildDeviceGetConfig(const Device& dev, bool oversize) const;

    void LogRequest(const std::string& who, const Client& from, std::uint16_t localPort,
        const std::uint8_t* data, std::size_t size, const std::string& key, const std::string& note);
    void Print(const std::string& line);
    void MarkDirty() { m_dirty = true; }
    void WriteState();

    Options m_opt;
    std::vector<Device> m_devices;
    std::multimap<std::uint32_t, int> m_byAddress; // device address -> index into m_devices
    std::vector<Socket> m_sockets;
    std::multimap<std::int64_t, std::function<void()>> m_tasks;
    bool m_stop = false;
    bool m_dirty = false;
};

// Installs SIGTERM/SIGINT handlers that stop the running simulator.
void InstallStopSignals(Simulator* sim);

// Text of a WPS status code, as the wizard names it.
const char* WpsStatusName(int code);

} // namespace apsim
