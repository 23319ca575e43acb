#pragma once
// The printer's hardware: cash drawer, buzzer, cutter, and status answers.
#include "vprinter/PrintContext.h"

namespace tallyx::vprinter {

class DeviceExecutor {
public:
    explicit DeviceExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    std::string Execute(const Command& cmd);

private:
    PrintContext& m_ctx;
};

} // namespace tallyx::vprinter
