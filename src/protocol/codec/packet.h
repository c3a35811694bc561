// Datagram layout: the 18-byte header, items (type, length, value), payload encipherment,
// the checks every received datagram must pass, and the packet dump of the log.
#pragma once

#include "protocol/codec/records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using MacAddress = std::array<std::uint8_t, 6>;
using Packet = std::vector<std::uint8_t>; // a whole datagram: header and payload

inline constexpr MacAddress BROADCAST_MAC = { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF };

MacAddress MacFromBytes(const std::uint8_t* bytes);

// ---------------------------------------------------------------------------------------------
// Header
// ---------------------------------------------------------------------------------------------

struct PacketHeader
{
    std::uint8_t Version = 0;
    MacAddress SenderMAC {};
    std::uint8_t Cmd = 0;
    std::uint16_t PayloadLen = 0;
};

// Reads the header fields; false when fewer than 18 bytes are given (nothing else is checked).
bool ParseHeader(const std::uint8_t* data, std::size_t size, PacketHeader& out);

// The payload that lies inside the buffer: header length field bounded by the bytes present.
std::span<const std::uint8_t> PacketPayload(const std::uint8_t* data, std::size_t size);

// Replaces the sender MAC of a packet (each socket puts its adapter's MAC there before sending).
void SetPacketMac(Packet& packet, const MacAddress& mac);

// ---------------------------------------------------------------------------------------------
// Building
// ---------------------------------------------------------------------------------------------

// Writes a datagram: header (magic, version 2, sender MAC, command 0x0A, length 0) and then items.
// The writer never grows beyond its capacity; an item that does not fit is refused (false) and
// marks the writer as failed.
class PacketWriter
{
public:
    PacketWriter(const MacAddress& senderMac, std::size_t capacity = REQUEST_BUFFER_SIZE);

    bool AddTlv(std::uint8_t type, const void* value, std::size_t len);
    bool AddTlvEmpty(std::uint8_t type) { return AddTlv(type, nullptr, 0); }
    bool AddTlvU8(std::uint8_t type, std::uint32_t value); // low byte
    bool AddTlvU16(std::uint8_t type, std::uint16_t value); // big-endian
    bool AddTlvU32(std::uint8_t type, std::uint32_t value); // big-endian
    bool AddTlvText(std::uint8_t type, std::string_view text); // raw bytes, no terminator
    bool AddRaw(const void* bytes, std::size_t len); // payload bytes that are not an item

    // Sets the command and the payload length; returns the datagram (18 + payload length bytes).
    Packet Finish(std::uint8_t cmd);

    std::size_t PayloadLen() const { return m_buf.size() - PACKET_HEADER_SIZE; }
    bool Failed() const { return m_failed; }

private:
    Packet m_buf;
    std::size_t m_capacity;
    bool m_failed = false;
};

// ---------------------------------------------------------------------------------------------
// Reading items
// ---------------------------------------------------------------------------------------------

struct Tlv
{
    std::uint8_t Type = 0;
    std::uint8_t Len = 0;
    const std::uint8_t* Value = nullptr; // Len bytes, all inside the payload

    // Value bytes read with a fixed width: missing bytes count as 0, extra bytes are ignored.
    std::uint8_t U8() const { return Len >= 1 ? Value[0] : 0; }
    std::uint16_t U16() const; // big-endian
    std::uint32_t U32() const; // big-endian
    std::string_view Text() const { return { reinterpret_cast<const char*>(Value), Len }; }
};

// Bounded item loop over a payload. Next() gives the items in order; it stops when fewer than
// two bytes are left (a lone trailing byte is ignored silently) or when an item's length runs past
// the payload (logs "  not enough bytes in buffer" and sets Truncated()).
class TlvReader
{
public:
    explicit TlvReader(std::span<const std::uint8_t> payload)
        : m_payload(payload)
    {
    }
    bool Next(Tlv& out);
    bool Truncated() const { return m_truncated; }
    std::size_t ItemCount() const { return m_count; } // well-formed items read so far

private:
    std::span<const std::uint8_t> m_payload;
    std::size_t m_offset = 0;
    std::size_t m_count = 0;
    bool m_truncated = false;
};

// ---------------------------------------------------------------------------------------------
// Encipherment
// ---------------------------------------------------------------------------------------------

// Enciphers or deciphers the payload in place with RC4 keyed by the password bytes (the default
// key when the password is empty). Only bytes inside the buffer are touched.
void CipherPayload(std::uint8_t* data, std::size_t size, std::string_view password);
inline void CipherPayload(Packet& packet, std::string_view password)
{
    CipherPayload(packet.data(), packet.size(), password);
}

// ---------------------------------------------------------------------------------------------
// Receive checks
// ---------------------------------------------------------------------------------------------

// What the checks compare a datagram with.
struct ReceiveContext
{
    std::span<const MacAddress> SocketMACs; // adapter MAC of every open socket
    MacAddress OwnMAC {};
    MacAddress PeerMAC = BROADCAST_MAC; // all ones: any sender
};

enum class RecvCheck {
    Ok,
    Length, // 1: shorter than the header
    Magic, // 2
    Version, // 3
    SocketMac, // 4: one of our own adapters sent it
    OwnMac, // 5: sender is OwnMAC
    PeerMac, // 6: not the logged-in device
    TotalLength, // 7: header length and datagram size disagree
};

// The log line written when a check fails (empty for Ok).
const char* RecvCheckLogLine(RecvCheck check);

// Applies the seven checks in order; the first that fails writes its log line.
RecvCheck CheckReceivedPacket(const std::uint8_t* data, std::size_t size, const ReceiveContext& ctx);

// Checks and then, when the command is not 0, deciphers the payload in place. The datagram is to
// be dumped and dispatched only when the result is Ok.
RecvCheck AcceptReceivedPacket(
    std::uint8_t* data, std::size_t size, const ReceiveContext& ctx, std::string_view password);

// ---------------------------------------------------------------------------------------------
// Packet dump
// ---------------------------------------------------------------------------------------------

// "[Tx] size=%d" and then the bytes as "%02X " sixteen to a line.
std::vector<std::string> TxDumpLines(const std::uint8_t* data, std::size_t size);
// "[Rx] %s:%d size=%d" with source IP text, source port and size, then the bytes.
std::vector<std::string> RxDumpLines(
    const std::uint8_t* data, std::size_t size, std::string_view sourceIp, int sourcePort);

// ---------------------------------------------------------------------------------------------
// Text fields
// ---------------------------------------------------------------------------------------------

// Length of text cut to at most maxBytes without splitting a UTF-8 character.
std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes);

// Copies text into a NUL-terminated field of fieldSize bytes, cut to fieldSize - 1 bytes without
// splitting a UTF-8 character; the rest of the field is zeroed.
void CopyTextField(char* field, std::size_t fieldSize, std::string_view text);
template <std::size_t N> void CopyTextField(char (&field)[N], std::string_view text)
{
    CopyTextField(field, N, text);
}

// The text of a NUL-terminated field, never reading past the field.
std::string_view FieldText(const char* field, std::size_t fieldSize);
template <std::size_t N> std::string_view FieldText(const char (&field)[N])
{
    return FieldText(field, N);
}
