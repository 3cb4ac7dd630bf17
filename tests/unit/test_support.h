#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "binding_set.h"
#include "settings_file.h"

// Runs a test inside a fresh empty directory, removed afterwards.
class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory()
        : previous_(std::filesystem::current_path()),
          path_(std::filesystem::temp_directory_path() /
                ("inputconfig-test-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directory(path_);
        std::filesystem::current_path(path_);
    }
    ~ScopedWorkingDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    const std::filesystem::path& path() const {
        return path_;
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The names in a directory, sorted.
inline std::vector<std::string> directoryEntries(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What sits at each name in a directory: a link and where it points, a folder,
// or a file and its bytes.
inline std::map<std::string, std::string> directoryContents(const std::filesystem::path& path) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        const auto status = entry.symlink_status();
        std::string& content = contents[entry.path().filename().string()];
        if (std::filesystem::is_symlink(status)) {
            content = "link to " + std::filesystem::read_symlink(entry.path()).string();
        } else if (std::filesystem::is_directory(status)) {
            content = "folder";
        } else if (std::filesystem::is_regular_file(status)) {
            content = "file " + readFile(entry.path().string());
        } else {
            content = "something else";
        }
    }
    return contents;
}

inline BindingSet readFromText(const std::string& text, BindingSet start = {}) {
    SettingsReading reading{start};
    continueReading(reading, text.data(), text.size());
    finishReading(reading);
    return reading.bindings;
}

inline bool operator==(const BindingSet& a, const BindingSet& b) {
    return a.device == b.device && a.axisOffset == b.axisOffset && a.keyCodes == b.keyCodes &&
           a.joypadButtons == b.joypadButtons;
}

// For readable failure messages.
inline std::ostream& operator<<(std::ostream& out, const BindingSet& bindings) {
    return out << '{' << formatSettings(bindings) << '}';
}

// The example bindings: arrows, Z, X, Enter, Shift, buttons 1 to 4.
inline BindingSet exampleBindings() {
    BindingSet bindings;
    bindings.keyCodes = {38, 40, 39, 37, 90, 88, 13, 16};
    bindings.joypadButtons = {1, 2, 4, 8};
    return bindings;
}

// The names a save may give its temporary file, in the order it tries them.
inline const std::vector<std::string> kTemporaryNames = {
    "input.dat.tmp",   "input.dat.1.tmp", "input.dat.2.tmp", "input.dat.3.tmp", "input.dat.4.tmp",
    "input.dat.5.tmp", "input.dat.6.tmp", "input.dat.7.tmp", "input.dat.8.tmp", "input.dat.9.tmp"};

// A leftover of an earlier save, under the first name a save tries; not the
// save's to use, move or delete.
inline void plantStaleTemporaryFile() {
    writeFile("input.dat.tmp", "0,0,65");
}

inline const char* const kExampleFile = "0,0,38,40,39,37,90,88,13,16,1,2,4,8";
