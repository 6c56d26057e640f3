// Keyboard accelerators of a pop-up menu, given afresh each time it opens.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The characters an accelerator may be, in order of preference.
inline constexpr const char* kAcceleratorChars = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The accelerator character an "&" marks in a caption (upper case), or 0.
char MarkedAccelerator(const std::string& caption);

// A caption with its "&" marks removed ("&&" stays one "&").
std::string WithoutMarks(const std::string& caption);

// Marks each caption with an accelerator: a kept mark stays unless an item
// above keeps the same character; every other non-empty caption gets the first
// of its characters that is an allowed one and still free in the menu.
void AssignAccelerators(std::vector<std::string>& captions);

}  // namespace vantrel
