#pragma once
// Bit images: downloaded (GS *), NV logos (FS r / FS p), bands (ESC *) and rasters (GS v 0).
#include <optional>

#include "vprinter/PrintContext.h"

namespace tallyx::vprinter {

class ImageExecutor {
public:
    explicit ImageExecutor(PrintContext& ctx) : m_ctx(ctx) {}

    std::string Execute(const Command& cmd);
    // ESC @ forgets the downloaded image.
    void Reset() { m_downloaded.reset(); }
    size_t HeldBytes() const { return m_downloaded ? m_downloaded->data.capacity() : 0; }

private:
    std::string StoreLogo(const Bytes& h, const Bytes& payload, bool kept);
    std::string PrintLogo(const Bytes& h);
    std::string Band(const Bytes& h, const Bytes& payload);
    std::string Raster(const Bytes& h, const Bytes& payload, bool kept);
    void PrintColumnImage(const ColumnImage& image, int scaleW, int scaleH);

    PrintContext& m_ctx;
    std::optional<ColumnImage> m_downloaded;
};

} // namespace tallyx::vprinter
