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

// Ends the run after a case whose program did not start. Set from here, as
// GoogleTest undoes a case's own changes to its flags when the case ends.
class StopOnceTheProgramDoesNotStart : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& /*test*/) override {
        if (e2e::programDidNotStart()) {
            GTEST_FLAG_SET(fail_fast, true);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        (void)std::fprintf(stderr, "usage: e2e_tests PROGRAM STAND_IN_WINMM PROBE_HOOK [gtest options]\n");
        return 2;
    }
    e2e::harnessPaths() = {windowsPath(argv[1]), windowsPath(argv[2]), windowsPath(argv[3])};
    testing::UnitTest::GetInstance()->listeners().Append(new StopOnceTheProgramDoesNotStart);
    return RUN_ALL_TESTS();
}
