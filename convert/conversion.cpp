// Character lines: a scanner that reads the values of the scan pattern
// "%d\t%d,%d\t%s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d" (at load
// time), the filters, and a formatter that writes the sheet format (at dump time)
//   "--------- %s ---------\nCharacter ID: \t%d\nAccount ID: \t%d\nSlot: \t\t%d\n"
//   "Name: \t\t%s\nJob ID: \t\t%s\nBase Lvl: \t\t%d\nJob Lvl: \t\t%d\nBase Exp: \t\t%d\n"
//   "Job Exp: \t\t%d\nZeny: \t\t%d\nHP: \t\t\t%d/%d\nSP: \t\t\t%d/%d\nSTR: \t\t\t%d\n"
//   "AGI: \t\t\t%d\nVIT: \t\t\t%d\nINT: \t\t\t%d\nDEX: \t\t\t%d\nLUK: \t\t\t%d\n"
//   "Stat Points: \t%d\nSkill Points: \t%d\n\n"
// with printf's meaning, both over fixed buffers without allocation.
#include "convert/conversion.h"

#include <cstring>

namespace
{

using NumberField = std::int32_t CharacterRecord::*;

enum NameMode {
    name_word,   // the name ends at the first white space
    name_to_tab, // the name runs to the next tab or the end of the line
};

// Space, tab, line feed, vertical tab, form feed, carriage return; never 0x80-0xFF.
constexpr bool kSpace[256] = {
    false, false, false, false, false, false, false, false, false, true,  true,
    true,  true,  true,  false, false, false, false, false, false, false, false,
    false, false, false, false, false, false, false, false, false, false, true,
};

bool is_space(unsigned char c)
{
    return kSpace[c];
}

// A word ends at white space or at the line's NUL: one lookup for both.
constexpr bool kEndsWord[256] = {
    true,  false, false, false, false, false, false, false, false, true,  true,
    true,  true,  true,  false, false, false, false, false, false, false, false,
    false, false, false, false, false, false, false, false, false, false, true,
};

bool ends_word(unsigned char c)
{
    return kEndsWord[c];
}

const unsigned char *skip_space(const unsigned char *p)
{
    while (is_space(*p))
        ++p;
    return p;
}

// Reads a name into `name` (kNameSize bytes); nullptr at the end of the line.
// A name longer than the field is cut there; the scan goes on after the whole name.
// The name's end is found first and the kept part copied in one move.
const unsigned char *scan_name(const unsigned char *p, char *name, NameMode mode)
{
    p = skip_space(p);
    if (*p == '\0')
        return nullptr;
    const unsigned char *start = p;
    const unsigned char *kept_end;
    if (mode == name_word) {
        while (!ends_word(*p))
            ++p;
        kept_end = p;
    } else {
        // Runs to the tab; white space at its end is dropped. The first character
        // is no white space, so the walk back stops at it.
        p += std::strcspn(reinterpret_cast<const char *>(p), "\t");
        kept_end = p;
        while (is_space(kept_end[-1]))
            --kept_end;
    }
    std::size_t length = static_cast<std::size_t>(kept_end - start);
    if (length > kNameSize - 1)
        length = kNameSize - 1;
    std::memcpy(name, start, length);
    name[length] = '\0';
    return p;
}

// The values of the scan pattern in order: the first of each group after white
// space (the pattern's tab), the others right after a comma. The name stands
// between the first kValuesBeforeName values and the rest.
struct ScanValue {
    NumberField field;
    bool after_comma;
};
constexpr std::size_t kValuesBeforeName = 3;
constexpr ScanValue kScanValues[] = {
    {&CharacterRecord::character_id, false},
    {&CharacterRecord::account_id, false},
    {&CharacterRecord::slot, true},
    {&CharacterRecord::class_number, false},
    {&CharacterRecord::base_level, true},
    {&CharacterRecord::job_level, true},
    {&CharacterRecord::base_exp, false},
    {&CharacterRecord::job_exp, true},
    {&CharacterRecord::zeny, true},
    {&CharacterRecord::hp, false},
    {&CharacterRecord::max_hp, true},
    {&CharacterRecord::sp, true},
    {&CharacterRecord::max_sp, true},
    {&CharacterRecord::stat_str, false},
    {&CharacterRecord::stat_agi, true},
    {&CharacterRecord::stat_vit, true},
    {&CharacterRecord::stat_int, true},
    {&CharacterRecord::stat_dex, true},
    {&CharacterRecord::stat_luk, true},
    {&CharacterRecord::status_points, false},
    {&CharacterRecord::skill_points, true},
};
constexpr std::size_t kScanValueCount = sizeof kScanValues / sizeof kScanValues[0];

// Reads values `first` to `last` - 1 of kScanValues from `p`, storing each as it is
// read; nullptr at the first that does not match or at the end of the line. Each is
// a decimal value with an optional sign after white space; overlong values keep
// their low 32 bits, as two's complement. Reads nothing of the line past the
// character after the last value: a byte is read only once the byte before it is
// known to be no NUL.
const unsigned char *scan_values(const unsigned char *p, CharacterRecord *r, std::size_t first,
                                 std::size_t last)
{
    for (std::size_t i = first; i < last; ++i) {
        if (kScanValues[i].after_comma) {
            if (*p != ',')
                return nullptr; // no white space may stand before the comma
            ++p;
        } else if (*p == '\t') {
            ++p; // a save file's one tab; other white space takes the longer way below
        }
        std::uint32_t value = *p - static_cast<unsigned>('0');
        bool negative = false;
        if (value > 9) {
            // White space or a sign first: rare in a save file, so kept off the
            // path of the plain digit.
            p = skip_space(p);
            negative = *p == '-';
            if (negative || *p == '+')
                ++p;
            value = *p - static_cast<unsigned>('0');
            if (value > 9)
                return nullptr;
        }
        // Two digits a step halves the steps, whose ends are the branches that
        // are hard to predict.
        for (;;) {
            const std::uint32_t second = p[1] - static_cast<unsigned>('0');
            if (second > 9) {
                p += 1;
                break;
            }
            const std::uint32_t third = p[2] - static_cast<unsigned>('0');
            if (third > 9) {
                value = value * 10u + second;
                p += 2;
                break;
            }
            value = value * 100u + second * 10u + third;
            p += 2;
        }
        r->*kScanValues[i].field = static_cast<std::int32_t>(negative ? 0u - value : value);
    }
    return p;
}

// The sheet's literal pieces: their sizes are known when compiling, so each copy
// is a few stores instead of a walk over the format.
template <std::size_t N>
char *put_literal(char *p, const char (&text)[N])
{
    std::memcpy(p, text, N - 1);
    return p + (N - 1);
}

// The groups of three digits, "000" to "999", four bytes each: the digits, then how
// many of them a number's first group shows, its leading zeros left out.
struct DigitGroups {
    char group[1000][4];
};

constexpr DigitGroups make_digit_groups()
{
    DigitGroups table = {};
    for (int n = 0; n < 1000; ++n) {
        table.group[n][0] = static_cast<char>('0' + n / 100);
        table.group[n][1] = static_cast<char>('0' + n / 10 % 10);
        table.group[n][2] = static_cast<char>('0' + n % 10);
        table.group[n][3] = static_cast<char>(n < 10 ? 1 : n < 100 ? 2 : 3);
    }
    return table;
}

constexpr DigitGroups kDigitGroups = make_digit_groups();

// Each group is one four-byte move; what it writes past the digits, the next piece
// of the sheet writes over. The first group's move starts inside its own four bytes
// and stays inside the table: a group with leading zeros is below 100, never the last.
char *put_first_group(char *p, std::uint32_t group)
{
    const char *digits = kDigitGroups.group[group];
    std::size_t shown = static_cast<std::size_t>(digits[3]);
    std::memcpy(p, digits + 3 - shown, 4);
    return p + shown;
}

char *put_group(char *p, std::uint32_t group)
{
    std::memcpy(p, kDigitGroups.group[group], 4);
    return p + 3;
}

// Writes `value` in decimal, a group of three digits at a time.
char *put_number(char *p, std::int32_t value)
{
    // Unsigned, so that -2147483648 needs no case of its own.
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    if (magnitude < 1000)
        return put_first_group(p, magnitude);
    if (magnitude < 1000000)
        return put_group(put_first_group(p, magnitude / 1000), magnitude % 1000);
    if (magnitude < 1000000000) {
        p = put_first_group(p, magnitude / 1000000);
        p = put_group(p, magnitude / 1000 % 1000);
        return put_group(p, magnitude % 1000);
    }
    p = put_first_group(p, magnitude / 1000000000);
    p = put_group(p, magnitude / 1000000 % 1000);
    p = put_group(p, magnitude / 1000 % 1000);
    return put_group(p, magnitude % 1000);
}

// A name or job name: the whole field in one fixed-size move (its text ends with a
// NUL within it), then on by the text's length.
char *put_field(char *p, const char (&field)[kNameSize])
{
    std::memcpy(p, field, kNameSize);
    return p + std::strlen(field);
}
static_assert(kJobNameSize == kNameSize, "the sheet's texts share one field size");

// kSheetRoom lets the formatter skip its bounds: a sheet is under 600 bytes, and a
// field's fixed-size move writes at most kNameSize bytes past its text.
static_assert(kSheetRoom >= 600 + kNameSize, "room for a sheet and one fixed-size move");

// Writes the sheet format above; `out` holds at least kSheetRoom bytes.
std::size_t format_sheet_unchecked(const CharacterRecord &r, char *out)
{
    char *p = out;
    p = put_literal(p, "--------- ");
    p = put_field(p, r.name);
    p = put_literal(p, " ---------\nCharacter ID: \t");
    p = put_number(p, r.character_id);
    p = put_literal(p, "\nAccount ID: \t");
    p = put_number(p, r.account_id);
    p = put_literal(p, "\nSlot: \t\t");
    p = put_number(p, r.slot);
    p = put_literal(p, "\nName: \t\t");
    p = put_field(p, r.name);
    p = put_literal(p, "\nJob ID: \t\t");
    p = put_field(p, r.job_name);
    p = put_literal(p, "\nBase Lvl: \t\t");
    p = put_number(p, r.base_level);
    p = put_literal(p, "\nJob Lvl: \t\t");
    p = put_number(p, r.job_level);
    p = put_literal(p, "\nBase Exp: \t\t");
    p = put_number(p, r.base_exp);
    p = put_literal(p, "\nJob Exp: \t\t");
    p = put_number(p, r.job_exp);
    p = put_literal(p, "\nZeny: \t\t");
    p = put_number(p, r.zeny);
    p = put_literal(p, "\nHP: \t\t\t");
    p = put_number(p, r.hp);
    p = put_literal(p, "/");
    p = put_number(p, r.max_hp);
    p = put_literal(p, "\nSP: \t\t\t");
    p = put_number(p, r.sp);
    p = put_literal(p, "/");
    p = put_number(p, r.max_sp);
    p = put_literal(p, "\nSTR: \t\t\t");
    p = put_number(p, r.stat_str);
    p = put_literal(p, "\nAGI: \t\t\t");
    p = put_number(p, r.stat_agi);
    p = put_literal(p, "\nVIT: \t\t\t");
    p = put_number(p, r.stat_vit);
    p = put_literal(p, "\nINT: \t\t\t");
    p = put_number(p, r.stat_int);
    p = put_literal(p, "\nDEX: \t\t\t");
    p = put_number(p, r.stat_dex);
    p = put_literal(p, "\nLUK: \t\t\t");
    p = put_number(p, r.stat_luk);
    p = put_literal(p, "\nStat Points: \t");
    p = put_number(p, r.status_points);
    p = put_literal(p, "\nSkill Points: \t");
    p = put_number(p, r.skill_points);
    p = put_literal(p, "\n\n");
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

} // namespace

bool scan_character_line(const char *line, CharacterRecord *record)
{
    // "%d\t%d,%d\t": the character ID, then the account ID and slot.
    const unsigned char *p = reinterpret_cast<const unsigned char *>(line);
    p = scan_values(p, record, 0, kValuesBeforeName);
    if (p == nullptr)
        return false;
    // "%s", a name of one word; when the rest does not follow it, the name is taken
    // again up to the next tab (names with spaces). The values before it read the
    // same either way.
    const unsigned char *after = scan_name(p, record->name, name_word);
    if (after == nullptr)
        return false;
    if (scan_values(after, record, kValuesBeforeName, kScanValueCount) != nullptr)
        return true;
    after = scan_name(p, record->name, name_to_tab);
    return after != nullptr &&
           scan_values(after, record, kValuesBeforeName, kScanValueCount) != nullptr;
}

bool passes_filter(const CharacterRecord &record, FilterKind kind, std::int32_t first,
                   std::int32_t second)
{
    switch (kind) {
    case FilterKind::none:
        return true;
    case FilterKind::account:
        return record.account_id == first;
    case FilterKind::job:
        return record.class_number == first;
    case FilterKind::zeny_range:
        return first < record.zeny && record.zeny < second;
    }
    return false;
}

std::size_t format_sheet(const CharacterRecord &r, char *out, std::size_t size)
{
    if (size == 0)
        return 0; // no room even for the NUL
    if (size >= kSheetRoom)
        return format_sheet_unchecked(r, out);
    // A small buffer gets the sheet's first size - 1 characters.
    char sheet[kSheetRoom];
    std::size_t length = format_sheet_unchecked(r, sheet);
    if (length > size - 1)
        length = size - 1;
    std::memcpy(out, sheet, length);
    out[length] = '\0';
    return length;
}

bool is_character_line(const char *text, std::size_t length, CharacterRecord *record)
{
    return length >= kShortestCharacterLine && scan_character_line(text, record);
}
