#pragma once
// Bit images: downloaded (GS *), NV logos (FS r / FS p), bands (ESC *) and rasters (GS v 0).
#include <optional>
#include <string>

#include "vprinter/interpret/Executor.h"
#include "vprinter/symbols/SymbolEncoder.h"

namespace tallyx::vprinter {

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

} // namespace tallyx::vprinter
