// Character lines: the scan of a line's 22 values into a record, the filters a dump
// applies to the record, and the record's character sheet.
#ifndef TAMSEL_CONVERT_CONVERSION_H
#define TAMSEL_CONVERT_CONVERSION_H

#include <cstddef>
#include <cstdint>

#include "convert/job_names.h"

constexpr std::size_t kNameSize = 32; // name field: 31 characters and a NUL

// The values of one character line plus its job name.
struct CharacterRecord {
    std::int32_t character_id;
    std::int32_t account_id;
    std::int32_t slot;
    char name[kNameSize];
    std::int32_t class_number;
    char job_name[kJobNameSize];
    std::int32_t base_level;
    std::int32_t job_level;
    std::int32_t base_exp;
    std::int32_t job_exp;
    std::int32_t zeny;
    std::int32_t hp;
    std::int32_t max_hp;
    std::int32_t sp;
    std::int32_t max_sp;
    std::int32_t stat_str;
    std::int32_t stat_agi;
    std::int32_t stat_vit;
    std::int32_t stat_int;
    std::int32_t stat_dex;
    std::int32_t stat_luk;
    std::int32_t status_points;
    std::int32_t skill_points;
};

// The test a dump applies; exactly one per dump.
enum class FilterKind : std::int32_t {
    none = 0,       // keeps every character
    account = 2,    // account_id equals the first value
    job = 4,        // class_number equals the first value
    zeny_range = 8, // first < zeny < second, both strict
};

// Scans the first 22 values of `line` into `record` (job_name untouched). A name
// is one word; where that does not give all 22 values, the name is taken again as
// everything up to the next tab, trailing white space dropped (names with spaces).
// Names longer than 31 characters keep their first 31. Values wrap to their low 32
// bits. Returns true only when all 22 values were read: a character line. On false,
// the values read before the scan stopped are in `record` all the same.
bool scan_character_line(const char *line, CharacterRecord *record);

// The shortest line that can hold the 22 values, so that a loader need not scan a
// shorter one: 21 one-digit numbers, 14 commas, a name of one character, the white
// space that ends the name, and a sign or white space between the two numbers that
// meet at each of the 5 other group borders.
constexpr std::size_t kShortestCharacterLine = 42;

// True when the piece `text` of a file, `length` bytes long, is a character line, as
// scan_character_line reads it into `record`; a piece shorter than
// kShortestCharacterLine is not scanned.
bool is_character_line(const char *text, std::size_t length, CharacterRecord *record);

// True when `record` passes the filter `kind` with the values `first`, `second`.
bool passes_filter(const CharacterRecord &record, FilterKind kind, std::int32_t first,
                   std::int32_t second);

// Room in which format_sheet never cuts a sheet and takes its fast path.
constexpr std::size_t kSheetRoom = 1024;

// Formats the character sheet of `record` into `out` (`size` bytes) with a NUL,
// cutting it at size - 1 characters; returns its length. A sheet is under 600 bytes.
// With `size` 0 nothing is written and 0 is returned.
std::size_t format_sheet(const CharacterRecord &record, char *out, std::size_t size);

#endif
