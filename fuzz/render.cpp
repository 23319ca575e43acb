// The drawing on its own, on receipts the interpreter made from any byte stream: the paper
// kept from one receipt to the next draws each receipt as fresh paper would, dot for dot.
// Apart from the interpreter's target, which would otherwise run at the drawing's pace.
#include <fuzzer/FuzzedDataProvider.h>

#include <QGuiApplication>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "vprinter/interpret/Interpreter.h"
#include "vprinter/render/ReceiptRenderer.h"

using namespace tallyx::vprinter;

// fontconfig keeps what it parsed until the process ends, unfreed: not ours to find.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fonts need it; never destroyed, as Qt's own statics are gone by the time ours go.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int paper = in.ConsumeBool() ? kPaper80Dots : kPaper58Dots;
    const Profile& profile = Profiles()[in.ConsumeIntegralInRange<size_t>(0, Profiles().size() - 1)];
    const std::string stream = in.ConsumeRemainingBytesAsString();

    PrinterState state = FactoryState(profile);
    std::vector<Receipt> receipts;
    Interpreter interpreter(state, paper, Interpreter::Hooks{{}, {}, {}, [&](Receipt&& r) { receipts.push_back(std::move(r)); }, {}},
                            profile);
    interpreter.Feed(stream);
    interpreter.Idle();

    // Kept over the runs, as the printer window keeps it: it grows and is whitened.
    static std::optional<ReceiptCanvas> kept;
    static int keptWidth = 0;
    if (keptWidth != paper) {
        kept.emplace(paper);
        keptWidth = paper;
    }
    for (const Receipt& r : receipts) {
        kept->Clear();
        ReceiptCanvas fresh(paper);
        for (const Block& block : r.blocks) {
            kept->Append(block);
            fresh.Append(block);
        }
        const QImage a = kept->Snapshot(), b = fresh.Snapshot();
        FUZZ_CHECK(b.width() == r.widthDots && b.height() == r.heightDots);
        FUZZ_CHECK(a == b);
    }
    return 0;
}
