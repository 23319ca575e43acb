#pragma once
// The printer's hardware: cash drawer, buzzer, cutter, and status answers.
#include <string>

#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

class DeviceExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
};

} // namespace tallyx::vprinter
