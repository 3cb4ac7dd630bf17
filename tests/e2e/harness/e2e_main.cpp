// Entry point of e2e_tests: e2e_tests PROGRAM STAND_IN_WINMM PROBE_HOOK [gtest options]
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "driver.h"

namespace {

// CMake hands over host paths; under Wine the host's root is drive Z:.
std::string windowsPath(std::string path) {
    if (!path.empty() && path.front() == '/') {
        path = "Z:" + path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        (void)std::fprintf(stderr, "usage: e2e_tests PROGRAM STAND_IN_WINMM PROBE_HOOK [gtest options]\n");
        return 2;
    }
    e2e::harnessPaths() = {windowsPath(argv[1]), windowsPath(argv[2]), windowsPath(argv[3])};
    return RUN_ALL_TESTS();
}
