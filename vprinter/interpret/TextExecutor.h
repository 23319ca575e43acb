#pragma once
// Line and style commands: feeds, tabs, ESC ! and its kin, alignment, magnification,
// Chinese mode and the code page of the printed characters.
#include <string>

#include "vprinter/interpret/Executor.h"

namespace tallyx::vprinter {

class TextExecutor : public Executor {
public:
    using Executor::Executor;
    // What the command did, for the log ("" when its meaning says it all).
    std::string Execute(const Command& cmd);

private:
    std::string Style(Op op, uint8_t n);
    std::string Lines(Op op, uint8_t n);
    std::string Area(Op op, int n);
    std::string TabStops(const Bytes& columns);
    std::string MotionUnits(uint8_t x, uint8_t y);
};

} // namespace tallyx::vprinter
