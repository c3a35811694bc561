#pragma once
// The benchmarks' network: a namespace of their own holding only loopback, brought up, so that
// nothing they send can leave the machine or meet another copy of the program. Without the right
// to make one (not root) they stay on the host's loopback, where QRX_ADAPTERS=lo keeps them.

#include <cstring>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

inline void PrivateLoopback()
{
    if (::unshare(CLONE_NEWNET) != 0) {
        return; // the host's loopback
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    ifreq ifr {};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    if (::ioctl(fd, SIOCGIFFLAGS, &ifr) == 0) {
        ifr.ifr_flags |= IFF_UP;
        ::ioctl(fd, SIOCSIFFLAGS, &ifr);
    }
    ::close(fd);
}
