// The engine deciphers received payloads with a keystream it keeps per password: a changed
// password, an empty one (the default key) and payloads longer or shorter than any before must all
// decipher exactly as a fresh key schedule would.
#include "app/globalvar.h"
#include "protocol/codec/device_side.h"
#include "protocol/codec/messages.h"
#include "protocol/codec/packet.h"
#include "protocol/formudp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

const MacAddress kDevice = { 0x02, 0x51, 0x52, 0x00, 0x00, 0x07 };

TEST(EngineKeystreamTest, PasswordChangesAndPayloadLengthsDecipherLikeAFreshSchedule)
{
    TFormUDP engine;
    engine.PeerMAC = BROADCAST_MAC;

    std::vector<tag_AP_ROFIILE> many(1336);
    for (std::size_t n = 0; n < many.size(); ++n) {
        many[n].EntryFlag = true;
        std::snprintf(many[n].SSID, sizeof many[n].SSID, "net-%04zu", n);
        many[n].Signal = int(n % 101);
    }
    const std::vector<tag_AP_ROFIILE> few(many.begin(), many.begin() + 2);

    struct Step
    {
        const char* password;
        const std::vector<tag_AP_ROFIILE>* list;
    };
    const Step steps[] = {
        { "admin", &few }, // short keystream first
        { "admin", &many }, // grows to the largest payload
        { "admin", &few }, // shorter again
        { "", &many }, // the default key
        { "other", &few }, // another password
        { "admin", &many }, // back to the first
    };
    for (const Step& s : steps) {
        g_Var.Password = QString::fromUtf8(s.password);
        Packet wire = BuildSiteSurveyReply(kDevice, *s.list);
        CipherPayload(wire, s.password);
        engine.PendingOp = OP_SITE_SURVEY;
        engine.ProcRecvData(wire.data(), int(wire.size()), nullptr, 5432, QStringLiteral("127.0.1.7"));
        ASSERT_EQ(engine.Survey().size(), s.list->size()) << s.password;
        EXPECT_STREQ(engine.Survey().back().SSID, s.list->back().SSID) << s.password;
        EXPECT_EQ(engine.Survey().back().Signal, s.list->back().Signal) << s.password;
    }
    g_Var.Password.clear();
}

} // namespace
