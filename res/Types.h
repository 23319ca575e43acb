#pragma once
// The small vocabulary every room shares: command bytes, operator messages, address entries.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tallyx {

using Bytes = std::vector<uint8_t>;

// The first row of a table whose `field` equals `value`, or nullptr.
template <class Table, class Field, class Value>
auto FindRow(const Table& table, Field field, const Value& value) -> decltype(&*std::begin(table))
{
    for (const auto& row : table)
        if (std::invoke(field, row) == value) return &row;
    return nullptr;
}

// What the operator sees in a message box: its caption and its text.
// focusId names the control that takes the keyboard focus afterwards (0: none).
struct Message {
    std::string_view caption;
    std::string_view text;
    int focusId = 0;
};

// A value, or the message that refuses the input it would have come from.
template <class T>
class OrRefusal {
public:
    OrRefusal(T value) : m_value(std::move(value)) {}
    OrRefusal(Message refusal) : m_value(refusal) {}
    const Message* refusal() const { return std::get_if<Message>(&m_value); }
    bool ok() const { return std::holds_alternative<T>(m_value); }

protected:
    const T& value() const { return std::get<T>(m_value); }

private:
    std::variant<T, Message> m_value;
};

// A builder's answer: the command bytes, or the message that refuses the input.
class Result : public OrRefusal<Bytes> {
public:
    using OrRefusal::OrRefusal;
    const Bytes& bytes() const { return value(); }
};

// A four-field IPv4 address entry as the operator left it: which fields hold a value.
// An empty field reads as 0.
struct AddressEntry {
    std::array<uint8_t, 4> octets{};
    std::array<bool, 4> present{};

    int Filled() const { return present[0] + present[1] + present[2] + present[3]; }
    bool Blank() const { return Filled() == 0; }
    bool Complete() const { return Filled() == 4; }
    // First octet in the most significant byte.
    uint32_t Value() const
    {
        return uint32_t(octets[0]) << 24 | uint32_t(octets[1]) << 16 | uint32_t(octets[2]) << 8 | octets[3];
    }
    std::string Dotted() const
    {
        return std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." +
               std::to_string(octets[2]) + "." + std::to_string(octets[3]);
    }
    static AddressEntry FromValue(uint32_t v)
    {
        AddressEntry e;
        for (int i = 0; i < 4; ++i) {
            e.octets[i] = uint8_t(v >> (24 - 8 * i));
            e.present[i] = true;
        }
        return e;
    }
};

} // namespace tallyx
