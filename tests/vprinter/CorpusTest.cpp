// Receipts of four open-source ESC/POS encoders (tests/vprinter/corpus, made by hand with
// make-corpus.mjs) as a TM-T88-class printer prints them: nothing it knows logged as
// unknown, the symbols readable, the columns where the stream puts them, the text decoded.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/vprinter/PrinterProbe.h"
#include "tests/vprinter/SymbolReader.h"

namespace tallyx::vprinter::test {
namespace {

std::string Corpus(const std::string& name)
{
    std::ifstream in(std::string(VPRINTER_CORPUS) + "/" + name + ".bin", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Printed : TmT88Probe {
    explicit Printed(const std::string& name)
    {
        FeedBytes(Corpus(name));
        interpreter.Idle();
    }
    std::vector<std::string> Unknown() const
    {
        std::vector<std::string> unknown;
        for (const LogRecord& r : logs)
            if (r.mnemonic == "unknown" || r.mnemonic == "incomplete" || r.meaning.find("not supported") != std::string::npos)
                unknown.push_back(Describe(r));
        return unknown;
    }
    std::vector<std::string> Read(size_t receipt, ZXing::BarcodeFormat format) const
    {
        return ReadSymbols(ReceiptPicture(receipts.at(receipt)), format);
    }
    int PictureCount(size_t receipt) const
    {
        int n = 0;
        for (const Block& b : receipts.at(receipt).blocks) n += std::holds_alternative<Picture>(b) ? 1 : 0;
        return n;
    }
    bool Holds(size_t receipt, const std::string& line) const
    {
        return PrintedText(receipts.at(receipt)).find(line + "\n") != std::string::npos;
    }
};

// Right edge of the last character of `text` on its line.
int RightEdge(const Receipt& r, std::string_view text)
{
    const std::vector<Glyph> glyphs = GlyphsOf(r, text);
    return glyphs.empty() ? -1 : glyphs.back().x + glyphs.back().width;
}

int LeftEdge(const Receipt& r, std::string_view text)
{
    const std::vector<Glyph> glyphs = GlyphsOf(r, text);
    return glyphs.empty() ? -1 : glyphs.front().x;
}

TEST(Corpus, NothingATmT88KnowsIsUnknown)
{
    for (const char* name : {"receiptline", "node-thermal-printer", "escpos-buffer", "receipt-printer-encoder"}) {
        SCOPED_TRACE(name);
        Printed p(name);
        EXPECT_FALSE(p.logs.empty()) << "corpus file missing";
        EXPECT_EQ(p.Unknown(), std::vector<std::string>{});
    }
}

TEST(Corpus, ReceiptlineColumnsAndSymbols)
{
    Printed p("receiptline");
    ASSERT_EQ(p.receipts.size(), 2u);
    const Receipt& r = p.receipts[0];
    EXPECT_EQ(LeftEdge(r, "Item"), 0);
    EXPECT_EQ(LeftEdge(r, "Qty"), 264) << "ESC $ 192, then ESC \\ 72";
    EXPECT_EQ(RightEdge(r, "Price"), 576);
    EXPECT_EQ(LeftEdge(r, "TOTAL"), 0);
    EXPECT_EQ(RightEdge(r, "13.50"), 576);
    EXPECT_EQ(PrintedText(r).find("A0"), std::string::npos) << "FS ( A is not text";
    EXPECT_EQ(p.Read(0, ZXing::BarcodeFormat::QRCode), std::vector<std::string>{"https://tallyx.example/r/42"});
    EXPECT_EQ(p.Read(1, ZXing::BarcodeFormat::Code128), std::vector<std::string>{"TALLYX42"});
}

TEST(Corpus, SingleByteCodePagesFromTheStart)
{
    Printed ntp("node-thermal-printer");
    ASSERT_EQ(ntp.receipts.size(), 1u);
    EXPECT_TRUE(ntp.Holds(0, "Café Crème"));
    EXPECT_TRUE(ntp.Holds(0, "Total: 12,50 €"));
    EXPECT_EQ(RightEdge(ntp.receipts[0], "Right"), 576);
    // Its QR code touches the bars above it (no quiet zone in the stream): no scanner reads
    // either, on paper or here; both are printed as pictures.
    EXPECT_EQ(ntp.PictureCount(0), 2);

    Printed eb("escpos-buffer");
    ASSERT_EQ(eb.receipts.size(), 2u) << "ESC m cuts";
    EXPECT_TRUE(eb.Holds(0, "Áçênts R$ 5,00"));
    EXPECT_EQ(eb.Read(0, ZXing::BarcodeFormat::QRCode), std::vector<std::string>{"escpos-buffer"});
    EXPECT_TRUE(eb.Holds(1, "Second receipt"));

    Printed rpe("receipt-printer-encoder");
    ASSERT_EQ(rpe.receipts.size(), 1u) << "no blank receipt after the cut";
    EXPECT_TRUE(rpe.Holds(0, "Grüße, Ελληνικά, Привет, щука")) << "Epson's ESC t 11 and 17";
    EXPECT_TRUE(rpe.Holds(0, "┌──────────────────┐")) << "box drawing of PC437";
    EXPECT_TRUE(rpe.Holds(0, "│Boxed" + std::string(13, ' ') + "│")) << PrintedText(rpe.receipts[0]);
    EXPECT_EQ(rpe.Read(0, ZXing::BarcodeFormat::QRCode), std::vector<std::string>{"receipt-printer-encoder"});
}

} // namespace
} // namespace tallyx::vprinter::test
