#include <gtest/gtest.h>

#include "settings_file.h"
#include "test_support.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <csignal>
#endif

namespace {

TEST(LoadFailure, MissingFileReportsFalseAndChangesNothing) {
    ScopedWorkingDirectory directory;
    bindingSet = exampleBindings();
    EXPECT_FALSE(loadSettings());
    EXPECT_EQ(bindingSet, exampleBindings());
    EXPECT_TRUE(directoryEntries(directory.path()).empty()) << "loading must never create the file";
}

// Opened but unreadable where the system opens folders as files.
TEST(LoadFailure, UnreadableFileReportsFalseAndChangesNothing) {
    ScopedWorkingDirectory directory;
    std::filesystem::create_directory("input.dat");
    bindingSet = exampleBindings();
    EXPECT_FALSE(loadSettings());
    EXPECT_EQ(bindingSet, exampleBindings());
}

TEST(SaveFailure, DirectoryNamedInputDatIsReportedAndKept) {
    ScopedWorkingDirectory directory;
    std::filesystem::create_directory("input.dat");
    writeFile("input.dat/keep", "x");
    bindingSet = exampleBindings();
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(readFile("input.dat/keep"), "x");
    EXPECT_EQ(directoryEntries(directory.path()), std::vector<std::string>{"input.dat"});
    EXPECT_EQ(bindingSet, exampleBindings());
}

TEST(SaveFailure, UnwritableTemporaryLeavesInputDatIntact) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,2,3");
    std::filesystem::create_directory("input.dat.tmp");  // the temporary cannot be opened
    bindingSet = exampleBindings();
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(readFile("input.dat"), "1,2,3");
}

#ifndef _WIN32
// A full disk, as far as this process can tell: writes beyond a few bytes fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        if (getrlimit(RLIMIT_FSIZE, &previous_) == 0) {
            rlimit limited = previous_;
            limited.rlim_cur = bytes;
            active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
    }
    ~FileSizeLimit() {
        if (active_) {
            setrlimit(RLIMIT_FSIZE, &previous_);
        }
        static_cast<void>(std::signal(SIGXFSZ, previousHandler_));
    }
    bool active() const {
        return active_;
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*previousHandler_)(int);
    rlimit previous_{};
    bool active_ = false;
};

TEST(SaveFailure, WriteFailingPartWayKeepsTheOldFileAndLeavesNoTemporary) {
    ScopedWorkingDirectory directory;
    const std::string old = "1,7,65,66,67,68,69,70,71,72,1,2,4,8";
    writeFile("input.dat", old);
    bindingSet = exampleBindings();
    {
        const FileSizeLimit limit(10);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(saveSettings());
    }
    EXPECT_EQ(readFile("input.dat"), old);
    EXPECT_EQ(directoryEntries(directory.path()), std::vector<std::string>{"input.dat"});
    EXPECT_EQ(bindingSet, exampleBindings());
}
#endif

}  // namespace
