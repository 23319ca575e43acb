#pragma once
// A virtual printer listening on a free TCP port and a pseudo-terminal of its own, for the
// tests that talk to it with the tool's own code.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "link/PosixPlatform.h"
#include "tests/support/TestDir.h"
#include "vprinter/VirtualPrinter.h"

namespace tallyx::vprinter::test {

class RunningPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = tallyx::test::FreshTestDir("tallyx-vp-");
        VirtualPrinterOptions o;
        o.listenPort = 0;
        o.ptyPath = (m_dir / "ttyVP").string();
        o.outDir = (m_dir / "out").string();
        m_printer = std::make_unique<VirtualPrinter>(o);
        std::string error;
        ASSERT_TRUE(m_printer->Start(&error)) << error;
    }
    void TearDown() override
    {
        m_printer.reset();
        std::filesystem::remove_all(m_dir);
    }

    std::filesystem::path m_dir;
    std::unique_ptr<VirtualPrinter> m_printer;
    PosixPlatform m_platform;
};

} // namespace tallyx::vprinter::test
