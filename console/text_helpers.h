// Text helpers that the console, the sheets and start-up share: numbers written in
// decimal, and names compared without regard to the case of ASCII letters. They
// stand in the console's library, on the ground floor, since the console's own
// number writing uses them and both floors above may.
#ifndef TAMSEL_CONSOLE_TEXT_HELPERS_H
#define TAMSEL_CONSOLE_TEXT_HELPERS_H

#include <cstddef>
#include <cstdint>

// True when both texts are equal once ASCII letters A-Z are folded to a-z.
bool equal_ignoring_case(const char *first, const char *second);

// Room format_decimal needs: a sign and ten digits.
constexpr std::size_t kDecimalRoom = 11;

// Writes `value` in decimal into `out` (kDecimalRoom bytes) without a NUL and
// returns the number of characters written.
std::size_t format_decimal(std::int32_t value, char *out);

#endif
