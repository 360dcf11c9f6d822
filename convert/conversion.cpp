// Character line conversion: a scanner that reads the values of the scan pattern
// "%d\t%d,%d\t%s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d" and a
// formatter that walks the sheet format, both over fixed buffers without allocation.
#include "convert/conversion.h"

#include <cstring>

#include "console/console.h"

const char kFilterSentinel[] = "ERROR";

namespace
{

const char kSheetFormat[] =
    "--------- %s ---------\nCharacter ID: \t%d\nAccount ID: \t%d\nSlot: \t\t%d\n"
    "Name: \t\t%s\nJob ID: \t\t%s\nBase Lvl: \t\t%d\nJob Lvl: \t\t%d\nBase Exp: \t\t%d\n"
    "Job Exp: \t\t%d\nZeny: \t\t%d\nHP: \t\t\t%d/%d\nSP: \t\t\t%d/%d\nSTR: \t\t\t%d\n"
    "AGI: \t\t\t%d\nVIT: \t\t\t%d\nINT: \t\t\t%d\nDEX: \t\t\t%d\nLUK: \t\t\t%d\n"
    "Stat Points: \t%d\nSkill Points: \t%d\n\n";

using NumberField = std::int32_t CharacterRecord::*;
using TextField = char (CharacterRecord::*)[kNameSize];

// The record's numbers and texts in the order the sheet format shows them.
constexpr NumberField kSheetNumbers[] = {
    &CharacterRecord::character_id,  &CharacterRecord::account_id,   &CharacterRecord::slot,
    &CharacterRecord::base_level,    &CharacterRecord::job_level,    &CharacterRecord::base_exp,
    &CharacterRecord::job_exp,       &CharacterRecord::zeny,         &CharacterRecord::hp,
    &CharacterRecord::max_hp,        &CharacterRecord::sp,           &CharacterRecord::max_sp,
    &CharacterRecord::stat_str,      &CharacterRecord::stat_agi,     &CharacterRecord::stat_vit,
    &CharacterRecord::stat_int,      &CharacterRecord::stat_dex,     &CharacterRecord::stat_luk,
    &CharacterRecord::status_points, &CharacterRecord::skill_points,
};
static_assert(kJobNameSize == kNameSize, "the sheet's texts share one field size");
constexpr TextField kSheetTexts[] = {&CharacterRecord::name, &CharacterRecord::name,
                                     &CharacterRecord::job_name};

CharacterRecord g_record;

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

const unsigned char *skip_space(const unsigned char *p)
{
    while (is_space(*p))
        ++p;
    return p;
}

// Reads a decimal value with an optional sign; nullptr when no digit follows.
// Overlong values keep their low 32 bits, as two's complement.
const unsigned char *scan_int(const unsigned char *p, std::int32_t *target)
{
    p = skip_space(p);
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    unsigned digit = *p - static_cast<unsigned>('0');
    if (digit > 9)
        return nullptr;
    std::uint32_t value = 0;
    do {
        value = value * 10u + digit;
        digit = *++p - static_cast<unsigned>('0');
    } while (digit <= 9);
    if (negative)
        value = 0u - value;
    *target = static_cast<std::int32_t>(value);
    return p;
}

// Reads a name into `name` (kNameSize bytes); nullptr at the end of the line.
// A name longer than the field is cut there; the scan goes on after the whole name.
const unsigned char *scan_name(const unsigned char *p, char *name, NameMode mode)
{
    p = skip_space(p);
    if (*p == '\0')
        return nullptr;
    std::size_t length = 0;
    if (mode == name_word) {
        for (; *p != '\0' && !is_space(*p); ++p)
            if (length < kNameSize - 1)
                name[length++] = static_cast<char>(*p);
    } else {
        // Runs to the tab; white space at its end is dropped, so the stored length
        // only grows up to the last character that is not white space.
        std::size_t kept = 0;
        std::size_t seen = 0;
        for (; *p != '\0' && *p != '\t'; ++p) {
            ++seen;
            if (length < kNameSize - 1)
                name[length++] = static_cast<char>(*p);
            if (!is_space(*p))
                kept = seen < kNameSize - 1 ? seen : kNameSize - 1;
        }
        length = kept;
    }
    name[length] = '\0';
    return p;
}

// One value of a group past its first: a comma must stand right here (no white
// space is skipped before it), then the number.
const unsigned char *scan_after_comma(const unsigned char *p, std::int32_t *target)
{
    return *p == ',' ? scan_int(p + 1, target) : nullptr;
}

// The values after the name, in the order the scan pattern reads them: each
// group's first value after white space (the pattern's tab), the others after a
// comma.
struct ScanValue {
    NumberField field;
    bool after_comma;
};
constexpr ScanValue kValuesAfterName[] = {
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

// Reads the values after the name from `p`, storing each as it is read; false at
// the first that does not match or at the end of the line. Reads nothing of the
// line past the character after the last value.
bool scan_after_name(const unsigned char *p, CharacterRecord *r)
{
    for (const ScanValue &value : kValuesAfterName) {
        std::int32_t *target = &(r->*value.field);
        p = value.after_comma ? scan_after_comma(p, target) : scan_int(p, target);
        if (p == nullptr)
            return false;
    }
    return true;
}

// The sheet format, walked once: each piece is a run of literal text followed by
// the field that comes after it (the last piece has none). Each run is kept in a
// slot of kPieceSlot bytes so that it can be copied with one fixed-size move.
constexpr std::size_t kPieceSlot = 32;
constexpr std::size_t kSheetPieces = 24; // 23 fields and the closing text

struct SheetPiece {
    char text[kPieceSlot];
    std::size_t length;
    char field; // 'd', 's', or '\0' after the last run
};

struct SheetPlan {
    SheetPiece pieces[kSheetPieces];
    std::size_t count;
};

SheetPlan plan_sheet()
{
    SheetPlan plan = {};
    const char *f = kSheetFormat;
    for (;;) {
        const char *mark = std::strchr(f, '%');
        SheetPiece &piece = plan.pieces[plan.count++];
        piece.length = mark != nullptr ? static_cast<std::size_t>(mark - f) : std::strlen(f);
        std::memcpy(piece.text, f, piece.length); // every run is under kPieceSlot
        if (mark == nullptr)
            return plan;
        piece.field = mark[1];
        f = mark + 2;
    }
}

const SheetPlan kSheetPlan = plan_sheet();

// kSheetRoom lets the formatter skip its bounds: a sheet is under 600 bytes, and
// the fixed-size moves write at most kPieceSlot bytes past its end.
static_assert(kSheetRoom >= 600 + kPieceSlot, "room for a sheet and one fixed-size move");

// Writes the sheet with fixed-size moves; `out` holds at least kSheetRoom bytes.
std::size_t format_sheet_unchecked(const CharacterRecord &r, char *out)
{
    const NumberField *next_number = kSheetNumbers;
    const TextField *next_text = kSheetTexts;
    char *p = out;
    for (std::size_t i = 0; i < kSheetPlan.count; ++i) {
        const SheetPiece &piece = kSheetPlan.pieces[i];
        std::memcpy(p, piece.text, kPieceSlot);
        p += piece.length;
        if (piece.field == 's') {
            const char *text = r.**next_text++;
            std::memcpy(p, text, kNameSize); // the whole field: NUL-terminated within it
            p += std::strlen(text);
        } else if (piece.field == 'd') {
            p += format_decimal(r.**next_number++, p);
        }
    }
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

std::size_t append(char *out, std::size_t length, std::size_t size, const char *text,
                   std::size_t count)
{
    if (count > size - 1 - length)
        count = size - 1 - length;
    std::memcpy(out + length, text, count);
    return length + count;
}

} // namespace

bool scan_character_line(const char *line, CharacterRecord *record)
{
    // "%d\t%d,%d\t": the character ID, then the account ID and slot.
    const unsigned char *p = reinterpret_cast<const unsigned char *>(line);
    p = scan_int(p, &record->character_id);
    p = p != nullptr ? scan_int(p, &record->account_id) : nullptr;
    p = p != nullptr ? scan_after_comma(p, &record->slot) : nullptr;
    if (p == nullptr)
        return false;
    // "%s", a name of one word; when the rest does not follow it, the name is taken
    // again up to the next tab (names with spaces). The values before it read the
    // same either way.
    const unsigned char *after = scan_name(p, record->name, name_word);
    if (after == nullptr)
        return false;
    if (scan_after_name(after, record))
        return true;
    after = scan_name(p, record->name, name_to_tab);
    return after != nullptr && scan_after_name(after, record);
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
    const NumberField *next_number = kSheetNumbers;
    const TextField *next_text = kSheetTexts;
    std::size_t length = 0;
    for (std::size_t i = 0; i < kSheetPlan.count; ++i) {
        const SheetPiece &piece = kSheetPlan.pieces[i];
        length = append(out, length, size, piece.text, piece.length);
        if (piece.field == 's') {
            const char *text = r.**next_text++;
            length = append(out, length, size, text, std::strlen(text));
        } else if (piece.field == 'd') {
            char digits[kDecimalRoom];
            length = append(out, length, size, digits, format_decimal(r.**next_number++, digits));
        }
    }
    out[length] = '\0';
    return length;
}

const char *convert_line(char *buffer, FilterKind kind, std::int32_t first, std::int32_t second)
{
    if (!scan_character_line(buffer, &g_record))
        return kFilterSentinel;
    job_name_for(g_record.class_number, g_record.job_name);
    // The scan is over and the name copied out: the sheet may replace the line.
    format_sheet(g_record, buffer, kLineBufferSize);
    return passes_filter(g_record, kind, first, second) ? buffer : kFilterSentinel;
}

const CharacterRecord &character_record()
{
    return g_record;
}
