// Character line conversion: a scanner that walks the scan pattern and a formatter
// that walks the sheet format, both over fixed buffers and without allocation.
#include "convert/conversion.h"

#include <cstring>

#include "app/console.h"

const char kFilterSentinel[] = "ERROR";

namespace {

const char kScanPattern[] =
    "%d\t%d,%d\t%s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d";

const char kSheetFormat[] =
    "--------- %s ---------\nCharacter ID: \t%d\nAccount ID: \t%d\nSlot: \t\t%d\n"
    "Name: \t\t%s\nJob ID: \t\t%s\nBase Lvl: \t\t%d\nJob Lvl: \t\t%d\nBase Exp: \t\t%d\n"
    "Job Exp: \t\t%d\nZeny: \t\t%d\nHP: \t\t\t%d/%d\nSP: \t\t\t%d/%d\nSTR: \t\t\t%d\n"
    "AGI: \t\t\t%d\nVIT: \t\t\t%d\nINT: \t\t\t%d\nDEX: \t\t\t%d\nLUK: \t\t\t%d\n"
    "Stat Points: \t%d\nSkill Points: \t%d\n\n";

CharacterRecord g_record;

enum NameMode {
    name_word,   // the name ends at the first white space
    name_to_tab, // the name runs to the next tab or the end of the line
};

bool is_space(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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
    if (*p < '0' || *p > '9')
        return nullptr;
    std::uint32_t value = 0;
    while (*p >= '0' && *p <= '9')
        value = value * 10u + static_cast<std::uint32_t>(*p++ - '0');
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
    const unsigned char *end = p;
    const unsigned char *next = nullptr;
    if (mode == name_word) {
        while (*end != '\0' && !is_space(*end))
            ++end;
        next = end;
    } else {
        while (*end != '\0' && *end != '\t')
            ++end;
        next = end;
        while (end > p && is_space(end[-1]))
            --end;
    }
    std::size_t length = static_cast<std::size_t>(end - p);
    if (length > kNameSize - 1)
        length = kNameSize - 1;
    std::memcpy(name, p, length);
    name[length] = '\0';
    return next;
}

// Walks kScanPattern over `line`, storing each value as it is read; returns how
// many were read before the first mismatch or the end of the line.
int scan_pattern(const char *line, CharacterRecord *r, NameMode mode)
{
    std::int32_t *const numbers[] = {
        &r->character_id, &r->account_id, &r->slot,     &r->class_number, &r->base_level,
        &r->job_level,    &r->base_exp,   &r->job_exp,  &r->zeny,         &r->hp,
        &r->max_hp,       &r->sp,         &r->max_sp,   &r->stat_str,     &r->stat_agi,
        &r->stat_vit,     &r->stat_int,   &r->stat_dex, &r->stat_luk,     &r->status_points,
        &r->skill_points,
    };
    const unsigned char *p = reinterpret_cast<const unsigned char *>(line);
    int stored = 0;
    std::size_t next_number = 0;
    for (const char *f = kScanPattern; *f != '\0';) {
        if (f[0] == '%') {
            p = f[1] == 's' ? scan_name(p, r->name, mode) : scan_int(p, numbers[next_number++]);
            if (p == nullptr)
                return stored;
            ++stored;
            f += 2;
        } else if (is_space(static_cast<unsigned char>(*f))) {
            // White space in the pattern matches any run of it, including none.
            p = skip_space(p);
            ++f;
        } else {
            // A comma must stand right here: no white space is skipped before it.
            if (*p != static_cast<unsigned char>(*f))
                return stored;
            ++p;
            ++f;
        }
    }
    return stored;
}

constexpr int kValuesBeforeName = 3;

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
    int stored = scan_pattern(line, record, name_word);
    if (stored == kCharacterValueCount)
        return true;
    // Only a line that got as far as its name can be one whose name has spaces.
    if (stored <= kValuesBeforeName)
        return false;
    return scan_pattern(line, record, name_to_tab) == kCharacterValueCount;
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
    const std::int32_t numbers[] = {
        r.character_id, r.account_id, r.slot,     r.base_level, r.job_level,
        r.base_exp,     r.job_exp,    r.zeny,     r.hp,         r.max_hp,
        r.sp,           r.max_sp,     r.stat_str, r.stat_agi,   r.stat_vit,
        r.stat_int,     r.stat_dex,   r.stat_luk, r.status_points, r.skill_points,
    };
    const char *const texts[] = {r.name, r.name, r.job_name};
    std::size_t next_number = 0;
    std::size_t next_text = 0;
    std::size_t length = 0;
    const char *f = kSheetFormat;
    for (;;) {
        const char *mark = std::strchr(f, '%');
        if (mark == nullptr) {
            length = append(out, length, size, f, std::strlen(f));
            break;
        }
        length = append(out, length, size, f, static_cast<std::size_t>(mark - f));
        if (mark[1] == 's') {
            const char *text = texts[next_text++];
            length = append(out, length, size, text, std::strlen(text));
        } else {
            char digits[12];
            length = append(out, length, size, digits,
                            format_decimal(numbers[next_number++], digits));
        }
        f = mark + 2;
    }
    out[length] = '\0';
    return length;
}

const char *convert_line(char *buffer, FilterKind kind, std::int32_t first, std::int32_t second)
{
    if (!scan_character_line(buffer, &g_record))
        return kFilterSentinel;
    job_name_for(g_record.class_number, g_record.job_name);
    // The scan is complete and the name copied out, so the sheet may replace the line.
    format_sheet(g_record, buffer, kLineBufferSize);
    return passes_filter(g_record, kind, first, second) ? buffer : kFilterSentinel;
}

const CharacterRecord &character_record()
{
    return g_record;
}
