#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter {

namespace {
constexpr uint32_t kBauds[] = {4800, 9600, 19200, 38400, 57600, 115200};

bool SameImage(const std::optional<ColumnImage>& a, const std::optional<ColumnImage>& b)
{
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return a->widthDots == b->widthDots && a->heightDots == b->heightDots && a->data == b->data;
}
} // namespace

bool PrinterState::operator==(const PrinterState& o) const
{
    for (int i = 0; i < kLogoSlots; ++i)
        if (!SameImage(logos[i], o.logos[i])) return false;
    return printMode == o.printMode && density == o.density && baudIndex == o.baudIndex &&
           buzzer == o.buzzer && cutter == o.cutter && font == o.font && codePage == o.codePage &&
           network == o.network;
}

uint32_t BaudOfIndex(int index)
{
    return index >= 0 && index < 6 ? kBauds[index] : 0;
}

Bytes NetworkReply(const NetworkParams& net)
{
    Bytes out;
    out.reserve(kNetReplySize);
    for (const Address* a : {&net.ip, &net.mask, &net.gateway, &net.dns})
        out.insert(out.end(), a->begin(), a->end());
    out.push_back(net.dhcp);
    out.resize(kNetReplySize, 0x00);
    return out;
}

std::string DottedText(const Address& a)
{
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

} // namespace tallyx::vprinter
