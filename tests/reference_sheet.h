// A plain reference for the conversion, written without regard to speed and
// without the tool's scanner or job table: the scan rules, the job names and the
// sheet format with snprintf. The fuzz target checks the fast conversion against
// it, and the end-to-end benchmark checks the reports it times.
#ifndef TAMSEL_TESTS_REFERENCE_SHEET_H
#define TAMSEL_TESTS_REFERENCE_SHEET_H

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

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

#endif
