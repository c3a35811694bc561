// Datagram layout: header, item writer and reader, receive checks, payload cipher, dumps, text cuts.
#include "protocol/codec/packet.h"
#include "protocol/codec/rc4.h"

#include "codec_test_util.h"

#include <algorithm>
#include <cstring>

namespace {

class PacketTest : public CodecLogTest
{
};

// ---------------------------------------------------------------------------------------------
// Header and writer

TEST_F(PacketTest, WriterLaysOutHeaderAndItems)
{
    PacketWriter w(kOwnMac);
    EXPECT_TRUE(w.AddTlvU8(0x30, 0x1FF)); // low byte
    EXPECT_TRUE(w.AddTlvU16(0x92, 6000));
    EXPECT_TRUE(w.AddTlvU32(0x31, 0xC0A80114));
    EXPECT_TRUE(w.AddTlvText(0x50, "ab"));
    EXPECT_TRUE(w.AddTlvEmpty(0x6B));
    const Packet p = w.Finish(CMD_SET_CONFIG);
    const Bytes payload = H("30 01 FF  92 02 17 70  31 04 C0 A8 01 14  50 02 61 62  6B 00");
    EXPECT_EQ(HexOf(p), HexOf(Datagram(kOwnMac, CMD_SET_CONFIG, payload)));

    PacketHeader h;
    ASSERT_TRUE(ParseHeader(p.data(), p.size(), h));
    EXPECT_EQ(h.Version, 2);
    EXPECT_EQ(h.SenderMAC, kOwnMac);
    EXPECT_EQ(h.Cmd, CMD_SET_CONFIG);
    EXPECT_EQ(h.PayloadLen, payload.size());
}

TEST_F(PacketTest, WriterNeverGrowsPastItsBufferOrTheLengthByte)
{
    PacketWriter w(kOwnMac, 30); // room for 12 payload bytes
    const std::string ten(10, 'x');
    EXPECT_TRUE(w.AddTlvText(0x50, ten)); // 12 bytes
    EXPECT_FALSE(w.AddTlvU8(0x53, 1));
    EXPECT_TRUE(w.Failed());
    EXPECT_EQ(w.Finish(CMD_SET_CONFIG).size(), 30u);

    PacketWriter big(kOwnMac);
    EXPECT_FALSE(big.AddTlvText(0x50, std::string(256, 'x')));
    EXPECT_EQ(big.PayloadLen(), 0u);
}

TEST_F(PacketTest, SetPacketMacReplacesOnlyTheSenderMac)
{
    PacketWriter w(kOwnMac);
    w.AddTlvU8(0x93, 0);
    Packet p = w.Finish(CMD_GET_CONFIG);
    SetPacketMac(p, kDevMac);
    EXPECT_EQ(HexOf(p), HexOf(Datagram(kDevMac, CMD_GET_CONFIG, H("93 01 00"))));
}

// ---------------------------------------------------------------------------------------------
// Item loop

struct TlvLoopCase
{
    const char* name;
    Bytes payload;
    std::vector<std::pair<int, int>> items; // (type, length) read
    bool truncated;
};

class TlvLoopTest : public CodecLogTest, public ::testing::WithParamInterface<TlvLoopCase>
{
};

TEST_P(TlvLoopTest, ReadsItemsWithinThePayloadOnly)
{
    const TlvLoopCase& c = GetParam();
    // The payload is copied into a buffer of its exact size so that any read past it is caught
    // by the address sanitizer.
    std::vector<std::uint8_t> exact(c.payload.begin(), c.payload.end());
    TlvReader reader(std::span<const std::uint8_t>(exact.data(), exact.size()));
    std::vector<std::pair<int, int>> got;
    Tlv item;
    while (reader.Next(item)) {
        got.emplace_back(item.Type, item.Len);
        ASSERT_GE(item.Value, exact.data());
        ASSERT_LE(item.Value + item.Len, exact.data() + exact.size());
    }
    EXPECT_EQ(got, c.items);
    EXPECT_EQ(reader.Truncated(), c.truncated);
    EXPECT_EQ(reader.ItemCount(), c.items.size());
    const std::vector<std::string> expectedLog = c.truncated
        ? std::vector<std::string> { "  not enough bytes in buffer" }
        : std::vector<std::string> {};
    EXPECT_EQ(TakeLog(), expectedLog);
    EXPECT_FALSE(reader.Next(item)); // stays finished
}

INSTANTIATE_TEST_SUITE_P(Edges, TlvLoopTest,
    ::testing::Values(TlvLoopCase { "empty", {}, {}, false }, TlvLoopCase { "lone_byte", H("30"), {}, false },
        TlvLoopCase { "trailing_byte_ignored", H("30 01 00 31"), { { 0x30, 1 } }, false },
        TlvLoopCase { "zero_length_item", H("6B 00"), { { 0x6B, 0 } }, false },
        TlvLoopCase { "exact_end", H("30 01 01 31 04 01 02 03 04"), { { 0x30, 1 }, { 0x31, 4 } }, false },
        TlvLoopCase { "second_item_runs_past", H("30 01 01 50 C8 61 62 63"), { { 0x30, 1 } }, true },
        TlvLoopCase { "first_item_runs_past", H("50 03 61 62"), {}, true },
        TlvLoopCase { "max_length_item", Cat({ H("50 FF"), Bytes(255, 0x41) }), { { 0x50, 255 } }, false }),
    [](const ::testing::TestParamInfo<TlvLoopCase>& info) { return std::string(info.param.name); });

TEST(TlvValue, ShortValuesReadMissingBytesAsZero)
{
    const Bytes v = H("C0 A8");
    const Tlv two { 0x31, 2, v.data() };
    EXPECT_EQ(two.U32(), 0xC0A80000u);
    EXPECT_EQ(two.U16(), 0xC0A8u);
    EXPECT_EQ(two.U8(), 0xC0u);
    const Tlv none { 0x91, 0, v.data() };
    EXPECT_EQ(none.U8(), 0u);
    EXPECT_EQ(none.U32(), 0u);
    const Bytes longer = H("01 02 03 04 05 06");
    const Tlv six { 0x31, 6, longer.data() };
    EXPECT_EQ(six.U32(), 0x01020304u); // extra bytes ignored
}

// ---------------------------------------------------------------------------------------------
// Receive checks

struct CheckCase
{
    const char* name;
    Bytes datagram;
    MacAddress peer;
    RecvCheck expected;
    const char* logLine; // nullptr: nothing logged
};

const MacAddress kSocketMacA = { 0x52, 0x54, 0x00, 0x00, 0x00, 0x0A };
const MacAddress kSocketMacB = { 0x52, 0x54, 0x00, 0x00, 0x00, 0x0B };
const MacAddress kOtherDev = { 0x00, 0x11, 0x22, 0x33, 0x44, 0x66 };

Bytes WithByte(Bytes b, std::size_t at, std::uint8_t value)
{
    b[at] = value;
    return b;
}

std::vector<CheckCase> CheckCases()
{
    const Bytes ok = Datagram(kDevMac, CMD_LOGIN, H("91 01 01"));
    const Bytes ten = Datagram(kDevMac, CMD_GET_CONFIG, Bytes(10, 0x33));
    Bytes tenPlusOne = ten;
    tenPlusOne.push_back(0);
    Bytes tenMinusOne = ten;
    tenMinusOne.pop_back();
    const Bytes empty18 = Header(kDevMac, CMD_LOGOUT, 0);
    return {
        { "ok", ok, BROADCAST_MAC, RecvCheck::Ok, nullptr },
        { "header_only_is_valid", empty18, BROADCAST_MAC, RecvCheck::Ok, nullptr },
        { "seventeen_bytes", Bytes(empty18.begin(), empty18.end() - 1), BROADCAST_MAC, RecvCheck::Length,
            "TFormUDP::ProcRecvData() FAIL length" },
        { "empty", {}, BROADCAST_MAC, RecvCheck::Length, "TFormUDP::ProcRecvData() FAIL length" },
        { "magic", WithByte(ok, 7, '6'), BROADCAST_MAC, RecvCheck::Magic,
            "TFormUDP::ProcRecvData() FAIL magic word" },
        { "version", WithByte(ok, 8, 1), BROADCAST_MAC, RecvCheck::Version,
            "TFormUDP::ProcRecvData() FAIL version" },
        { "first_socket_mac", Datagram(kSocketMacA, CMD_LOGIN, H("91 01 01")), BROADCAST_MAC,
            RecvCheck::SocketMac, "TFormUDP::ProcRecvData() FAIL received a request" },
        { "second_socket_mac", Datagram(kSocketMacB, CMD_LOGIN, H("")), BROADCAST_MAC, RecvCheck::SocketMac,
            "TFormUDP::ProcRecvData() FAIL received a request" },
        { "own_mac", Datagram(kOwnMac, CMD_DISCOVER, H("")), BROADCAST_MAC, RecvCheck::OwnMac,
            "TFormUDP::ProcRecvData() FAIL received a request" },
        { "peer_matches", ok, kDevMac, RecvCheck::Ok, nullptr },
        { "peer_differs", ok, kOtherDev, RecvCheck::PeerMac,
            "TFormUDP::ProcRecvData() FAIL destination address doesn't match" },
        { "peer_all_zero_before_discovery", ok, MacAddress {}, RecvCheck::PeerMac,
            "TFormUDP::ProcRecvData() FAIL destination address doesn't match" },
        { "one_byte_too_many", tenPlusOne, BROADCAST_MAC, RecvCheck::TotalLength,
            "TFormUDP::ProcRecvData() FAIL total length" },
        { "one_byte_too_few", tenMinusOne, BROADCAST_MAC, RecvCheck::TotalLength,
            "TFormUDP::ProcRecvData() FAIL total length" },
        // The first failing check is the one reported.
        { "version_before_mac", WithByte(Datagram(kOwnMac, CMD_LOGIN, H("")), 8, 3), BROADCAST_MAC,
            RecvCheck::Version, "TFormUDP::ProcRecvData() FAIL version" },
        { "own_before_peer", Datagram(kOwnMac, CMD_LOGIN, H("")), kDevMac, RecvCheck::OwnMac,
            "TFormUDP::ProcRecvData() FAIL received a request" },
        { "peer_before_length", tenPlusOne, kOtherDev, RecvCheck::PeerMac,
            "TFormUDP::ProcRecvData() FAIL destination address doesn't match" },
    };
}

class ReceiveCheckTest : public CodecLogTest, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(ReceiveCheckTest, DropsWithItsLogLine)
{
    const CheckCase& c = GetParam();
    const MacAddress sockets[] = { kSocketMacA, kSocketMacB };
    ReceiveContext ctx;
    ctx.SocketMACs = sockets;
    ctx.OwnMAC = kOwnMac;
    ctx.PeerMAC = c.peer;
    std::vector<std::uint8_t> exact(c.datagram.begin(), c.datagram.end());
    EXPECT_EQ(CheckReceivedPacket(exact.data(), exact.size(), ctx), c.expected);
    const std::vector<std::string> expectedLog
        = c.logLine ? std::vector<std::string> { c.logLine } : std::vector<std::string> {};
    EXPECT_EQ(TakeLog(), expectedLog);
}

INSTANTIATE_TEST_SUITE_P(SevenChecks, ReceiveCheckTest, ::testing::ValuesIn(CheckCases()),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Cipher on receive

TEST_F(PacketTest, DiscoveryAnswersTravelPlainAndOthersAreDeciphered)
{
    ReceiveContext ctx;
    ctx.OwnMAC = kOwnMac;
    const Bytes items = H("01 04 41 50 2D 31");

    Bytes discovery = Datagram(kDevMac, CMD_DISCOVER, items);
    EXPECT_EQ(AcceptReceivedPacket(discovery.data(), discovery.size(), ctx, "admin"), RecvCheck::Ok);
    EXPECT_EQ(HexOf(discovery), HexOf(Datagram(kDevMac, CMD_DISCOVER, items)));

    Bytes reply = Datagram(kDevMac, CMD_LOGIN, H("91 01 01 92 02 17 70"));
    CipherPayload(reply.data(), reply.size(), "admin");
    EXPECT_NE(HexOf(reply), HexOf(Datagram(kDevMac, CMD_LOGIN, H("91 01 01 92 02 17 70"))));
    EXPECT_EQ(AcceptReceivedPacket(reply.data(), reply.size(), ctx, "admin"), RecvCheck::Ok);
    EXPECT_EQ(HexOf(reply), HexOf(Datagram(kDevMac, CMD_LOGIN, H("91 01 01 92 02 17 70"))));
}

TEST_F(PacketTest, EmptyPasswordUsesTheDefaultKeyOnThePayloadOnly)
{
    Bytes p = Datagram(kDevMac, CMD_GET_CONFIG, H("93 01 00"));
    CipherPayload(p.data(), p.size(), "");
    Bytes expected = H("93 01 00");
    Rc4Encrypt(reinterpret_cast<const std::uint8_t*>(RC4_DEFAULT_KEY), 20, expected.data(), expected.size());
    EXPECT_EQ(HexOf(p), HexOf(Datagram(kDevMac, CMD_GET_CONFIG, expected)));
}

TEST_F(PacketTest, RejectedDatagramIsLeftUntouched)
{
    ReceiveContext ctx;
    ctx.OwnMAC = kOwnMac;
    ctx.PeerMAC = kOtherDev;
    Bytes p = Datagram(kDevMac, CMD_LOGIN, H("91 01 01"));
    const Bytes before = p;
    EXPECT_EQ(AcceptReceivedPacket(p.data(), p.size(), ctx, "admin"), RecvCheck::PeerMac);
    EXPECT_EQ(p, before);
}

TEST_F(PacketTest, LargestDatagramIsDecipheredWhole)
{
    // 65,507 bytes: a payload of 65,489 bytes, deciphered past the 32,767th byte.
    const std::size_t payloadLen = MAX_UDP_DATAGRAM - PACKET_HEADER_SIZE;
    Bytes payload(payloadLen);
    for (std::size_t n = 0; n < payloadLen; ++n) {
        payload[n] = static_cast<std::uint8_t>(n % 251);
    }
    Bytes p = Datagram(kDevMac, CMD_SITE_SURVEY, payload);
    ASSERT_EQ(p.size(), MAX_UDP_DATAGRAM);
    CipherPayload(p.data(), p.size(), "pw");
    ReceiveContext ctx;
    ctx.OwnMAC = kOwnMac;
    EXPECT_EQ(AcceptReceivedPacket(p.data(), p.size(), ctx, "pw"), RecvCheck::Ok);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), p.begin() + PACKET_HEADER_SIZE));
}

TEST_F(PacketTest, CipherStaysInsideAShortBuffer)
{
    // A header that claims more payload than the buffer holds: only the bytes present change.
    Bytes p = Cat({ Header(kDevMac, CMD_LOGIN, 100), H("91 01 01") });
    std::vector<std::uint8_t> exact(p.begin(), p.end());
    CipherPayload(exact.data(), exact.size(), "x");
    EXPECT_TRUE(std::equal(exact.begin(), exact.begin() + 18, p.begin()));
    CipherPayload(exact.data(), 10, "x"); // shorter than a header: nothing to do
}

// ---------------------------------------------------------------------------------------------
// Dumps

TEST(PacketDump, TwentyBytesGiveAHeaderLineAFullLineAndFourValues)
{
    const Bytes p = Datagram(kOwnMac, CMD_SET_CONFIG, H("6B 00"));
    const std::vector<std::string> lines = TxDumpLines(p.data(), p.size());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[Tx] size=20");
    EXPECT_EQ(lines[1], "53 57 50 31 32 33 34 35 02 02 00 00 AA BB 01 04 ");
    EXPECT_EQ(lines[2], "00 02 6B 00 ");
}

TEST(PacketDump, ReceivedDumpNamesSourceAndSize)
{
    const Bytes p = Header(kDevMac, CMD_LOGOUT, 0);
    const std::vector<std::string> lines = RxDumpLines(p.data(), p.size(), "192.168.1.254", 5432);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[Rx] 192.168.1.254:5432 size=18");
    EXPECT_EQ(lines[2], "00 00 ");
    const Bytes sixteen(16, 0xAB);
    const std::vector<std::string> exact = TxDumpLines(sixteen.data(), sixteen.size());
    ASSERT_EQ(exact.size(), 2u); // no empty trailing line
}

// ---------------------------------------------------------------------------------------------
// Text cuts

struct CutCase
{
    const char* name;
    std::string text;
    std::size_t max;
    std::size_t expected;
};

class Utf8CutTest : public ::testing::TestWithParam<CutCase>
{
};

TEST_P(Utf8CutTest, NeverSplitsACharacter)
{
    EXPECT_EQ(Utf8CutLength(GetParam().text, GetParam().max), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8CutTest,
    ::testing::Values(CutCase { "fits", "abc", 3, 3 }, CutCase { "ascii_cut", "abcdef", 4, 4 },
        CutCase { "two_byte_char_at_cut", "ab\xC3\xA9", 3, 2 }, // "abé"
        CutCase { "three_byte_char", "a\xE2\x82\xAC", 3, 1 }, // "a€"
        CutCase { "four_byte_char", "\xF0\x9F\x98\x80x", 3, 0 }, // emoji
        CutCase { "whole_char_before_cut", "\xC3\xA9\xC3\xA9", 2, 2 },
        CutCase { "stray_continuation_bytes", "\x80\x80\x80\x80\x80", 3, 3 }),
    [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(TextField, CopyCutsZeroFillsAndStopsAtNul)
{
    char field[6];
    std::memset(field, 'Z', sizeof field);
    CopyTextField(field, "abcdefgh");
    EXPECT_EQ(std::string(field, 6), std::string("abcde\0", 6));
    CopyTextField(field, std::string_view("ab\0cd", 5));
    EXPECT_EQ(std::string(field, 6), std::string("ab\0\0\0\0", 6));
    CopyTextField(field, "abcd\xC3\xA9");
    EXPECT_STREQ(field, "abcd");

    const char full[4] = { 'w', 'x', 'y', 'z' }; // no terminator
    EXPECT_EQ(FieldText(full), "wxyz");
}

} // namespace
