// RC4 against published test vectors, and the default key.
#include "protocol/codec/rc4.h"

#include "codec_test_util.h"

#include <cstring>

namespace {

struct Rc4Vector
{
    const char* name;
    Bytes key;
    Bytes plain;
    std::size_t offset; // keystream position of the expected bytes
    Bytes expected;
};

class Rc4VectorTest : public ::testing::TestWithParam<Rc4Vector>
{
};

TEST_P(Rc4VectorTest, MatchesPublishedVector)
{
    const Rc4Vector& v = GetParam();
    Bytes data(v.offset + v.expected.size(), 0);
    if (!v.plain.empty()) {
        data = v.plain;
    }
    Rc4Encrypt(v.key.data(), static_cast<int>(v.key.size()), data.data(), data.size());
    EXPECT_EQ(HexOf(Bytes(data.begin() + static_cast<long>(v.offset), data.end())), HexOf(v.expected));
}

INSTANTIATE_TEST_SUITE_P(Published, Rc4VectorTest,
    ::testing::Values(
        // RFC 6229, 40-bit key 0x0102030405: keystream at offsets 0 and 16.
        Rc4Vector {
            "rfc6229_off0", H("0102030405"), {}, 0, H("b2 39 63 05 f0 3d c0 27 cc c3 52 4a 0a 11 18 a8") },
        Rc4Vector {
            "rfc6229_off16", H("0102030405"), {}, 16, H("69 82 94 4f 18 fc 82 d5 89 c4 03 a4 7a 0d 09 19") },
        // RFC 6229, 128-bit key 0x0102...10 at offset 0.
        Rc4Vector { "rfc6229_128_off0", H("0102030405060708090a0b0c0d0e0f10"), {}, 0,
            H("9a c7 cc 9a 60 9d 1e f7 b2 93 28 99 cd e4 1b 97") },
        // The classic text vectors.
        Rc4Vector { "key", T("Key"), T("Plaintext"), 0, H("BB F3 16 E8 D9 40 AF 0A D3") },
        Rc4Vector { "wiki", T("Wiki"), T("pedia"), 0, H("10 21 BF 04 20") },
        Rc4Vector {
            "secret", T("Secret"), T("Attack at dawn"), 0, H("45 A0 1F 64 5F C3 5B 38 35 52 54 4B 9B F5") }),
    [](const ::testing::TestParamInfo<Rc4Vector>& info) { return std::string(info.param.name); });

TEST(Rc4, EmptyKeySelectsTheDefaultKey)
{
    const Bytes plain = T("payload bytes that go on the wire");
    Bytes withEmpty = plain;
    Bytes withNull = plain;
    Bytes withDefault = plain;
    const std::uint8_t dummy = 'x';
    Rc4Encrypt(&dummy, 0, withEmpty.data(), withEmpty.size());
    Rc4Encrypt(nullptr, -1, withNull.data(), withNull.size());
    Rc4Encrypt(reinterpret_cast<const std::uint8_t*>("pmoqatvyrb7281hgcwnx"), 20, withDefault.data(),
        withDefault.size());
    EXPECT_NE(withEmpty, plain);
    EXPECT_EQ(withEmpty, withDefault);
    EXPECT_EQ(withNull, withDefault);
}

TEST(Rc4, TwiceWithTheSameKeyGivesBackThePlainText)
{
    Bytes data(1000);
    for (std::size_t n = 0; n < data.size(); ++n) {
        data[n] = static_cast<std::uint8_t>(n * 7);
    }
    const Bytes original = data;
    const Bytes key = T("admin");
    Rc4Encrypt(key.data(), 5, data.data(), data.size());
    EXPECT_NE(data, original);
    Rc4Encrypt(key.data(), 5, data.data(), data.size());
    EXPECT_EQ(data, original);
}

TEST(Rc4, OneCharacterKeyEqualsThatCharacterRepeated)
{
    Bytes a(64, 0), b(64, 0);
    const Bytes one = T("z");
    const Bytes many(256, 'z');
    Rc4Encrypt(one.data(), 1, a.data(), a.size());
    Rc4Encrypt(many.data(), 256, b.data(), b.size());
    EXPECT_EQ(a, b);
}

TEST(Rc4, ZeroLengthLeavesTheDataAlone)
{
    std::uint8_t byte = 0x5A;
    Rc4Encrypt(nullptr, 0, &byte, 0);
    EXPECT_EQ(byte, 0x5A);
}

TEST(Rc4, LongBuffersKeepTheKeystreamGoingPast32767Bytes)
{
    // One call over 40,000 bytes equals the same keystream produced in two steps.
    const Bytes key = T("secret");
    Bytes whole(40000, 0);
    Rc4Encrypt(key.data(), 6, whole.data(), whole.size());
    Rc4State state;
    Rc4Init(key.data(), 6, &state);
    Bytes parts(40000, 0);
    Rc4Crypt(parts.data(), 32767, &state);
    Rc4Crypt(parts.data() + 32767, 40000 - 32767, &state);
    EXPECT_EQ(whole, parts);
    // The keystream beyond 32,767 is not a repeat of its start.
    EXPECT_NE(0, std::memcmp(whole.data(), whole.data() + 32768, 64));
}

} // namespace
