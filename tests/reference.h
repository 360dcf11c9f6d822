// A plain reference for the load and the sheets, written without regard to speed
// and without the tool's reader, scanner or job table: a line reader, the scan
// rules, the job names and the sheet format with snprintf. The loader's tests
// and the fuzz target check the tool against it, and the end-to-end benchmark
// checks the reports it times.
#ifndef TAMSEL_TESTS_REFERENCE_H
#define TAMSEL_TESTS_REFERENCE_H

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert/conversion.h"

// A plain reference for the scan rules, written without regard to speed: the
// pattern's values in order, a name as one word or else up to the next tab.
inline bool reference_space(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool reference_scan(const char *line, CharacterRecord &r, bool name_to_tab)
{
    std::int32_t *numbers[] = {&r.character_id, &r.account_id, &r.slot,     &r.class_number,
                               &r.base_level,   &r.job_level,  &r.base_exp, &r.job_exp,
                               &r.zeny,         &r.hp,         &r.max_hp,   &r.sp,
                               &r.max_sp,       &r.stat_str,   &r.stat_agi, &r.stat_vit,
                               &r.stat_int,     &r.stat_dex,   &r.stat_luk, &r.status_points,
                               &r.skill_points};
    const char *pattern = "d\td,d\ts\td,d,d\td,d,d\td,d,d,d\td,d,d,d,d,d\td,d";
    const unsigned char *p = reinterpret_cast<const unsigned char *>(line);
    int next = 0;
    for (const char *f = pattern; *f; ++f) {
        if (*f == '\t') {
            while (reference_space(*p))
                ++p;
        } else if (*f == ',') {
            if (*p != ',')
                return false;
            ++p;
        } else if (*f == 'd') {
            while (reference_space(*p))
                ++p;
            bool negative = *p == '-';
            if (*p == '-' || *p == '+')
                ++p;
            if (!std::isdigit(*p))
                return false;
            std::uint64_t value = 0;
            while (std::isdigit(*p))
                value = (value * 10 + (*p++ - '0')) & 0xffffffffu;
            if (negative)
                value = (0x100000000u - value) & 0xffffffffu;
            *numbers[next++] = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        } else {
            while (reference_space(*p))
                ++p;
            if (*p == '\0')
                return false;
            std::string name;
            if (name_to_tab) {
                while (*p && *p != '\t')
                    name += static_cast<char>(*p++);
                while (!name.empty() && reference_space(static_cast<unsigned char>(name.back())))
                    name.pop_back();
            } else {
                while (*p && !reference_space(*p))
                    name += static_cast<char>(*p++);
            }
            name = name.substr(0, kNameSize - 1);
            std::strcpy(r.name, name.c_str());
        }
    }
    return true;
}

// A character line as the tool reads it: the name as one word, or else up to the
// next tab (names with spaces).
inline bool reference_character(const char *line, CharacterRecord &r)
{
    return reference_scan(line, r, false) || reference_scan(line, r, true);
}

// The job names by class number; a number without one names itself.
inline void reference_job_name(std::int32_t class_number, char *out)
{
    static const char *const kNames[] = {
        "Novice",         "Swordsman",      "Mage",        "Archer",       "Acolyte",
        "Merchant",       "Thief",          "Knight",      "Priest",       "Wizard",
        "Blacksmith",     "Hunter",         "Assassin",    "Knight 2",     "Crusader",
        "Monk",           "Sage",           "Rogue",       "Alchemist",    "Bard",
        "Dancer",         "Crusader 2",     "Wedding",     "Super Novice", "Novice High",
        "Swordsman High", "Mage High",      "Archer High", "Acolyte High", "Merchant High",
        "Thief High",     "Lord Knight",    "High Priest", "High Wizard",  "Whitesmith",
        "Sniper",         "Assassin Cross", "Peko Knight", "Paladin",      "Champion",
        "Proffesor",      "Stalker",        "Creator",     "Clown",        "Gypsy",
        "Peko Paladin",   "Baby Novice"};
    if (class_number >= 0 && class_number <= 23)
        std::snprintf(out, kJobNameSize, "%s", kNames[class_number]);
    else if (class_number >= 4001 && class_number <= 4023)
        std::snprintf(out, kJobNameSize, "%s", kNames[24 + class_number - 4001]);
    else
        std::snprintf(out, kJobNameSize, "Unknown (%d)", class_number);
}

inline int reference_sheet(const CharacterRecord &r, char *out, std::size_t size)
{
    return std::snprintf(out, size,
                         "--------- %s ---------\nCharacter ID: \t%d\nAccount ID: \t%d\nSlot: "
                         "\t\t%d\nName: \t\t%s\nJob ID: \t\t%s\nBase Lvl: \t\t%d\nJob Lvl: "
                         "\t\t%d\nBase Exp: \t\t%d\nJob Exp: \t\t%d\nZeny: \t\t%d\nHP: "
                         "\t\t\t%d/%d\nSP: \t\t\t%d/%d\nSTR: \t\t\t%d\nAGI: \t\t\t%d\nVIT: "
                         "\t\t\t%d\nINT: \t\t\t%d\nDEX: \t\t\t%d\nLUK: \t\t\t%d\nStat Points: "
                         "\t%d\nSkill Points: \t%d\n\n",
                         r.name, r.character_id, r.account_id, r.slot, r.name, r.job_name,
                         r.base_level, r.job_level, r.base_exp, r.job_exp, r.zeny, r.hp, r.max_hp,
                         r.sp, r.max_sp, r.stat_str, r.stat_agi, r.stat_vit, r.stat_int, r.stat_dex,
                         r.stat_luk, r.status_points, r.skill_points);
}

// True when `a` and `b` hold the same values and name, whatever their job names. The
// name's whole field is compared, the bytes after its NUL too: a record read from a
// line holds nothing of an earlier line.
inline bool same_values(const CharacterRecord &a, const CharacterRecord &b)
{
    return a.character_id == b.character_id && a.account_id == b.account_id && a.slot == b.slot &&
           std::memcmp(a.name, b.name, kNameSize) == 0 && a.class_number == b.class_number &&
           a.base_level == b.base_level && a.job_level == b.job_level && a.base_exp == b.base_exp &&
           a.job_exp == b.job_exp && a.zeny == b.zeny && a.hp == b.hp && a.max_hp == b.max_hp &&
           a.sp == b.sp && a.max_sp == b.max_sp && a.stat_str == b.stat_str &&
           a.stat_agi == b.stat_agi && a.stat_vit == b.stat_vit && a.stat_int == b.stat_int &&
           a.stat_dex == b.stat_dex && a.stat_luk == b.stat_luk &&
           a.status_points == b.status_points && a.skill_points == b.skill_points;
}

// The plain line reader: reads the next line of `file` into `line`, at most
// kReferenceLineLimit characters up to a line feed, which is consumed; false at the
// end of the file. `cut` says that the line ended at the limit, without its feed.
constexpr std::size_t kReferenceLineLimit = 6143;

inline bool reference_read_line(std::FILE *file, std::string &line, bool &cut)
{
    line.clear();
    cut = false;
    int c = 0;
    while (line.size() < kReferenceLineLimit && (c = std::getc(file)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (line.size() == kReferenceLineLimit) {
        cut = true;
        return true;
    }
    return c == '\n' || !line.empty();
}

// What a load of a save file keeps and says.
struct ReferenceLoad {
    std::vector<CharacterRecord> characters; // in file order, job names looked up
    long long skipped = 0;                   // lines of the file that give no sheet
    std::string numbers; // the first ten of them, and "and N more", as the load says
};

// Reads `file`, opened in text mode, to its end as the tool's load does: the pieces
// of a cut line, even the empty one after exactly kReferenceLineLimit characters,
// belong to the line of the file where they start, which is skipped when none of
// them is a character line. A line's text ends at a NUL.
inline ReferenceLoad reference_load(std::FILE *file)
{
    ReferenceLoad load;
    long long file_lines = 0;
    bool continued = false, gives_sheet = true, cut = false;
    // A line of the file is known to be skipped once the next one starts or the
    // file ends.
    auto end_file_line = [&]() {
        if (gives_sheet)
            return;
        if (++load.skipped <= 10)
            load.numbers += (load.skipped > 1 ? ", " : "") + std::to_string(file_lines);
    };
    std::string line;
    while (reference_read_line(file, line, cut)) {
        if (!continued) {
            end_file_line();
            ++file_lines;
            gives_sheet = false;
        }
        continued = cut;
        CharacterRecord r = {};
        if (!reference_character(line.c_str(), r))
            continue;
        gives_sheet = true;
        reference_job_name(r.class_number, r.job_name);
        load.characters.push_back(r);
    }
    end_file_line();
    if (load.skipped > 10)
        load.numbers += " and " + std::to_string(load.skipped - 10) + " more";
    return load;
}

// The messages of a load of `path` that kept `characters` and skipped the lines
// named by `numbers`.
inline std::string reference_messages(const std::string &path, long long characters,
                                      long long skipped, const std::string &numbers)
{
    std::string said =
        "Successfully read " + std::to_string(characters) + " character(s) from \"" + path + "\"\n";
    if (skipped > 0)
        said += "Skipped " + std::to_string(skipped) +
                " line(s) that are not character lines: " + numbers + "\n";
    return said;
}

#endif
