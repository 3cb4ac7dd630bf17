#include "resources.h"

#include <stdexcept>

namespace e2e {

namespace {

// Sequential reader of a resource's little-endian bytes.
class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& data) : data_(data) {}

    uint32_t number(size_t size) {
        if (at_ + size > data_.size()) {
            throw std::runtime_error("resource ends early");
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            value |= static_cast<uint32_t>(data_[at_ + i]) << (8 * i);
        }
        at_ += size;
        return value;
    }
    WORD word() {
        return static_cast<WORD>(number(2));
    }
    DWORD dword() {
        return number(4);
    }
    short coordinate() {
        return static_cast<short>(word());
    }
    // A UTF-16 string ended by 0 (resources here are ASCII), or 0xFFFF and an ordinal.
    std::string nameOrOrdinal() {
        const WORD first = word();
        if (first == 0xFFFF) {
            return "#" + std::to_string(word());
        }
        std::string text;
        for (WORD c = first; c != 0; c = word()) {
            text += static_cast<char>(c);
        }
        return text;
    }
    void alignTo4() {
        at_ = (at_ + 3) & ~static_cast<size_t>(3);
    }
    void skip(size_t count) {
        at_ += count;
    }

private:
    const std::vector<uint8_t>& data_;
    size_t at_ = 0;
};

IconImage imageFormat(const std::vector<uint8_t>& data) {
    static const uint8_t png[] = {0x89, 'P', 'N', 'G'};
    if (data.size() >= 26 && std::equal(std::begin(png), std::end(png), data.begin())) {
        // IHDR: big-endian width and height, then bit depth and colour type (6 = RGBA).
        const auto bigEndian = [&](size_t at) {
            return static_cast<int>(data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]);
        };
        const int channels = data[25] == 6 ? 4 : data[25] == 2 ? 3 : 1;
        return IconImage{bigEndian(16), bigEndian(20), data[24] * channels};
    }
    Reader header(data);
    header.dword();  // biSize
    const auto width = static_cast<int>(header.dword());
    const auto height = static_cast<int>(header.dword()) / 2;  // colour and mask stacked
    header.word();                                             // biPlanes
    return IconImage{width, height, header.word()};
}

}  // namespace

ExecutableResources::ExecutableResources(const std::string& path)
    : module_(
          LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    if (module_ == nullptr) {
        throw std::runtime_error("cannot open the resources of " + path);
    }
}

ExecutableResources::~ExecutableResources() {
    FreeLibrary(module_);
}

std::optional<std::vector<uint8_t>> ExecutableResources::bytes(LPCSTR type, LPCSTR name) const {
    HRSRC found = FindResourceA(module_, name, type);
    HGLOBAL loaded = found == nullptr ? nullptr : LoadResource(module_, found);
    const auto* data = loaded == nullptr ? nullptr : static_cast<const uint8_t*>(LockResource(loaded));
    if (data == nullptr) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(data, data + SizeofResource(module_, found));
}

std::optional<std::vector<IconImage>> ExecutableResources::iconGroup(WORD id) const {
    const auto group = bytes(RT_GROUP_ICON, MAKEINTRESOURCEA(id));
    if (!group) {
        return std::nullopt;
    }
    Reader reader(*group);
    reader.word();  // reserved
    reader.word();  // type
    const WORD count = reader.word();
    std::vector<IconImage> images;
    for (WORD i = 0; i < count; ++i) {
        reader.skip(12);  // size, colours, planes, bit count, bytes in resource
        const WORD imageId = reader.word();
        const auto image = bytes(RT_ICON, MAKEINTRESOURCEA(imageId));
        images.push_back(image ? imageFormat(*image) : IconImage{0, 0, 0});
    }
    return images;
}

std::optional<std::string> ExecutableResources::manifest() const {
    const auto data = bytes(RT_MANIFEST, MAKEINTRESOURCEA(1));
    if (!data) {
        return std::nullopt;
    }
    return std::string(data->begin(), data->end());
}

std::optional<DialogTemplate> ExecutableResources::dialog(WORD id) const {
    const auto data = bytes(RT_DIALOG, MAKEINTRESOURCEA(id));
    if (!data) {
        return std::nullopt;
    }
    Reader reader(*data);
    DialogTemplate dialog{};
    // DLGTEMPLATEEX starts with the version 1 and the signature 0xFFFF.
    dialog.extended = (*data)[0] == 1 && (*data)[1] == 0 && (*data)[2] == 0xFF && (*data)[3] == 0xFF;
    if (dialog.extended) {
        return dialog;
    }
    dialog.style = reader.dword();
    dialog.exStyle = reader.dword();
    const WORD count = reader.word();
    dialog.x = reader.coordinate();
    dialog.y = reader.coordinate();
    dialog.cx = reader.coordinate();
    dialog.cy = reader.coordinate();
    dialog.menu = reader.nameOrOrdinal();
    dialog.windowClass = reader.nameOrOrdinal();
    dialog.caption = reader.nameOrOrdinal();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = reader.word();
        dialog.fontName = reader.nameOrOrdinal();
    }
    for (WORD i = 0; i < count; ++i) {
        reader.alignTo4();
        DialogItem item{};
        item.style = reader.dword();
        item.exStyle = reader.dword();
        item.x = reader.coordinate();
        item.y = reader.coordinate();
        item.cx = reader.coordinate();
        item.cy = reader.coordinate();
        item.id = reader.word();
        item.windowClass = reader.nameOrOrdinal();
        item.text = reader.nameOrOrdinal();
        reader.skip(reader.word());  // creation data
        dialog.items.push_back(item);
    }
    return dialog;
}

}  // namespace e2e
