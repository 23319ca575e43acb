#pragma once
// The voice chip: a stored prompt by number (1F 12 10 n) or a money amount read out
// (1F 13 L text). The printer has no speaker here; what it would say is logged and handed
// to whoever shows the printer.
#include <string>

#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

class VoiceExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
};

} // namespace tallyx::vprinter
