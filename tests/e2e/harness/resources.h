// Reads the resources of the shipped executable without running it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct IconImage {
    int width = 0;  // pixels; 256 is stored as 0 in the group
    int height = 0;
    int bitsPerPixel = 0;  // from the image itself (BMP header or PNG header)
};

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    std::string windowClass;  // "#128" for a predefined class ordinal, else the name
    std::string text;
};

struct DialogTemplate {
    bool extended = false;  // DLGTEMPLATEEX rather than the classic DLGTEMPLATE
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;
    std::string windowClass;
    std::string caption;
    WORD pointSize = 0;
    std::string fontName;
    std::vector<DialogItem> items;
};

class ExecutableResources {
public:
    explicit ExecutableResources(const std::string& path);
    ~ExecutableResources();
    ExecutableResources(const ExecutableResources&) = delete;
    ExecutableResources& operator=(const ExecutableResources&) = delete;

    std::optional<std::vector<IconImage>> iconGroup(WORD id) const;
    std::optional<std::string> manifest() const;
    std::optional<DialogTemplate> dialog(WORD id) const;

private:
    std::optional<std::vector<uint8_t>> bytes(LPCSTR type, LPCSTR name) const;
    HMODULE module_;
};

}  // namespace e2e
