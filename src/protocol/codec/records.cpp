// Layout checks of the protocol records.
#include "protocol/codec/records.h"

#include <type_traits>

static_assert(std::is_standard_layout_v<tag_DEV_INFO> && std::is_trivially_copyable_v<tag_DEV_INFO>);
static_assert(std::is_standard_layout_v<tag_IP_CONFIG> && std::is_trivially_copyable_v<tag_IP_CONFIG>);
static_assert(std::is_standard_layout_v<tag_WL_CONFIG> && std::is_trivially_copyable_v<tag_WL_CONFIG>);
static_assert(std::is_standard_layout_v<tag_DEV_CONFIG> && std::is_trivially_copyable_v<tag_DEV_CONFIG>);
static_assert(std::is_standard_layout_v<tag_AP_ROFIILE> && std::is_trivially_copyable_v<tag_AP_ROFIILE>);
static_assert(sizeof(tag_DEV_INFO::DevName) == 34 && sizeof(tag_WL_CONFIG::WL_SSID) == 33);
static_assert(sizeof(tag_WL_CONFIG::WL_CH_LIST) == 257 && sizeof(tag_AP_ROFIILE::SSID) == 33);
