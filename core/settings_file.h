#pragma once

#include <iosfwd>
#include <string>

#include "binding_set.h"

// Reads fields in file order until the first malformed one; it and all later
// fields keep their values.
void readSettings(std::istream& in, BindingSet& bindings);

// The whole file content: 14 comma-separated decimals, no line terminator.
std::string formatSettings(const BindingSet& bindings);

// Writes formatSettings to the stream and flushes; false if the stream failed.
bool writeSettings(std::ostream& out, const BindingSet& bindings);

// Reads input.dat in the working directory into bindingSet; false only when the file cannot be opened.
bool loadSettings();

// Replaces input.dat with bindingSet in one step; on false input.dat is untouched.
bool saveSettings();
