// A reference sheet written with snprintf and the sheet format, for the fuzz target
// that checks the fast formatter and for the benchmark that measures against it.
#ifndef TAMSEL_TESTS_REFERENCE_SHEET_H
#define TAMSEL_TESTS_REFERENCE_SHEET_H

#include <cstdio>

#include "convert/conversion.h"

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
