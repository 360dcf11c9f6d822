// The fixed table from class numbers to job names.
#ifndef TAMSEL_CONVERT_JOB_NAMES_H
#define TAMSEL_CONVERT_JOB_NAMES_H

#include <cstdint>

constexpr int kJobNameSize = 32; // the record's job_name field, NUL included

// Copies the job name of `class_number` into `destination` (kJobNameSize bytes).
// A number with no row (24 to 4000, above 4023, negative) gives "Unknown (N)", so
// a sheet never shows the job of an earlier character.
void job_name_for(std::int32_t class_number, char *destination);

#endif
