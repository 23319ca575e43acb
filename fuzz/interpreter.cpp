// The virtual printer's interpreter on any byte stream, fed whole and again split at
// points the fuzzer chooses: the printer must do the same whatever the chunking.
// What it did is folded into a digest as it happens, never kept: receipts of thousands of
// rows written out as text cost far more than interpreting the bytes that made them.
#include <fuzzer/FuzzedDataProvider.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "vprinter/interpret/Interpreter.h"

using namespace tallyx::vprinter;

namespace {

class Digest {
public:
    void Add(std::string_view bytes) { Mix(std::hash<std::string_view>()(bytes) ^ bytes.size()); }
    void Add(uint64_t n) { Mix(n); }
    bool operator==(const Digest&) const = default;

private:
    void Mix(uint64_t v) { m_value = (m_value ^ v) * 0x100000001B3ull + (m_value >> 29); }
    uint64_t m_value = 0xCBF29CE484222325ull;
};

void AddReceipt(Digest& d, const Receipt& r)
{
    d.Add(uint64_t(r.widthDots) << 32 | uint32_t(r.heightDots));
    d.Add(uint64_t(r.cut));
    for (const Block& block : r.blocks) {
        d.Add(block.index());
        if (auto* line = std::get_if<TextLine>(&block)) {
            d.Add(uint64_t(line->height) << 32 | uint32_t(line->textHeight));
            for (const Glyph& g : line->glyphs) {
                d.Add(g.text);
                d.Add(uint64_t(uint32_t(g.x)) << 32 | uint32_t(g.width));
                d.Add(uint64_t(uint32_t(g.height)) << 32 | uint32_t(g.spacing));
                d.Add(uint64_t(g.wide) | g.fontB << 1 | g.bold << 2 | g.underline << 3 | g.reverse << 5 |
                      g.rotated << 6 | g.upsideDown << 7);
            }
        } else if (auto* pic = std::get_if<Picture>(&block)) {
            FUZZ_CHECK(pic->dots.size() == size_t(pic->width) * size_t(pic->height));
            FUZZ_CHECK(pic->x >= 0 && pic->x + pic->width <= r.widthDots);
            d.Add(uint64_t(uint32_t(pic->x)) << 32 | uint32_t(pic->width));
            d.Add(std::string_view(reinterpret_cast<const char*>(pic->dots.data()), pic->dots.size()));
        } else {
            d.Add(uint64_t(std::get<Feed>(block).dots));
        }
    }
}

// An interpreter whose every log line, reply, receipt and stored change goes into a digest.
struct DigestPrinter {
    DigestPrinter(int paper, const Profile& profile)
        : state(FactoryState(profile)),
          interpreter(state, paper,
                      Interpreter::Hooks{
                          [this](const LogRecord& r) {
                              digest.Add(r.link);
                              digest.Add(std::string_view(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
                              digest.Add(r.length);
                              digest.Add(r.mnemonic);
                              digest.Add(r.meaning);
                          },
                          [this] { digest.Add(0x5E77ull); },
                          {},
                          [this](Receipt&& r) { AddReceipt(digest, r); },
                          [this](const std::string& said) { digest.Add(said); },
                      },
                      profile)
    {
    }

    void Feed(std::string_view bytes)
    {
        interpreter.Feed(bytes, "tcp", [this](const Bytes& r) {
            digest.Add(std::string_view(reinterpret_cast<const char*>(r.data()), r.size()));
        });
    }
    void Finish()
    {
        interpreter.Idle();
        AddReceipt(digest, interpreter.CurrentReceipt());
        FUZZ_CHECK(interpreter.HeldBytes() <= kMemoryCap);
    }

    PrinterState state;
    Digest digest;
    Interpreter interpreter;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool wide = in.ConsumeBool();
    const Profile& profile = Profiles()[in.ConsumeIntegralInRange<size_t>(0, Profiles().size() - 1)];
    const size_t cuts = in.ConsumeIntegralInRange<size_t>(0, 16);
    std::vector<size_t> points;
    for (size_t i = 0; i < cuts; ++i) points.push_back(in.ConsumeIntegral<uint16_t>());
    const std::string stream = in.ConsumeRemainingBytesAsString();
    const int paper = wide ? kPaper80Dots : kPaper58Dots;

    DigestPrinter whole(paper, profile);
    whole.Feed(stream);
    whole.Finish();

    DigestPrinter split(paper, profile);
    size_t at = 0;
    for (size_t point : points) {
        const size_t n = std::min(stream.size() - at, point % (stream.size() + 1));
        split.Feed(std::string_view(stream).substr(at, n));
        at += n;
    }
    split.Feed(std::string_view(stream).substr(at));
    split.Finish();

    FUZZ_CHECK(whole.interpreter.HeldBytes() == split.interpreter.HeldBytes());
    FUZZ_CHECK(whole.state == split.state);
    FUZZ_CHECK(whole.digest == split.digest);
    return 0;
}
