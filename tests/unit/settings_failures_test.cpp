#include <gtest/gtest.h>

#include "settings_file.h"
#include "test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <future>
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

#ifndef _WIN32
// A FIFO has no content of its own: reading it would wait for a writer forever.
TEST(LoadFailure, FifoIsRefusedWithoutWaiting) {
    ScopedWorkingDirectory directory;
    ASSERT_EQ(mkfifo("input.dat", 0600), 0);
    bindingSet = exampleBindings();
    auto loaded = std::async(std::launch::async, loadSettings);
    if (loaded.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        // A writer lets the blocked load go, so that the test fails instead of hanging.
        static_cast<void>(close(open("input.dat", O_WRONLY | O_CLOEXEC)));
        loaded.wait();
        FAIL() << "loading waited for a writer of the FIFO";
    }
    EXPECT_FALSE(loaded.get());
    EXPECT_EQ(bindingSet, exampleBindings());
}
#endif

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
    for (const std::string& name : kTemporaryNames) {
        std::filesystem::create_directory(name);  // no temporary name can be created
    }
    const auto before = directoryContents(directory.path());
    bindingSet = exampleBindings();
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(directoryContents(directory.path()), before);
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
