#pragma once
// The base of the command families: each executor carries out the whole commands of its
// family on the printer it belongs to and says what it did, for the log.
#include "vprinter/interpret/PrintContext.h"

namespace tallyx::vprinter {

class Executor {
public:
    explicit Executor(PrintContext& ctx) : m_ctx(ctx) {}

protected:
    PrintContext& m_ctx;
};

} // namespace tallyx::vprinter
