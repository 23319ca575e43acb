#pragma once
// An empty folder of the running test's own under the system's temporary folder, named
// after the prefix, the process and the test, so parallel runs never share one.
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tallyx::test {

inline std::filesystem::path FreshTestDir(std::string_view prefix)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(::getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace tallyx::test
