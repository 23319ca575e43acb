#pragma once
// The command families: each executor carries out the whole commands of its family on the
// printer it belongs to and says what it did, for the log.
#include <optional>

#include "vprinter/PrintContext.h"
#include "vprinter/SymbolEncoder.h"

namespace tallyx::vprinter {

class Executor {
public:
    explicit Executor(PrintContext& ctx) : m_ctx(ctx) {}

protected:
    PrintContext& m_ctx;
};

// Line and style commands: feeds, tabs, ESC ! and its kin, alignment, magnification,
// Chinese mode and the code page of the printed characters.
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
};

// The commands that change what the printer stores across power cycles, and the self-test
// page that lists it.
class SettingsExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);

private:
    std::string Network(const Bytes& h);
};

// 1F 11 04: the stored settings on paper, then a cut when the cutter is on.
void PrintSelfTestPage(PrintContext& ctx);

// "ON" / "OFF", as the self-test page and the log say it.
std::string OnOffText(bool on);

// Bit images: downloaded (GS *), NV logos (FS r / FS p), bands (ESC *) and rasters (GS v 0).
class ImageExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
    // ESC @ forgets the downloaded image and the graphics waiting to be printed.
    void Reset()
    {
        m_downloaded.reset();
        m_graphics.reset();
    }
    size_t HeldBytes() const
    {
        return (m_downloaded ? m_downloaded->data.capacity() : 0) + (m_graphics ? m_graphics->dots.capacity() : 0);
    }

private:
    std::string StoreLogo(const Bytes& h, const Bytes& payload, bool kept);
    std::string PrintLogo(const Bytes& h);
    std::string Band(const Bytes& h, const Bytes& payload);
    std::string Raster(const Bytes& h, const Bytes& payload, bool kept);
    void PrintColumnImage(const ColumnImage& image, int scaleW, int scaleH);
    // GS ( L and GS 8 L: m fn and the function's parameters.
    std::string Graphics(const Bytes& p, bool kept);
    std::string StoreGraphics(const Bytes& p, bool columns);

    std::optional<ColumnImage> m_downloaded;
    std::optional<Picture> m_graphics;   // stored by function 112 or 113, printed by 50
};

// One-dimensional barcodes: GS k, drawn with the set-up of GS H (readable line position),
// GS f (its font), GS h (bar height), GS w (module width) and GS x (left margin).
struct BarcodeSetup {
    uint8_t hriPosition = 0;   // 0 none, 1 above, 2 below, 3 both
    bool hriFontB = false;     // the 9 x 17 font instead of 12 x 24
    uint8_t barHeight = 162;   // dots
    uint8_t moduleWidth = 3;   // dots
    uint8_t leftMargin = 0;    // dots
};

class BarcodeExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
    // ESC @ restores the set-up.
    void Reset() { m_setup = {}; }

private:
    std::string Print(uint8_t m, const Bytes& data, bool kept);
    // The readable line, centred over the bars that start at `x` and are `width` dots wide.
    void PlaceReadableLine(const std::string& text, int x, int width);

    BarcodeSetup m_setup;
};

// Two-dimensional symbols, GS ( k: PDF417 (cn 30), QR Code (31), MaxiCode (32), stacked GS1
// DataBar (33), Aztec Code (35) and Data Matrix (36), each set up, stored and printed by its
// own functions.
struct QrSetup {
    uint8_t moduleDots = 3;
    int eccLevel = 1;          // 1 L, 2 M, 3 Q, 4 H
    Bytes data;
};

struct Pdf417Setup {
    int columns = 0;           // 0: automatic
    int rows = 0;              // 0: automatic
    int moduleDots = 3;
    int rowHeight = 3;         // in module widths
    bool truncated = false;
    int eccLevel = 1;          // 0..8
    int eccRatio = 0;          // 1..40 tenths of the data; 0: the level holds
    Bytes data;
};

struct MaxiCodeSetup {
    int mode = 2;              // 2..6
    Bytes data;
};

// The stacked GS1 DataBar symbols (cn 33).
struct DataBarSetup {
    int moduleDots = 2;
    int maxWidth = 0;          // Expanded Stacked's widest, in dots; 0: the paper
    uint8_t type = 0;          // 72 Stacked, 73 Stacked Omnidirectional, 76 Expanded Stacked
    Bytes data;
};

struct AztecSetup {
    bool compact = false;
    int layers = 0;            // 0: as few as the data needs
    int moduleDots = 3;
    int eccPercent = 23;
    Bytes data;
};

struct DataMatrixSetup {
    bool rectangle = false;
    int columns = 0;           // 0 (both): as small as the data allows
    int rows = 0;
    int moduleDots = 3;
    Bytes data;
};

class SymbolExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
    size_t HeldBytes() const
    {
        return m_qr.data.capacity() + m_pdf.data.capacity() + m_maxi.data.capacity() + m_dataBar.data.capacity() +
               m_aztec.data.capacity() + m_dataMatrix.data.capacity();
    }

private:
    std::string Qr(uint8_t fn, const Bytes& p);
    std::string Pdf417(uint8_t fn, const Bytes& p);
    std::string MaxiCode(uint8_t fn, const Bytes& p);
    std::string DataBar(uint8_t fn, const Bytes& p);
    std::string Aztec(uint8_t fn, const Bytes& p);
    std::string DataMatrix(uint8_t fn, const Bytes& p);
    std::string PrintQr();
    std::string PrintPdf417();
    std::string PrintMaxiCode();
    std::string PrintDataBar();
    std::string PrintAztec();
    std::string PrintDataMatrix();
    // The functions every symbol shares; the set-up functions are its own.
    static constexpr uint8_t kFnStore = 0x50, kFnPrint = 0x51;
    // Function 80: the data after the function's own bytes, kept for the print.
    static std::string Store(std::string_view symbol, Bytes& data, const Bytes& p, size_t from);
    // Draws the symbol centred as ESC a says, or says why it cannot be.
    std::string Place(const SymbolModules& modules, int moduleW, int rowH);
    std::string PlacePicture(Picture pic, const std::string& size);

    QrSetup m_qr;
    Pdf417Setup m_pdf;
    MaxiCodeSetup m_maxi;
    DataBarSetup m_dataBar;
    AztecSetup m_aztec;
    DataMatrixSetup m_dataMatrix;
};

// The printer's hardware: cash drawer, buzzer, cutter, and status answers.
class DeviceExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
};

// The voice chip: a stored prompt by number (1F 12 10 n) or a money amount read out
// (1F 13 L text). The printer has no speaker here; what it would say is logged and handed
// to whoever shows the printer.
class VoiceExecutor : public Executor {
public:
    using Executor::Executor;
    std::string Execute(const Command& cmd);
};

} // namespace tallyx::vprinter
