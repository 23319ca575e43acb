#pragma once
// The commands that change what the printer stores across power cycles, and the self-test
// page that lists it.
#include <string>

#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

class SettingsExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);

private:
    std::string Network(const Bytes& h);
};

// 1F 11 04: the stored settings on paper, then a cut when the cutter is on.
void PrintSelfTestPage(PrintContext& ctx);

// "ON" / "OFF", as the self-test page and the log say it.
std::string OnOffText(bool on);

} // namespace tallyx::vprinter
