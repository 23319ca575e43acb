// The network group of the window: reading the printer's settings back, and storing new ones.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>
#include <tuple>

#include "res/Address.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "commands/NetworkParams.h"
#include "jobs/PrinterQueries.h"
#include "res/Combos.h"

namespace tallyx::cli {
namespace {

struct SetNetworkArgs {
    std::string dhcp;
    std::string address, mask, gateway, dns;   // omitted: blank
};

std::string DhcpText(int index)
{
    if (index >= 0 && size_t(index) < combo::kDhcp.size()) return std::string(combo::kDhcp[size_t(index)].item);
    // The window's list would show nothing selected; the byte is index + 1.
    char byte[3];
    std::snprintf(byte, sizeof byte, "%02X", unsigned(index + 1) & 0xFF);
    return std::string("unknown ") + byte;
}

int QueryNetwork(CliContext& ctx)
{
    const NetQuery query = NetworkParamQuery();
    if (ctx.options.dryRun) return ctx.PrintCommand(query.request);
    ctx.options.port = std::string(combo::kPorts[combo::kPortEthernetIndex].item);
    Link& link = ctx.TheLink();
    const ConnectOutcome outcome = link.Connect(ctx.ChosenTarget(), query);
    link.Disconnect();
    if (!outcome.connected) return ctx.Status() != kExitSent ? ctx.Status() : kExitLinkFailed;
    const NetParams net = DecodeNetReply(outcome.netReply);
    if (!net.valid) {
        ctx.ReportFault(outcome.outcome);
        return ctx.Status();
    }
    std::ostream& out = ctx.Out();
    out << "ip " << AddressEntry::FromValue(net.ip).Dotted() << '\n'
        << "mask " << AddressEntry::FromValue(net.mask).Dotted() << '\n'
        << "gateway " << AddressEntry::FromValue(net.gateway).Dotted() << '\n'
        << "dns " << AddressEntry::FromValue(net.dns).Dotted() << '\n'
        << "dhcp " << DhcpText(net.dhcpIndex) << '\n';
    return kExitSent;
}

int SetNetwork(CliContext& ctx, const SetNetworkArgs& args)
{
    NetworkParamInput in;
    in.dhcpIndex = args.dhcp == combo::kDhcp[0].item ? 0 : 1;
    const auto entry = [](const std::string& text) { return ParseAddressText(text).value_or(AddressEntry{}); };
    in.ip = entry(args.address);
    in.mask = entry(args.mask);
    in.gateway = entry(args.gateway);
    in.dns = entry(args.dns);
    const Result result = BuildNetworkParamCommand(in);
    if (const Message* refusal = result.refusal()) return ctx.Refuse(*refusal);
    if (ctx.options.dryRun) return ctx.PrintCommand(result.bytes());
    // The save goes to the printer's address whatever the port.
    ctx.options.port = std::string(combo::kPorts[combo::kPortEthernetIndex].item);
    ctx.TheLink().UseTarget(ctx.ChosenTarget());
    if (ctx.TheLink().SendOnceOverTcp(result.bytes()).ok()) return kExitSent;
    return ctx.Status() != kExitSent ? ctx.Status() : kExitLinkFailed;
}

} // namespace

void RegisterNetworkCommands(CLI::App& app, CliContext& ctx)
{
    CLI::App* query = app.add_subcommand(
        "query-network", "connect to the printer at --ip over the network and print its ip, mask, gateway, dns "
                         "and dhcp, one per line (--port is not used)");
    OnRun(query, ctx, [&ctx] { return QueryNetwork(ctx); });

    auto args = std::make_shared<SetNetworkArgs>();
    CLI::App* set = app.add_subcommand(
        "set-network", "store new network settings in the printer at --ip (one connection of its own; "
                       "--port is not used)");
    std::vector<std::string> dhcpItems;
    for (const Choice& c : combo::kDhcp) dhcpItems.emplace_back(c.item);
    set->add_option("--dhcp", args->dhcp, "YES: the printer takes its address from DHCP, the addresses are not sent")
        ->required()
        ->check(CLI::IsMember(dhcpItems));
    const std::tuple<const char*, std::string*, const char*> addresses[] = {
        {"--address", &args->address, "the printer's new IP address"},
        {"--mask", &args->mask, "its subnet mask"},
        {"--gateway", &args->gateway, "its gateway"},
        {"--dns", &args->dns, "its DNS server"}};
    for (const auto& [name, target, what] : addresses)
        set->add_option(name, *target, std::string(what) + "; fewer than four fields is incomplete, omitted is blank")
            ->check(AddressValidator());
    OnRun(set, ctx, [&ctx, args] { return SetNetwork(ctx, *args); });
}

} // namespace tallyx::cli
