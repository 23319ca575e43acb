#pragma once
// What every tallyx-cli command shares: the link options, the link, the dry-run switch,
// the streams, and how a run ends. A command family only builds bytes and calls Send.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "jobs/Targets.h"
#include "link/Link.h"
#include "link/SendLog.h"
#include "res/Combos.h"
#include "res/Faults.h"
#include "res/Messages.h"

namespace tallyx::cli {

enum ExitStatus : int { kExitSent = 0, kExitRefused = kExitInputRefused, kExitLinkFailed = tallyx::kExitLinkFailed, kExitUsage = 64 };

// The window's start-up values, read from the window's own lists.
struct LinkOptions {
    std::string port{kMainCombos[0].items[size_t(kMainCombos[0].selected)].item};
    std::string baud{kMainCombos[1].items[size_t(kMainCombos[1].selected)].item};
    std::string ip{kDefaultPrinterIp};
    uint16_t tcpPort = kPrinterTcpPort;
    bool dryRun = false;
    std::string logPath;   // --log: one JSON line per command sent (or printed in a dry run)
};

class CliContext {
public:
    CliContext(Platform& platform, std::istream& in, std::ostream& out, std::ostream& err);

    LinkOptions options;

    // The chosen command's work: set while the command line is parsed, run after it.
    void SetAction(std::function<int()> action) { m_action = std::move(action); }
    int RunAction();

    // One command through the delivery rule (or its line in a dry run).
    int Send(const Bytes& bytes);
    // The same command `count` times: one port-handle check, one delivery per repetition.
    int SendRepeated(const Bytes& bytes, uint32_t count);
    // A dry run's output: the command as hexadecimal pairs, one line per send.
    int PrintCommand(const Bytes& bytes, uint32_t count = 1);
    // Input the window would refuse: its message on standard error, exit 2.
    int Refuse(const Message& message);
    // A failure the window would not report itself: exit 3.
    int Fail(std::string_view text);

    // Opens the --log file (when one was given); false after its message, exit 3.
    bool OpenLog();

    // Created on first use; a dry run never creates it.
    Link& TheLink();
    // 0 so far, or what the first message shown made of the run.
    int Status() const { return m_status; }
    // A watch starts each round afresh.
    void ResetStatus() { m_status = kExitSent; }
    bool IsEthernet() const;

    std::istream& In() { return m_in; }
    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }
    // What the window's connect does (nothing to open over the network); false after
    // the link's message, or the command line's own when the link said nothing.
    bool OpenPort();

    // The options as the link's target.
    Target ChosenTarget() const;
    // A fault the link told: its line on standard error; the first sets the exit status.
    void ReportFault(const Outcome& fault);

private:
    Platform& m_platform;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    std::optional<Link> m_link;
    SendLogFile m_log;
    std::function<int()> m_action;
    int m_status = kExitSent;
    Outcome m_lastFault;   // the last fault told

    // A command the port did not open for, logged; the run's status.
    int LoggedUnsent(const Bytes& bytes);
};

} // namespace tallyx::cli
