#pragma once

#include <cstdint>
#include <string>

#include "binding_set.h"

std::string slotName(Slot slot);
std::string keyLabel(std::uint32_t keyCode);
std::string buttonLabel(std::uint32_t buttonMask);

// One "name: label" line per slot, each ending in CR LF CR LF.
std::string keyboardSummary(const BindingSet& bindings);
std::string joypadSummary(const BindingSet& bindings);
