// Client side of the message catalogue: the request of every engine operation and the decoders
// of the device's replies and events. Pure functions: the caller passes the pending configuration
// and receives what a reply carries through output parameters. Decoders write their detail log
// lines (two leading spaces) through the codec log; the handler's first line is the caller's.
//
// Every decoder takes a whole datagram (header and plain payload) that passed the receive checks;
// it only reads inside the buffer and only writes the fields its items name.
#pragma once

#include "protocol/codec/packet.h"
#include "protocol/codec/records.h"

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Requests (header sender MAC = ownMac, command and length set, payload in plain text)
// ---------------------------------------------------------------------------------------------

Packet BuildDiscoverRequest(const MacAddress& ownMac); // 18 bytes
Packet BuildLoginRequest(const MacAddress& ownMac, const std::uint8_t devMac[6]); // 119 bytes
Packet BuildLogoutRequest(const MacAddress& ownMac); // 18 bytes
Packet BuildGetConfigRequest(const MacAddress& ownMac); // 21 bytes
Packet BuildGetModeRequest(const MacAddress& ownMac); // 21 bytes
Packet BuildIPSettingRequest(const MacAddress& ownMac, const tag_IP_CONFIG& pending); // 21 or 39
Packet BuildWlSettingRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending);
Packet BuildSetModeRequest(const MacAddress& ownMac, int mode); // 21 bytes
Packet BuildWPSPBCRequest(const MacAddress& ownMac); // 20 bytes
Packet BuildWPSPINRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending); // 28 bytes
Packet BuildStationWPSPBCRequest(const MacAddress& ownMac); // 20 bytes
Packet BuildStationWPSPINRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending);
Packet BuildSiteSurveyRequest(const MacAddress& ownMac); // 18 bytes
Packet BuildStationGetConfigRequest(const MacAddress& ownMac); // 18 bytes
Packet BuildWlStationSettingRequest(const MacAddress& ownMac, const tag_WL_CONFIG& pending);

// The eight decimal digits, leading zeros kept, of a PIN entered on the WPS page.
std::string WpsPinDigits(std::int32_t pin);

// ---------------------------------------------------------------------------------------------
// Matching replies with the waiting request
// ---------------------------------------------------------------------------------------------

// True when a reply with this command is the answer the pending operation waits for
// (command 6, the event, is read whatever is pending and is not covered here).
bool ReplyMatchesPending(int pendingOp, std::uint8_t cmd);

// ---------------------------------------------------------------------------------------------
// Replies
// ---------------------------------------------------------------------------------------------

// Discovery answer: DevMAC from the header, DevName from DEVICE_NAME ("  DevName=%s" per name);
// other items are skipped silently. LocalIP, LocalMask and DevIP are left to the caller.
// Returns true when the payload held at least one well-formed item (the device is to be listed).
bool DecodeDiscoverReply(const std::uint8_t* data, std::size_t size, tag_DEV_INFO& info);

struct LoginReply
{
    int Result = 0; // 0 when absent
    bool HasPort = false;
    std::uint16_t Port = 0;
};
// "  Result=%d", "  Port=%d".
LoginReply DecodeLoginReply(const std::uint8_t* data, std::size_t size);

// Logout and set-config replies (commands 2, 4, 9): the result byte, 0 when absent ("  Result=%d").
int DecodeResultReply(const std::uint8_t* data, std::size_t size);

// Get-config reply (whole configuration or the mode alone): each item goes to the as-read
// configuration or the device mode with its log line; unknown items log "  TLV=0x%X".
void DecodeGetConfigReply(
    const std::uint8_t* data, std::size_t size, tag_IP_CONFIG& ip, tag_WL_CONFIG& wl, int& deviceMode);

// Event: what it tells, in item order.
struct DeviceEvent
{
    std::uint8_t Type = 0; // TLVTYPE_OTHER_CONNECTTIMEOUT or TLVTYPE_OTHER_WPS_STATUS
    std::int32_t WpsStatus = 0; // for TLVTYPE_OTHER_WPS_STATUS
};
// "  TLVTYPE_OTHER_CONNECTTIMEOUT", "  TLVTYPE_OTHER_WPS_STATUS %d", "  TLV=0x%X".
std::vector<DeviceEvent> DecodeEvent(const std::uint8_t* data, std::size_t size);

// Site-survey reply: the list is emptied, then one record per whole 49-byte entry.
void DecodeSiteSurveyReply(const std::uint8_t* data, std::size_t size, std::vector<tag_AP_ROFIILE>& list);
// One 49-byte survey entry.
tag_AP_ROFIILE DecodeSurveyEntry(const std::uint8_t* entry);

// Station get-config reply: WL_WPS_PIN text into the 12-byte PIN field (at most 11 bytes, no
// character split), "  AP Client PIN Code = %s"; other items "  TLV=0x%X". The field is written
// only when the item is present.
void DecodeStationGetConfigReply(const std::uint8_t* data, std::size_t size, char (&apClientPin)[12]);
