#include "protocol/codec/packet.h"

#include "protocol/codec/codec_log.h"
#include "protocol/codec/rc4.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

MacAddress MacFromBytes(const std::uint8_t* bytes)
{
    MacAddress mac;
    std::memcpy(mac.data(), bytes, mac.size());
    return mac;
}

bool ParseHeader(const std::uint8_t* data, std::size_t size, PacketHeader& out)
{
    if (data == nullptr || size < PACKET_HEADER_SIZE) {
        return false;
    }
    out.Version = data[HDR_VERSION];
    out.SenderMAC = MacFromBytes(data + HDR_MAC);
    out.Cmd = data[HDR_CMD];
    out.PayloadLen = static_cast<std::uint16_t>((data[HDR_LEN] << 8) | data[HDR_LEN + 1]);
    return true;
}

std::span<const std::uint8_t> PacketPayload(const std::uint8_t* data, std::size_t size)
{
    PacketHeader header;
    if (!ParseHeader(data, size, header)) {
        return {};
    }
    const std::size_t len = std::min<std::size_t>(header.PayloadLen, size - PACKET_HEADER_SIZE);
    return { data + PACKET_HEADER_SIZE, len };
}

void SetPacketMac(Packet& packet, const MacAddress& mac)
{
    if (packet.size() >= PACKET_HEADER_SIZE) {
        std::memcpy(packet.data() + HDR_MAC, mac.data(), mac.size());
    }
}

// ---------------------------------------------------------------------------------------------

PacketWriter::PacketWriter(const MacAddress& senderMac, std::size_t capacity)
    : m_capacity(std::max(capacity, PACKET_HEADER_SIZE))
{
    m_buf.reserve(std::min<std::size_t>(m_capacity, REQUEST_BUFFER_SIZE));
    m_buf.resize(PACKET_HEADER_SIZE, 0);
    std::memcpy(m_buf.data() + HDR_MAGIC, PACKET_MAGIC, PACKET_MAGIC_LEN);
    m_buf[HDR_VERSION] = PACKET_VERSION;
    std::memcpy(m_buf.data() + HDR_MAC, senderMac.data(), senderMac.size());
    m_buf[HDR_CMD] = PACKET_BUILD_CMD;
}

bool PacketWriter::AddTlv(std::uint8_t type, const void* value, std::size_t len)
{
    // The length field is one byte; the payload length field two.
    if (len > 255 || m_buf.size() + 2 + len > m_capacity || PayloadLen() + 2 + len > 0xFFFF) {
        m_failed = true;
        return false;
    }
    m_buf.push_back(type);
    m_buf.push_back(static_cast<std::uint8_t>(len));
    if (len > 0) {
        const auto* bytes = static_cast<const std::uint8_t*>(value);
        m_buf.insert(m_buf.end(), bytes, bytes + len);
    }
    return true;
}

bool PacketWriter::AddTlvU8(std::uint8_t type, std::uint32_t value)
{
    const std::uint8_t b = static_cast<std::uint8_t>(value & 0xFF);
    return AddTlv(type, &b, 1);
}

bool PacketWriter::AddTlvU16(std::uint8_t type, std::uint16_t value)
{
    const std::uint8_t b[2] = { static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value) };
    return AddTlv(type, b, 2);
}

bool PacketWriter::AddTlvU32(std::uint8_t type, std::uint32_t value)
{
    const std::uint8_t b[4]
        = { static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
              static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value) };
    return AddTlv(type, b, 4);
}

bool PacketWriter::AddTlvText(std::uint8_t type, std::string_view text)
{
    return AddTlv(type, text.data(), text.size());
}

bool PacketWriter::AddRaw(const void* bytes, std::size_t len)
{
    if (m_buf.size() + len > m_capacity || PayloadLen() + len > 0xFFFF) {
        m_failed = true;
        return false;
    }
    const auto* b = static_cast<const std::uint8_t*>(bytes);
    m_buf.insert(m_buf.end(), b, b + len);
    return true;
}

Packet PacketWriter::Finish(std::uint8_t cmd)
{
    const std::size_t len = PayloadLen();
    m_buf[HDR_CMD] = cmd;
    m_buf[HDR_LEN] = static_cast<std::uint8_t>(len >> 8);
    m_buf[HDR_LEN + 1] = static_cast<std::uint8_t>(len);
    return m_buf;
}

// ---------------------------------------------------------------------------------------------

std::uint16_t Tlv::U16() const
{
    std::uint16_t v = 0;
    for (int n = 0; n < 2; ++n) {
        v = static_cast<std::uint16_t>((v << 8) | (n < Len ? Value[n] : 0));
    }
    return v;
}

std::uint32_t Tlv::U32() const
{
    std::uint32_t v = 0;
    for (int n = 0; n < 4; ++n) {
        v = (v << 8) | (n < Len ? Value[n] : 0u);
    }
    return v;
}

bool TlvReader::Next(Tlv& out)
{
    if (m_truncated) {
        return false;
    }
    const std::size_t n = m_payload.size();
    if (n - m_offset < 2 || m_offset >= n) {
        return false;
    }
    const std::uint8_t type = m_payload[m_offset];
    const std::uint8_t len = m_payload[m_offset + 1];
    if (m_offset + 2 + len > n) {
        CodecLog("  not enough bytes in buffer");
        m_truncated = true;
        return false;
    }
    out.Type = type;
    out.Len = len;
    out.Value = m_payload.data() + m_offset + 2;
    m_offset += 2 + static_cast<std::size_t>(len);
    ++m_count;
    return true;
}

// ---------------------------------------------------------------------------------------------

void CipherPayload(std::uint8_t* data, std::size_t size, std::string_view password)
{
    const std::span<const std::uint8_t> payload = PacketPayload(data, size);
    if (payload.data() == nullptr) {
        return;
    }
    const int keyLen = static_cast<int>(std::min<std::size_t>(password.size(), 0x7FFFFFFF));
    Rc4Encrypt(reinterpret_cast<const std::uint8_t*>(password.data()), keyLen, data + PACKET_HEADER_SIZE,
        payload.size());
}

const char* RecvCheckLogLine(RecvCheck check)
{
    switch (check) {
    case RecvCheck::Ok:
        return "";
    case RecvCheck::Length:
        return "TFormUDP::ProcRecvData() FAIL length";
    case RecvCheck::Magic:
        return "TFormUDP::ProcRecvData() FAIL magic word";
    case RecvCheck::Version:
        return "TFormUDP::ProcRecvData() FAIL version";
    case RecvCheck::SocketMac:
    case RecvCheck::OwnMac:
        return "TFormUDP::ProcRecvData() FAIL received a request";
    case RecvCheck::PeerMac:
        return "TFormUDP::ProcRecvData() FAIL destination address doesn't match";
    case RecvCheck::TotalLength:
        return "TFormUDP::ProcRecvData() FAIL total length";
    }
    return "";
}

namespace {
RecvCheck RunChecks(const std::uint8_t* data, std::size_t size, const ReceiveContext& ctx)
{
    if (data == nullptr || size < PACKET_HEADER_SIZE) {
        return RecvCheck::Length;
    }
    if (std::memcmp(data + HDR_MAGIC, PACKET_MAGIC, PACKET_MAGIC_LEN) != 0) {
        return RecvCheck::Magic;
    }
    if (data[HDR_VERSION] != PACKET_VERSION) {
        return RecvCheck::Version;
    }
    const std::uint8_t* sender = data + HDR_MAC;
    for (const MacAddress& mac : ctx.SocketMACs) {
        if (std::memcmp(sender, mac.data(), 6) == 0) {
            return RecvCheck::SocketMac;
        }
    }
    if (std::memcmp(sender, ctx.OwnMAC.data(), 6) == 0) {
        return RecvCheck::OwnMac;
    }
    if (ctx.PeerMAC != BROADCAST_MAC && std::memcmp(sender, ctx.PeerMAC.data(), 6) != 0) {
        return RecvCheck::PeerMac;
    }
    const std::size_t len = static_cast<std::size_t>((data[HDR_LEN] << 8) | data[HDR_LEN + 1]);
    if (PACKET_HEADER_SIZE + len != size) {
        return RecvCheck::TotalLength;
    }
    return RecvCheck::Ok;
}
} // namespace

RecvCheck CheckReceivedPacket(const std::uint8_t* data, std::size_t size, const ReceiveContext& ctx)
{
    const RecvCheck result = RunChecks(data, size, ctx);
    if (result != RecvCheck::Ok) {
        CodecLog("%s", RecvCheckLogLine(result));
    }
    return result;
}

RecvCheck AcceptReceivedPacket(
    std::uint8_t* data, std::size_t size, const ReceiveContext& ctx, std::string_view password)
{
    const RecvCheck result = CheckReceivedPacket(data, size, ctx);
    if (result == RecvCheck::Ok && data[HDR_CMD] != CMD_DISCOVER) {
        CipherPayload(data, size, password);
    }
    return result;
}

// ---------------------------------------------------------------------------------------------

namespace {
void AppendDumpBytes(std::vector<std::string>& lines, const std::uint8_t* data, std::size_t size)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(48);
    for (std::size_t n = 0; n < size; ++n) {
        line.push_back(hex[data[n] >> 4]);
        line.push_back(hex[data[n] & 0x0F]);
        line.push_back(' ');
        if (n % 16 == 15) {
            lines.push_back(std::move(line));
            line.clear();
            line.reserve(48);
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
}
} // namespace

std::vector<std::string> TxDumpLines(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines;
    char head[64];
    std::snprintf(head, sizeof head, "[Tx] size=%d", static_cast<int>(size));
    lines.emplace_back(head);
    AppendDumpBytes(lines, data, size);
    return lines;
}

std::vector<std::string> RxDumpLines(
    const std::uint8_t* data, std::size_t size, std::string_view sourceIp, int sourcePort)
{
    std::vector<std::string> lines;
    std::string head = "[Rx] ";
    head.append(sourceIp);
    char tail[64];
    std::snprintf(tail, sizeof tail, ":%d size=%d", sourcePort, static_cast<int>(size));
    head.append(tail);
    lines.push_back(std::move(head));
    AppendDumpBytes(lines, data, size);
    return lines;
}

// ---------------------------------------------------------------------------------------------

std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text.size();
    }
    std::size_t cut = maxBytes;
    // Step back over continuation bytes so that no character is split (at most three of them).
    for (int back = 0; back < 3 && cut > 0; ++back) {
        const auto c = static_cast<unsigned char>(text[cut]);
        if ((c & 0xC0) != 0x80) {
            break;
        }
        --cut;
    }
    // text[cut] is now a lead byte or still a continuation byte (invalid text): in the first case
    // the character starting there is dropped; in the second the plain byte cut stands.
    const auto c = static_cast<unsigned char>(text[cut]);
    if ((c & 0xC0) == 0x80) {
        return maxBytes;
    }
    return cut;
}

void CopyTextField(char* field, std::size_t fieldSize, std::string_view text)
{
    if (field == nullptr || fieldSize == 0) {
        return;
    }
    // Text after an embedded NUL would never be seen.
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const std::size_t len = Utf8CutLength(text, fieldSize - 1);
    std::memcpy(field, text.data(), len);
    std::memset(field + len, 0, fieldSize - len);
}

std::string_view FieldText(const char* field, std::size_t fieldSize)
{
    if (field == nullptr) {
        return {};
    }
    const void* nul = std::memchr(field, 0, fieldSize);
    const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : fieldSize;
    return { field, len };
}
