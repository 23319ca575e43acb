// In-process figures: every byte builder once with the input an operator gives it, and a
// receipt-wide picture turned into the column raster.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "commands/Barcode.h"
#include "commands/Bitmap.h"
#include "commands/CodePage.h"
#include "commands/CutCycle.h"
#include "commands/MainCommands.h"
#include "commands/NetworkParams.h"
#include "commands/PrintTest.h"
#include "commands/TwoDim.h"
#include "commands/Voice.h"

using namespace tallyx;

namespace {

// A 58 mm receipt line is 384 dots; 336 rows keep the raster under the command limit.
constexpr int kBmpWidth = 384, kBmpHeight = 336;

void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// A 24-bit bottom-up BMP with diagonal stripes, so every column holds ink and paper.
std::string WriteBitmapFile()
{
    const uint32_t stride = kBmpWidth * 3;
    const uint32_t pixels = stride * kBmpHeight;
    std::string s = "BM";
    Put32(s, 54 + pixels), Put32(s, 0), Put32(s, 54);
    Put32(s, 40), Put32(s, kBmpWidth), Put32(s, kBmpHeight), Put16(s, 1), Put16(s, 24);
    Put32(s, 0), Put32(s, pixels), Put32(s, 2835), Put32(s, 2835), Put32(s, 0), Put32(s, 0);
    for (int y = 0; y < kBmpHeight; ++y)
        for (int x = 0; x < kBmpWidth; ++x) {
            const char v = ((x + y) / 12) % 2 ? char(0xFF) : char(0x10);
            s += v, s += v, s += v;
        }
    std::string path = "/tmp/tallyx-bench-" + std::to_string(::getpid()) + ".bmp";
    std::ofstream(path, std::ios::binary) << s;
    return path;
}

// Input the builder refuses would time the refusal, not the command.
void Expect(benchmark::State& state, const Result& r)
{
    if (!r.ok()) state.SkipWithError("input refused");
}

void Bitmap384x336(benchmark::State& state)
{
    const std::string path = WriteBitmapFile();
    for (auto _ : state) {
        RasterResult r = LoadBitmapRaster(path, 8);   // behind an 8-byte header, as the logo command
        if (!r.ok()) state.SkipWithError("bitmap refused");
        benchmark::DoNotOptimize(r);
    }
    std::remove(path.c_str());
}
BENCHMARK(Bitmap384x336)->Unit(benchmark::kMillisecond);

// One button per iteration, round the whole table; combos at their last item, the longest search.
void MainCommands(benchmark::State& state)
{
    const auto table = MainCommandTable();
    size_t i = 0;
    for (auto _ : state) {
        const MainCommandDef& def = table[i++ % table.size()];
        const std::string_view text = ChoicesOf(def).empty() ? std::string_view{} : ChoicesOf(def).back().item;
        benchmark::DoNotOptimize(BuildMainCommand(def, text));
    }
}
BENCHMARK(MainCommands);

AddressEntry Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return AddressEntry::FromValue(uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | d);
}

void NetworkParams(benchmark::State& state)
{
    NetworkParamInput in{0, Address(192, 168, 1, 200), Address(255, 255, 255, 0), Address(192, 168, 1, 1),
                         Address(192, 168, 1, 1)};
    Expect(state, BuildNetworkParamCommand(in));
    for (auto _ : state) benchmark::DoNotOptimize(BuildNetworkParamCommand(in));
}
BENCHMARK(NetworkParams);

// The print-test box's own sample line, as text and as hexadecimal pairs.
void PrintTestText(benchmark::State& state)
{
    const std::string text = "Welcome to use the thermal receipt printer! 0123456789\r\n";
    Expect(state, BuildPrintTestCommand(text, false));
    for (auto _ : state) benchmark::DoNotOptimize(BuildPrintTestCommand(text, false));
}
BENCHMARK(PrintTestText);

void PrintTestHex(benchmark::State& state)
{
    const std::string text = "1B 40 1B 61 01 1D 21 11 54 41 4C 4C 59 58 0A 1D 21 00 1B 61 00 0A 1D 56 42 00";
    Expect(state, BuildPrintTestCommand(text, true));
    for (auto _ : state) benchmark::DoNotOptimize(BuildPrintTestCommand(text, true));
}
BENCHMARK(PrintTestHex);

void BarcodeCode128(benchmark::State& state)
{
    BarcodeParams p{0x02, 0x00, 0x49, 96, 3, 0};
    Expect(state, BuildBarcodeCommand(p, "{BNo.20261208-0042"));
    for (auto _ : state) benchmark::DoNotOptimize(BuildBarcodeCommand(p, "{BNo.20261208-0042"));
}
BENCHMARK(BarcodeCode128);

void BarcodeEan13(benchmark::State& state)
{
    BarcodeParams p{0x02, 0x00, 0x43, 96, 3, 0};
    Expect(state, BuildBarcodeCommand(p, "690123456789"));
    for (auto _ : state) benchmark::DoNotOptimize(BuildBarcodeCommand(p, "690123456789"));
}
BENCHMARK(BarcodeEan13);

void QrCode(benchmark::State& state)
{
    const std::string content = "https://example.com/receipt?id=20261208-0042&total=128.50";
    Expect(state, BuildQrCommand(QrParams{0x08, 0x01}, content));
    for (auto _ : state) benchmark::DoNotOptimize(BuildQrCommand(QrParams{0x08, 0x01}, content));
}
BENCHMARK(QrCode);

void Pdf417(benchmark::State& state)
{
    const std::string content = "No.20261208-0042 total 128.50 paid cash";
    const Pdf417Params p{0x00, 0x00, 0x03, 0x03, 0x00, 0x30, 0x01};
    Expect(state, BuildPdf417Command(p, content));
    for (auto _ : state) benchmark::DoNotOptimize(BuildPdf417Command(p, content));
}
BENCHMARK(Pdf417);

void CodePageSet(benchmark::State& state)
{
    int position = 0;
    for (auto _ : state) benchmark::DoNotOptimize(BuildSetCodePageCommand(position++ % 75));
}
BENCHMARK(CodePageSet);

void CodePageChart(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(BuildCodePageChart());
}
BENCHMARK(CodePageChart);

void CodePageSelfTest(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(BuildCodePageSelfTest());
}
BENCHMARK(CodePageSelfTest);

void CutCycle(benchmark::State& state)
{
    uint32_t cycle = 1;
    for (auto _ : state) benchmark::DoNotOptimize(BuildCutCycle(cycle++));
}
BENCHMARK(CutCycle);

void VoicePrompt(benchmark::State& state)
{
    uint8_t voice = 0;
    for (auto _ : state) benchmark::DoNotOptimize(BuildVoicePromptCommand(uint8_t(voice++ % 22 + 1)));
}
BENCHMARK(VoicePrompt);

void VoiceAmount(benchmark::State& state)
{
    Expect(state, BuildAmountCommand("1234567.89"));
    for (auto _ : state) benchmark::DoNotOptimize(BuildAmountCommand("1234567.89"));
}
BENCHMARK(VoiceAmount);

} // namespace

BENCHMARK_MAIN();
