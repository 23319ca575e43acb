#pragma once
// Line and style commands: feeds, tabs, ESC ! and its kin, alignment, magnification,
// Chinese mode and the code page of the printed characters.
#include "vprinter/PrintContext.h"

namespace tallyx::vprinter {

class TextExecutor {
public:
    explicit TextExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    // What the command did, for the log ("" when its meaning says it all).
    std::string Execute(const Command& cmd);

private:
    std::string Style(Op op, uint8_t n);
    std::string Lines(Op op, uint8_t n);

    PrintContext& m_ctx;
};

} // namespace tallyx::vprinter
