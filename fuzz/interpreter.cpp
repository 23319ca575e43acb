// The virtual printer's interpreter on any byte stream, fed whole and again split at
// points the fuzzer chooses: the printer must do the same whatever the chunking.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "tests/vprinter/PrinterProbe.h"
#include "vprinter/interpret/Interpreter.h"

using namespace tallyx::vprinter;
using tallyx::vprinter::test::Describe;
using tallyx::vprinter::test::PrinterProbe;

namespace {

// Everything the printer did, in order: log lines, replies, receipts, stored settings.
std::string Trace(const PrinterProbe& p)
{
    std::string out;
    for (const LogRecord& r : p.logs) out += Describe(r) + "\n";
    for (const Bytes& r : p.replies) out += "reply " + std::string(r.begin(), r.end()) + "\n";
    for (const Receipt& r : p.AllReceipts()) out += Describe(r) + "\n";
    out += "state changes " + std::to_string(p.stateChanges) + "\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool wide = in.ConsumeBool();
    const size_t cuts = in.ConsumeIntegralInRange<size_t>(0, 16);
    std::vector<size_t> points;
    for (size_t i = 0; i < cuts; ++i) points.push_back(in.ConsumeIntegral<uint16_t>());
    const std::string stream = in.ConsumeRemainingBytesAsString();
    const int paper = wide ? kPaper80Dots : kPaper58Dots;

    PrinterProbe whole(paper);
    whole.FeedBytes(stream);
    whole.interpreter.Idle();

    PrinterProbe split(paper);
    size_t at = 0;
    for (size_t point : points) {
        const size_t n = std::min(stream.size() - at, point % (stream.size() + 1));
        split.FeedBytes(std::string_view(stream).substr(at, n));
        at += n;
    }
    split.FeedBytes(std::string_view(stream).substr(at));
    split.interpreter.Idle();

    FUZZ_CHECK(whole.interpreter.HeldBytes() == split.interpreter.HeldBytes());
    FUZZ_CHECK(whole.state == split.state);
    FUZZ_CHECK(Trace(whole) == Trace(split));
    return 0;
}
