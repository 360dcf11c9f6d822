// The few operations whose working differs between the systems the tool runs on.
#ifndef TAMSEL_CONVERT_PLATFORM_H
#define TAMSEL_CONVERT_PLATFORM_H

// True when both names lead to one existing file, however spelled or linked.
// False when either does not exist or cannot be examined.
bool same_file(const char *first, const char *second);

#endif
