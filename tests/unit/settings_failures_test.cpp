#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "settings_file.h"
#include "system_files.h"
#include "test_support.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <thread>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <future>

namespace {
bool streamsRefused = false;
int createsTried = 0;  // opens that may create a file, counted since the last reset

// The descriptors this process holds open. A failed save that leaks one
// shows nowhere else: the file's name is gone from the folder all the same.
std::size_t openDescriptorCount() {
    return directoryEntries("/proc/self/fd").size();
}
}  // namespace

// This binary is linked with --wrap=fdopen, so that a test can make the C
// library refuse a stream, as it does when its tables are full.
extern "C" {
// NOLINTNEXTLINE(bugprone-reserved-identifier)
std::FILE* __real_fdopen(int descriptor, const char* mode);
// NOLINTNEXTLINE(bugprone-reserved-identifier)
std::FILE* __wrap_fdopen(int descriptor, const char* mode) {
    if (streamsRefused) {
        errno = EMFILE;
        return nullptr;
    }
    return __real_fdopen(descriptor, mode);
}

// Linked with --wrap=open as well, so that a test can count the creates.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
int __real_open(const char* path, int flags, ...);
// NOLINTNEXTLINE(bugprone-reserved-identifier)
int __wrap_open(const char* path, int flags, ...) {
    if ((flags & O_CREAT) == 0 && (flags & O_TMPFILE) != O_TMPFILE) {
        return __real_open(path, flags);
    }
    ++createsTried;
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    return __real_open(path, flags, mode);
}
}
#endif

namespace {
// While a test sets it, a folder's descriptor: after a stream's first chunk it
// takes the place of the stream's own, so that the next read fails for real.
int folderForFailingReads = -1;
int chunksRead = 0;
}  // namespace

// This binary is linked with --wrap=fread, so that a test can make a read fail
// partway through a file, as a disk error does.
extern "C" {
// NOLINTNEXTLINE(bugprone-reserved-identifier)
std::size_t __real_fread(void* data, std::size_t size, std::size_t count, std::FILE* stream);
// NOLINTNEXTLINE(bugprone-reserved-identifier)
std::size_t __wrap_fread(void* data, std::size_t size, std::size_t count, std::FILE* stream) {
    if (folderForFailingReads != -1) {
        if (chunksRead == 0) {
            // Unbuffered, the first chunk is all that the first read takes.
            static_cast<void>(std::setvbuf(stream, nullptr, _IONBF, 0));
        } else {
#ifdef _WIN32
            static_cast<void>(_dup2(folderForFailingReads, _fileno(stream)));
#else
            static_cast<void>(dup2(folderForFailingReads, fileno(stream)));
#endif
        }
        ++chunksRead;
    }
    return __real_fread(data, size, count, stream);
}
}

namespace {

// While it lives, the C runtime makes no new stream over an open file.
class NoStreamsToBeHad {
public:
#ifdef _WIN32
    // The runtime's table of streams filled up, as a program with many open
    // files would have it.
    NoStreamsToBeHad() {
        while (streams_.size() < kMostStreams) {
            std::FILE* stream = std::fopen("input.dat", "rb");
            if (stream == nullptr) {
                filled_ = true;
                break;
            }
            streams_.push_back(stream);
        }
    }
    ~NoStreamsToBeHad() {
        for (std::FILE* stream : streams_) {
            static_cast<void>(std::fclose(stream));
        }
    }
#else
    NoStreamsToBeHad() : filled_(true) {
        streamsRefused = true;
    }
    ~NoStreamsToBeHad() {
        streamsRefused = false;
    }
#endif
    bool active() const {
        return filled_;
    }
    NoStreamsToBeHad(const NoStreamsToBeHad&) = delete;
    NoStreamsToBeHad& operator=(const NoStreamsToBeHad&) = delete;

private:
#ifdef _WIN32
    static constexpr std::size_t kMostStreams = 100000;
    std::vector<std::FILE*> streams_;
#endif
    bool filled_ = false;
};

// While it lives, reading a file fails after its first chunk.
class ReadsFailAfterTheFirstChunk {
public:
    ReadsFailAfterTheFirstChunk() {
        chunksRead = 0;
#ifdef _WIN32
        // A folder opens as a file only with backup semantics.
        HANDLE folder = CreateFileA(".", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder != INVALID_HANDLE_VALUE) {
            folderForFailingReads = _open_osfhandle(reinterpret_cast<std::intptr_t>(folder), _O_RDONLY);
        }
#else
        folderForFailingReads = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
    }
    ~ReadsFailAfterTheFirstChunk() {
#ifdef _WIN32
        static_cast<void>(_close(folderForFailingReads));
#else
        static_cast<void>(close(folderForFailingReads));
#endif
        folderForFailingReads = -1;
    }
    static bool active() {
        return folderForFailingReads != -1;
    }
    ReadsFailAfterTheFirstChunk(const ReadsFailAfterTheFirstChunk&) = delete;
    ReadsFailAfterTheFirstChunk& operator=(const ReadsFailAfterTheFirstChunk&) = delete;
};

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

// The values of a first chunk must not be taken: Ok would write them back
// over the whole file.
TEST(LoadFailure, ReadErrorPartwayReportsFalseAndChangesNothing) {
    ScopedWorkingDirectory directory;
    std::string text = "1,7,65,";
    text.resize(1000, ' ');  // past the first chunk read, of 512 bytes
    writeFile("input.dat", text + "66,67,68,69,70,71,72,1,2,4,8");
    bindingSet = exampleBindings();
    {
        const ReadsFailAfterTheFirstChunk failingReads;
        ASSERT_TRUE(ReadsFailAfterTheFirstChunk::active());
        EXPECT_FALSE(loadSettings());
    }
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

// The replace fails: the save removes its own temporary file, and only that.
TEST(SaveFailure, DirectoryNamedInputDatIsReportedAndKept) {
    ScopedWorkingDirectory directory;
    std::filesystem::create_directory("input.dat");
    writeFile("input.dat/keep", "x");
    plantStaleTemporaryFile();
    const auto before = directoryContents(directory.path());
#ifndef _WIN32
    const std::size_t descriptors = openDescriptorCount();
#endif
    bindingSet = exampleBindings();
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(readFile("input.dat/keep"), "x");
    EXPECT_EQ(directoryContents(directory.path()), before);
    EXPECT_EQ(bindingSet, exampleBindings());
#ifndef _WIN32
    EXPECT_EQ(openDescriptorCount(), descriptors);
#endif
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

// A new file that the runtime cannot take as a stream is removed at once: left
// behind under every temporary name, it would make every later save fail.
TEST(SaveFailure, FileWithoutAStreamIsRemovedAndTheNextSaveWorks) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,2,3");
    plantStaleTemporaryFile();
    const auto before = directoryContents(directory.path());
#ifndef _WIN32
    const std::size_t descriptors = openDescriptorCount();
#endif
    bindingSet = exampleBindings();
    {
        const NoStreamsToBeHad noStreams;
        ASSERT_TRUE(noStreams.active());
        EXPECT_FALSE(saveSettings());
    }
    EXPECT_EQ(directoryContents(directory.path()), before);
#ifndef _WIN32
    EXPECT_EQ(openDescriptorCount(), descriptors);
#endif
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(readFile("input.dat"), kExampleFile);
#ifndef _WIN32
    // Nor does the save that succeeds, which also opens the folder to sync it.
    EXPECT_EQ(openDescriptorCount(), descriptors);
#endif
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

// Loads and saves in the working folder as a user who may read input.dat but
// not create files there: the folder lets nobody write, and a child process
// does the work, giving up root first, as root may write anywhere. Returns what
// the child saw.
std::string loadAndSaveWhereNoFileMayBeCreated() {
    namespace fs = std::filesystem;
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNoGroup = 65534;
    const fs::perms readAndList = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(".", readAndList);
    std::array<int, 2> report{};
    const pid_t child = pipe(report.data()) == 0 ? fork() : -1;
    if (child == 0) {
        static_cast<void>(close(report[0]));
        std::string seen = "root could not be given up";
        if (geteuid() != 0 || (setgid(kNoGroup) == 0 && setuid(kNobody) == 0)) {
            const bool loaded = loadSettings();
            createsTried = 0;
            const bool saved = saveSettings();
            seen = std::string("loaded: ") + (loaded ? "yes" : "no") + ", saved: " + (saved ? "yes" : "no") +
                   ", creates tried: " + std::to_string(createsTried);
        }
        static_cast<void>(write(report[1], seen.data(), seen.size()));
        _exit(0);
    }
    std::string seen;
    if (child == -1) {
        seen = "no child process";
    } else {
        static_cast<void>(close(report[1]));
        std::array<char, 256> buffer{};
        for (ssize_t count = 0; (count = read(report[0], buffer.data(), buffer.size())) > 0;) {
            seen.append(buffer.data(), static_cast<std::size_t>(count));
        }
        static_cast<void>(close(report[0]));
        static_cast<void>(waitpid(child, nullptr, 0));
    }
    fs::permissions(".", fs::perms::owner_write, fs::perm_options::add);
    return seen;
}

// Where no file may be created, every name is refused alike, and on Windows a
// blocked create can show the user a warning of its own: one is tried, and the
// folder stays as it was.
TEST(SaveFailure, FolderThatRefusesNewFilesIsAskedOnceAndLeftAsItWas) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,2,3");
    const auto before = directoryContents(directory.path());
    EXPECT_EQ(loadAndSaveWhereNoFileMayBeCreated(), "loaded: yes, saved: no, creates tried: 1");
    EXPECT_EQ(directoryContents(directory.path()), before);
}

TEST(SaveFailure, WriteFailingPartWayKeepsTheOldFileAndLeavesNoTemporary) {
    ScopedWorkingDirectory directory;
    const std::string old = "1,7,65,66,67,68,69,70,71,72,1,2,4,8";
    writeFile("input.dat", old);
    plantStaleTemporaryFile();
    const auto before = directoryContents(directory.path());
    const std::size_t descriptors = openDescriptorCount();
    bindingSet = exampleBindings();
    {
        const FileSizeLimit limit(10);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(saveSettings());
    }
    EXPECT_EQ(directoryContents(directory.path()), before);
    EXPECT_EQ(bindingSet, exampleBindings());
    EXPECT_EQ(openDescriptorCount(), descriptors);
}
#else
// Discarding removes the very file that was made, through its handle: once the
// working folder has changed, the name leads to another file, which stays.
TEST(SaveFailure, DiscardRemovesTheFileItMadeNotWhatItsNameLeadsToNow) {
    ScopedWorkingDirectory made;
    writeFile("input.dat", "1,2,3");
    const auto before = directoryContents(made.path());
    std::FILE* file = createNewForWriting("input.dat.tmp");
    ASSERT_NE(file, nullptr);
    EXPECT_GE(std::fputs(kExampleFile, file), 0);
    {
        ScopedWorkingDirectory elsewhere;
        plantStaleTemporaryFile();
        const auto planted = directoryContents(elsewhere.path());
        discardNewFile(file, "input.dat.tmp");
        EXPECT_EQ(directoryContents(elsewhere.path()), planted);
    }
    EXPECT_EQ(directoryContents(made.path()), before);
}

// A scanner that holds the new file for a moment without sharing delete makes
// the replace fail with a sharing violation; the save waits it out.
TEST(SaveFailure, ReplaceOutlastsAShortHoldOfTheNewFile) {
    ScopedWorkingDirectory directory;
    writeFile("input.dat", "1,2,3");
    writeFile("input.dat.tmp", kExampleFile);
    HANDLE hold = CreateFileA("input.dat.tmp", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    ASSERT_EQ(MoveFileExA("input.dat.tmp", "input.dat", MOVEFILE_REPLACE_EXISTING), FALSE);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    std::thread scanner([hold] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // how long it holds the file
        CloseHandle(hold);
    });
    EXPECT_TRUE(replaceFile("input.dat.tmp", "input.dat"));
    scanner.join();
    EXPECT_EQ(directoryEntries(directory.path()), std::vector<std::string>{"input.dat"});
    EXPECT_EQ(readFile("input.dat"), kExampleFile);
}
#endif

}  // namespace
