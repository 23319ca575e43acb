// The save button's checks and its 21 bytes.
#include <gtest/gtest.h>

#include "commands/NetworkParams.h"
#include "res/Messages.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

namespace {

// "192.168.1" -> three fields filled, the fourth empty; "" -> blank.
AddressEntry Entry(std::string_view dotted)
{
    AddressEntry e;
    size_t field = 0;
    for (char c : dotted) {
        if (c == '.') {
            ++field;
            continue;
        }
        e.octets[field] = uint8_t(e.octets[field] * 10 + (c - '0'));
        e.present[field] = true;
    }
    return e;
}

NetworkParamInput Filled()
{
    NetworkParamInput in;
    in.ip = Entry("192.168.1.200");
    in.mask = Entry("255.255.255.0");
    in.gateway = Entry("192.168.1.1");
    in.dns = Entry("8.8.8.8");
    return in;
}

} // namespace

TEST(NetworkParams, StaticAddressesInFieldOrder)
{
    const Result r = BuildNetworkParamCommand(Filled());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 08 08 08 08 01");
}

TEST(NetworkParams, DhcpOnOrNothingSelectedSendsZeroAddressesUnchecked)
{
    const std::pair<int, std::string> rows[] = {
        {1, "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02"},
        {-1, "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {2, "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03"},
        {255, "1F 1B 1D 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
    };
    for (const auto& [index, bytes] : rows) {
        SCOPED_TRACE(index);
        NetworkParamInput blank;
        blank.dhcpIndex = index;
        Result r = BuildNetworkParamCommand(blank);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(Hex(r.bytes()), bytes);
        NetworkParamInput filled = Filled();
        filled.dhcpIndex = index;
        r = BuildNetworkParamCommand(filled);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(Hex(r.bytes()), bytes);
    }
}

TEST(NetworkParams, FirstFaultInOrderIpMaskGatewayDnsBlankBeforeIncomplete)
{
    struct Row {
        const char* what;
        NetworkParamInput in;
        std::string_view text;
        int focus;
    };
    auto with = [](auto change) {
        NetworkParamInput in = Filled();
        change(in);
        return in;
    };
    const Row rows[] = {
        {"ip blank", with([](auto& in) { in.ip = {}; in.mask = {}; }), "要设置的ip地址为空!", 1022},
        {"ip three fields", with([](auto& in) { in.ip = Entry("192.168.1."); in.mask = {}; }),
         "您输入的ip地址不完整!", 1022},
        {"ip one field", with([](auto& in) { in.ip = Entry("...7"); }), "您输入的ip地址不完整!", 1022},
        {"mask blank", with([](auto& in) { in.mask = {}; in.gateway = {}; in.dns = {}; }),
         "要设置的子网掩码为空!", 1024},
        {"mask incomplete", with([](auto& in) { in.mask = Entry("255.255.255."); }),
         "您输入的子网掩码不完整!", 1024},
        {"gateway blank", with([](auto& in) { in.gateway = {}; in.dns = {}; }), "要设置的网关为空!", 1023},
        {"gateway incomplete", with([](auto& in) { in.gateway = Entry("192..1.1"); }),
         "您输入的网关地址不完整!", 1023},
        {"dns blank", with([](auto& in) { in.dns = {}; }), "要设置的DNS为空!", 1025},
        {"dns incomplete", with([](auto& in) { in.dns = Entry("8.8.8."); }), "您输入的DNS地址不完整!", 1025},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Result r = BuildNetworkParamCommand(row.in);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.refusal()->caption, "打印机设置工具");
        EXPECT_EQ(r.refusal()->text, row.text);
        EXPECT_EQ(r.refusal()->focusId, row.focus);
    }
}

TEST(NetworkParams, AddressOfZerosIsCompleteNotBlank)
{
    NetworkParamInput in = Filled();
    in.dns = Entry("0.0.0.0");
    const Result r = BuildNetworkParamCommand(in);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Hex(r.bytes()), "1F 1B 1D 02 C0 A8 01 C8 FF FF FF 00 C0 A8 01 01 00 00 00 00 01");
}
