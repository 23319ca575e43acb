#pragma once
// The printer's stored settings as a JSON file: read at power-on, replaced whole after every
// change (temporary file, fsync, rename), so a crash leaves the old file or the new one.
#include <string>

#include "vprinter/device/PrinterState.h"

namespace tallyx::vprinter {

std::string StateToJson(const PrinterState& state);
// Fields that are missing or out of range keep their factory value; false when the
// text is not a JSON object at all.
bool StateFromJson(const std::string& text, PrinterState& state);

class StateStore {
public:
    explicit StateStore(std::string path) : m_path(std::move(path)) {}

    // `factory` when there is no file; `error` says why a present file was not used.
    PrinterState Load(std::string* error = nullptr, const PrinterState& factory = {}) const;
    // Returns false (errno kept in `error`) when the file could not be replaced.
    bool Save(const PrinterState& state, std::string* error = nullptr) const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace tallyx::vprinter
