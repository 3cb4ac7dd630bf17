#pragma once

#include <cstdint>

#include "binding_set.h"

enum class CaptureResult { Ignored, Assigned, Rejected };

// All of these work on bindingSet and selectionState.
void selectSlot(Slot slot);
CaptureResult onKeyReleased(std::uint16_t keyCode);
CaptureResult onJoypadButtonsDown(std::uint32_t heldMask);
void setDevice(InputDevice device);
void setAxisOffset(std::uint32_t offset);
