#pragma once
// Finds the first USB printer-class interface (class 7) the usblp driver exposes.
#include <string>

#include "link/Platform.h"

namespace tallyx {

class UsbPrinterFinder {
public:
    // Roots are parameters so tests can point them at a fake tree.
    explicit UsbPrinterFinder(std::string sysRoot = "/sys", std::string devRoot = "/dev");
    UsbDiscovery Find() const;

private:
    std::string m_sysRoot;
    std::string m_devRoot;
};

} // namespace tallyx
