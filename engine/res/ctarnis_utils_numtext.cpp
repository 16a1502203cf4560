// Stream-style reading of decimal numbers from attribute texts.
#include "engine/res/ctarnis_utils_numtext.h"

#include <cctype>
#include <charconv>
#include <cfloat>
#include <cstring>
#include <limits>

namespace res {

namespace {

// Skips whitespace and a '+' (which from_chars does not accept); tells whether
// the number is negative. Returns the first character of the digits.
const char* skipToDigits(const char* p, bool& negative)
{
    while (*p && isspace(static_cast<unsigned char>(*p))) ++p;
    negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    return p;
}

} // namespace

bool readDecimalInt(const char* text, int32_t& value)
{
    value = 0;
    if (!text) return false;
    bool negative;
    const char* p = skipToDigits(text, negative);
    if (!isdigit(static_cast<unsigned char>(*p))) return false;
    int64_t magnitude = 0;
    // Accumulate with a ceiling so that any number of digits cannot overflow.
    constexpr int64_t kCeiling = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > kCeiling) magnitude = kCeiling;
    }
    int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
    value = int32_t(v);
    return true;
}

bool readDecimalFloat(const char* text, float& value)
{
    value = 0.0f;
    if (!text) return false;
    bool negative;
    const char* p = skipToDigits(text, negative);
    // Only digits or a point may start the number: no "inf" or "nan" words.
    if (!isdigit(static_cast<unsigned char>(*p)) && !(*p == '.' && isdigit(static_cast<unsigned char>(p[1]))))
        return false;
    double d = 0.0;
    auto [end, ec] = std::from_chars(p, p + strlen(p), d, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves d alone; tell huge from tiny by the exponent's sign.
        const char* e = p;
        while (e < end && *e != 'e' && *e != 'E') ++e;
        d = (e < end && e[1] == '-') ? 0.0 : double(FLT_MAX);
    } else if (ec != std::errc()) {
        return false;
    }
    if (d > double(FLT_MAX)) d = double(FLT_MAX);
    value = float(negative ? -d : d);
    return true;
}

} // namespace res
