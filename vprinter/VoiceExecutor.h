#pragma once
// The voice chip: a stored prompt by number (1F 12 10 n) or a money amount read out
// (1F 13 L text). The printer has no speaker here; what it would say is logged and handed
// to whoever shows the printer.
#include "vprinter/PrintContext.h"

namespace tallyx::vprinter {

class VoiceExecutor {
public:
    explicit VoiceExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    std::string Execute(const Command& cmd);

private:
    PrintContext& m_ctx;
};

} // namespace tallyx::vprinter
