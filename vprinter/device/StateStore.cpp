#include "vprinter/device/StateStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

namespace tallyx::vprinter {

using nlohmann::json;

namespace {

constexpr int kFormatVersion = 1;
constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string ToHex(const Bytes& data)
{
    std::string out;
    out.reserve(data.size() * 2);
    for (uint8_t b : data) {
        out.push_back(kHexDigits[b >> 4]);
        out.push_back(kHexDigits[b & 0x0F]);
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool FromHex(const std::string& text, Bytes& out)
{
    if (text.size() % 2) return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(uint8_t(hi << 4 | lo));
    }
    return true;
}

json AddressJson(const Address& a) { return DottedText(a); }

void ReadAddress(const json& j, const char* key, Address& a)
{
    if (!j.contains(key) || !j[key].is_string()) return;
    unsigned v[4];
    char tail;
    if (std::sscanf(j[key].get<std::string>().c_str(), "%u.%u.%u.%u%c", &v[0], &v[1], &v[2], &v[3], &tail) != 4)
        return;
    for (unsigned x : v)
        if (x > 255) return;
    for (int i = 0; i < 4; ++i) a[i] = uint8_t(v[i]);
}

// Reads an unsigned field only when it lies in [lo, hi].
template <typename T>
void ReadNumber(const json& j, const char* key, T& field, unsigned lo, unsigned hi)
{
    if (!j.contains(key) || !j[key].is_number_unsigned()) return;
    auto v = j[key].get<unsigned long long>();
    if (v >= lo && v <= hi) field = T(v);
}

void ReadBool(const json& j, const char* key, bool& field)
{
    if (j.contains(key) && j[key].is_boolean()) field = j[key].get<bool>();
}

std::optional<ColumnImage> ReadLogo(const json& j)
{
    if (!j.is_object()) return std::nullopt;
    ColumnImage logo;
    ReadNumber(j, "width", logo.widthDots, 8, 8 * 65535);
    ReadNumber(j, "height", logo.heightDots, 8, 8 * 65535);
    if (logo.widthDots % 8 || logo.heightDots % 8 || !j.contains("data") || !j["data"].is_string())
        return std::nullopt;
    if (!FromHex(j["data"].get<std::string>(), logo.data)) return std::nullopt;
    if (logo.data.size() > kMaxLogoBytes ||
        logo.data.size() != size_t(logo.widthDots) * size_t(logo.heightDots) / 8)
        return std::nullopt;
    return logo;
}

} // namespace

std::string StateToJson(const PrinterState& s)
{
    json logos = json::array();
    for (const auto& logo : s.logos) {
        if (!logo) {
            logos.push_back(nullptr);
            continue;
        }
        logos.push_back({{"width", logo->widthDots}, {"height", logo->heightDots}, {"data", ToHex(logo->data)}});
    }
    json j = {
        {"version", kFormatVersion},
        {"printMode", s.printMode},
        {"density", s.density},
        {"baudIndex", s.baudIndex},
        {"buzzer", s.buzzer},
        {"cutter", s.cutter},
        {"font", s.font},
        {"codePage", s.codePage},
        {"network",
         {{"ip", AddressJson(s.network.ip)},
          {"mask", AddressJson(s.network.mask)},
          {"gateway", AddressJson(s.network.gateway)},
          {"dns", AddressJson(s.network.dns)},
          {"dhcp", s.network.dhcp == kDhcpOn}}},
        {"logos", logos},
    };
    return j.dump(2) + "\n";
}

bool StateFromJson(const std::string& text, PrinterState& s)
{
    json j = json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return false;
    ReadNumber(j, "printMode", s.printMode, 0, 1);
    ReadNumber(j, "density", s.density, 1, 4);
    ReadNumber(j, "baudIndex", s.baudIndex, 0, 5);
    ReadBool(j, "buzzer", s.buzzer);
    ReadBool(j, "cutter", s.cutter);
    ReadNumber(j, "font", s.font, 0, 2);
    ReadNumber(j, "codePage", s.codePage, 0, 255);
    if (j.contains("network") && j["network"].is_object()) {
        const json& n = j["network"];
        ReadAddress(n, "ip", s.network.ip);
        ReadAddress(n, "mask", s.network.mask);
        ReadAddress(n, "gateway", s.network.gateway);
        ReadAddress(n, "dns", s.network.dns);
        bool dhcp = s.network.dhcp == kDhcpOn;
        ReadBool(n, "dhcp", dhcp);
        s.network.dhcp = dhcp ? kDhcpOn : kDhcpOff;
    }
    if (j.contains("logos") && j["logos"].is_array())
        for (size_t i = 0; i < j["logos"].size() && i < size_t(kLogoSlots); ++i)
            s.logos[i] = ReadLogo(j["logos"][i]);
    return true;
}

PrinterState StateStore::Load(std::string* error, const PrinterState& factory) const
{
    PrinterState state = factory;
    std::ifstream in(m_path, std::ios::binary);
    if (!in) return state;
    std::ostringstream text;
    text << in.rdbuf();
    if (!StateFromJson(text.str(), state)) {
        if (error) *error = "not a JSON object: " + m_path;
        return factory;
    }
    return state;
}

bool StateStore::Save(const PrinterState& state, std::string* error) const
{
    auto fail = [&](const char* step) {
        if (error) *error = std::string(step) + " " + m_path + ": " + std::strerror(errno);
        return false;
    };
    const std::string text = StateToJson(state);
    const std::string temp = m_path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("open");
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return fail("write");
        }
        done += size_t(n);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return fail("fsync");
    }
    ::close(fd);
    if (::rename(temp.c_str(), m_path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return fail("rename");
    }
    // The rename itself must reach the disk too.
    std::string dir = m_path.substr(0, m_path.find_last_of('/') + 1);
    int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace tallyx::vprinter
