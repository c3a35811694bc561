// qrx-apsim: one process that plays one to a thousand access points on the device protocol.
#include "simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const USAGE = R"(Usage: qrx-apsim [OPTIONS]
Emulates access points that answer the setup protocol on UDP port 5432.

  --devices N          number of devices (1 to 4096; default: as many as --config lists, at least 1)
  --password PW        administrator password of every device (default: blank)
  --address-base A     address of device 1; device k answers from A + k - 1 (default 127.0.1.1)
  --time-scale X       multiply every device interval by X (0.01 runs a 10 s WPS run in 100 ms)
  --config FILE        JSON file with per-device settings and faults (see tools/apsim/README.md)
  --state FILE         keep the devices' settings in FILE: read at start, rewritten on every change
  --port P             device port (default 5432)
  --reply-port P       port that answers sent by broadcast go to (default 5433)
  --allow-broadcast    let devices that answer by broadcast use 255.255.255.255 when their address
                       is not a loopback one (otherwise they answer the requester's address)
  --verbose            also print the replies sent and dropped
  --help               show this text

Prints one line per request received ("REQ dev=K from=IP:PORT port=P cmd=NAME ... items=...").
Runs until SIGINT or SIGTERM.
)";

bool ParseInt(const char* text, long lo, long hi, long& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno || !end || *end || end == text || v < lo || v > hi) {
        return false;
    }
    out = v;
    return true;
}

int Usage(const char* error)
{
    std::fprintf(stderr, "qrx-apsim: %s\n(see qrx-apsim --help)\n", error);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    apsim::Options opt;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--verbose") {
            opt.Verbose = true;
        } else if (arg == "--allow-broadcast") {
            opt.AllowBroadcast = true;
        } else if (arg == "--devices") {
            long n = 0;
            if (!value(v) || !ParseInt(v, 1, 4096, n)) {
                return Usage("--devices needs a number from 1 to 4096");
            }
            opt.Devices = static_cast<int>(n);
        } else if (arg == "--password") {
            if (!value(v)) {
                return Usage("--password needs a value");
            }
            opt.Password = v;
        } else if (arg == "--address-base") {
            if (!value(v) || !apsim::ParseIp(v, opt.AddressBase)) {
                return Usage("--address-base needs an IPv4 address");
            }
        } else if (arg == "--time-scale") {
            char* end = nullptr;
            if (!value(v) || (opt.TimeScale = std::strtod(v, &end), !end || *end || opt.TimeScale <= 0)) {
                return Usage("--time-scale needs a positive number");
            }
        } else if (arg == "--config") {
            if (!value(v)) {
                return Usage("--config needs a file");
            }
            opt.ConfigFile = v;
        } else if (arg == "--state") {
            if (!value(v)) {
                return Usage("--state needs a file");
            }
            opt.StateFile = v;
        } else if (arg == "--port") {
            long p = 0;
            if (!value(v) || !ParseInt(v, 1, 65535, p)) {
                return Usage("--port needs a port number");
            }
            opt.Port = static_cast<std::uint16_t>(p);
        } else if (arg == "--reply-port") {
            long p = 0;
            if (!value(v) || !ParseInt(v, 1, 65535, p)) {
                return Usage("--reply-port needs a port number");
            }
            opt.ReplyPort = static_cast<std::uint16_t>(p);
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }
    // Every device address must exist: loopback ones stay inside 127.0.0.0/8.
    const std::uint64_t last = std::uint64_t(opt.AddressBase) + std::uint64_t(std::max(opt.Devices, 1)) - 1;
    if (last > 0xFFFFFFFEu || ((opt.AddressBase >> 24) == 127 && (last >> 24) != 127)) {
        return Usage("the device addresses run past the end of the address range");
    }

    apsim::Simulator sim(opt);
    std::string error;
    if (!sim.Setup(error)) {
        std::fprintf(stderr, "qrx-apsim: %s\n", error.c_str());
        return 2;
    }
    apsim::InstallStopSignals(&sim);
    if (!sim.Open(error)) {
        std::fprintf(stderr, "qrx-apsim: %s\n", error.c_str());
        return 1;
    }
    sim.Run();
    return 0;
}
