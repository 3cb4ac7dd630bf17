// Feeds arbitrary bytes to the settings reader: it must neither crash nor read
// outside its input, and what it accepted must survive a write and a read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    BindingSet bindings;
    readSettings(in, bindings);

    const std::string text = formatSettings(bindings);
    std::istringstream again(text);
    BindingSet reread;
    readSettings(again, reread);
    if (formatSettings(reread) != text) {
        std::abort();
    }
    return 0;
}
