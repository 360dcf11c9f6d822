// Text helpers that the console, the sheets and start-up share: numbers written in
// decimal, and names compared without regard to the case of ASCII letters.
#include "console/text_helpers.h"

#include <cstring>

namespace
{

// The number of decimal digits of `value` (1 for 0). The bit length gives the
// count or one more, and a table of powers of ten tells which.
std::size_t decimal_digits(std::uint32_t value)
{
    static const std::uint32_t kPowers[] = {1,      10,      100,      1000,      10000,
                                            100000, 1000000, 10000000, 100000000, 1000000000};
#if defined(__GNUC__)
    unsigned bits = 32 - static_cast<unsigned>(__builtin_clz(value | 1));
    std::size_t estimate = (bits * 1233) >> 12; // bits * log10(2), rounded down
    return estimate + ((value | 1) >= kPowers[estimate] ? 1 : 0);
#else
    std::size_t digits = 1;
    while (digits < 10 && value >= kPowers[digits])
        ++digits;
    return digits;
#endif
}

} // namespace

std::size_t format_decimal(std::int32_t value, char *out)
{
    static const char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                 "25262728293031323334353637383940414243444546474849"
                                 "50515253545556575859606162636465666768697071727374"
                                 "75767778798081828384858687888990919293949596979899";
    // Work in unsigned so that -2147483648 needs no special case.
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    std::size_t length = 0;
    if (value < 0) {
        out[length++] = '-';
        magnitude = 0u - magnitude;
    }
    std::size_t digits = decimal_digits(magnitude);
    // Fill from the last digit backwards, two at a time, straight into `out`; each
    // pair is one two-byte move from the table.
    length += digits;
    char *p = out + length;
    while (magnitude >= 100) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (magnitude % 100), 2);
        magnitude /= 100;
    }
    if (magnitude >= 10)
        std::memcpy(p - 2, kPairs + 2 * magnitude, 2);
    else
        p[-1] = static_cast<char>('0' + magnitude);
    return length;
}

bool equal_ignoring_case(const char *first, const char *second)
{
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    while (*first != '\0' && fold(*first) == fold(*second)) {
        ++first;
        ++second;
    }
    return fold(*first) == fold(*second);
}
