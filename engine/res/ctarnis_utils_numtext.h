// Numbers written as text in data files, read the way a C++ stream reads them:
// leading whitespace skipped, an optional sign, and reading stops at the first
// character that cannot continue the number ("12abc" reads as 12).
#pragma once

#include <cstdint>

namespace res {

// False, with 0 stored, when the text does not start with a number; values out
// of the int32 range clamp to its ends.
bool readDecimalInt(const char* text, int32_t& value);
// The same for a decimal floating-point number; out of range clamps to the
// largest float, too small reads as 0. Locale-independent.
bool readDecimalFloat(const char* text, float& value);

} // namespace res
