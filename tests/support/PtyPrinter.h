#pragma once
// The printer's end of a pseudo-terminal. It keeps a slave handle of its own open, so the
// tool's close-and-reopen of the serial port never hangs the line up.
#include <cstddef>
#include <string>

namespace tallyx::test {

class PtyPrinter {
public:
    PtyPrinter();
    ~PtyPrinter();
    PtyPrinter(const PtyPrinter&) = delete;
    PtyPrinter& operator=(const PtyPrinter&) = delete;

    const std::string& Path() const { return m_path; }   // what the tool opens
    int Slave() const { return m_slave; }                 // for tcgetattr

    // Reads until `count` bytes arrived or nothing came for 2 s.
    std::string Read(size_t count);
    // What the printer sends back.
    void Write(const std::string& bytes);
    // Everything that arrives until nothing more comes for 300 ms (bounded by about 15 s).
    std::string ReadAll();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

} // namespace tallyx::test
