#include "printer/DeviceUri.h"

#include <charconv>

namespace tallyx::printer {

namespace {

constexpr uint32_t kSerialBauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

template <class N>
std::optional<N> Number(std::string_view text)
{
    N value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

bool StartsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

} // namespace

std::optional<DeviceUri> ParseDeviceUri(std::string_view uri)
{
    DeviceUri out;
    if (StartsWith(uri, "socket://")) {
        std::string_view rest = uri.substr(9);
        rest = rest.substr(0, rest.find_first_of("/?"));
        const size_t colon = rest.rfind(':');
        if (colon != std::string_view::npos) {
            const auto port = Number<uint32_t>(rest.substr(colon + 1));
            if (!port || *port == 0 || *port > 65535) return std::nullopt;
            out.port = uint16_t(*port);
            rest = rest.substr(0, colon);
        }
        if (rest.empty()) return std::nullopt;
        out.host = std::string(rest);
        return out;
    }
    const bool serial = StartsWith(uri, "serial://");
    if (!serial && !StartsWith(uri, "usb://")) return std::nullopt;
    out.kind = serial ? DeviceKind::Serial : DeviceKind::Usb;
    std::string_view rest = uri.substr(serial ? 9 : 6);
    const size_t query = rest.find('?');
    out.path = std::string(rest.substr(0, query));
    if (out.path.empty() || out.path.front() != '/' || out.path.find("/../") != std::string::npos) return std::nullopt;
    if (query == std::string_view::npos) return out;
    const std::string_view args = rest.substr(query + 1);
    if (!serial || !StartsWith(args, "baud=")) return std::nullopt;
    const auto baud = Number<uint32_t>(args.substr(5));
    if (!baud) return std::nullopt;
    for (const uint32_t known : kSerialBauds)
        if (known == *baud) {
            out.baud = known;
            return out;
        }
    return std::nullopt;
}

std::string SerialDeviceUri(std::string_view path, uint32_t baud)
{
    return "serial://" + std::string(path) + "?baud=" + std::to_string(baud);
}

} // namespace tallyx::printer
