// Helpers of the codec tests: byte strings from hex and text, and a capture of the codec's log.
#pragma once

#include "protocol/codec/codec_log.h"
#include "protocol/codec/packet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// "30 01 00" -> {0x30, 0x01, 0x00}; spaces are ignored.
inline Bytes H(std::string_view hex)
{
    Bytes out;
    int nibble = -1;
    for (char c : hex) {
        int v;
        if (c >= '0' && c <= '9') {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        } else {
            continue;
        }
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(nibble * 16 + v));
            nibble = -1;
        }
    }
    return out;
}

// The raw bytes of a text.
inline Bytes T(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

inline const MacAddress kOwnMac = { 0x02, 0x00, 0x00, 0xAA, 0xBB, 0x01 };
inline const MacAddress kDevMac = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x55 };

// A header written out byte by byte: magic, version 2, MAC, command, big-endian length.
inline Bytes Header(const MacAddress& mac, std::uint8_t cmd, std::size_t payloadLen)
{
    return Cat({ T("SWP12345"), H("02"), Bytes(mac.begin(), mac.end()),
        Bytes { cmd, static_cast<std::uint8_t>(payloadLen >> 8), static_cast<std::uint8_t>(payloadLen) } });
}

// A datagram made of a header and a payload.
inline Bytes Datagram(const MacAddress& mac, std::uint8_t cmd, const Bytes& payload)
{
    return Cat({ Header(mac, cmd, payload.size()), payload });
}

inline std::string HexOf(const Bytes& bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : bytes) {
        s += hex[b >> 4];
        s += hex[b & 15];
        s += ' ';
    }
    return s;
}

// Collects the codec's log lines for the lifetime of the fixture.
class CodecLogTest : public ::testing::Test
{
protected:
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    static void Sink(const char* line) { Lines().emplace_back(line); }
    void SetUp() override
    {
        Lines().clear();
        SetCodecLogSink(&CodecLogTest::Sink);
    }
    void TearDown() override
    {
        SetCodecLogSink(nullptr);
        Lines().clear();
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> out;
        out.swap(Lines());
        return out;
    }
};
