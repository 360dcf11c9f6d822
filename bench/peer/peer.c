/* The straightforward program an administrator would write for the same job, kept
 * only as the end-to-end peer of the benchmarks: fgets into a static table, sscanf
 * with the scan pattern, sprintf of the sheet, fputs. Full dumps only. */
#include <stdio.h>
#include <string.h>
#include <strings.h>

#define LINES 10240
#define SLOT 10240

static char table[LINES][SLOT];
static int line_count;

static struct {
    int character_id, account_id, slot;
    char name[32];
    int class_number;
    char job_name[32];
    int base_level, job_level, base_exp, job_exp, zeny, hp, max_hp, sp, max_sp;
    int str, agi, vit, int_, dex, luk, status_points, skill_points;
} rec;

static const char *jobs[] = {
    "Novice", "Swordsman", "Mage", "Archer", "Acolyte", "Merchant", "Thief", "Knight",
    "Priest", "Wizard", "Blacksmith", "Hunter", "Assassin", "Knight 2", "Crusader", "Monk",
    "Sage", "Rogue", "Alchemist", "Bard", "Dancer", "Crusader 2", "Wedding", "Super Novice"};
static const char *high_jobs[] = {
    "Novice High", "Swordsman High", "Mage High", "Archer High", "Acolyte High",
    "Merchant High", "Thief High", "Lord Knight", "High Priest", "High Wizard", "Whitesmith",
    "Sniper", "Assassin Cross", "Peko Knight", "Paladin", "Champion", "Proffesor", "Stalker",
    "Creator", "Clown", "Gypsy", "Peko Paladin", "Baby Novice"};

static char *convert(char *line)
{
    static char sheet[SLOT];
    sscanf(line, "%d\t%d,%d\t%31s\t%d,%d,%d\t%d,%d,%d\t%d,%d,%d,%d\t%d,%d,%d,%d,%d,%d\t%d,%d",
           &rec.character_id, &rec.account_id, &rec.slot, rec.name, &rec.class_number,
           &rec.base_level, &rec.job_level, &rec.base_exp, &rec.job_exp, &rec.zeny, &rec.hp,
           &rec.max_hp, &rec.sp, &rec.max_sp, &rec.str, &rec.agi, &rec.vit, &rec.int_, &rec.dex,
           &rec.luk, &rec.status_points, &rec.skill_points);
    if (rec.class_number >= 0 && rec.class_number <= 23)
        strcpy(rec.job_name, jobs[rec.class_number]);
    else if (rec.class_number >= 4001 && rec.class_number <= 4023)
        strcpy(rec.job_name, high_jobs[rec.class_number - 4001]);
    sprintf(sheet,
            "--------- %s ---------\nCharacter ID: \t%d\nAccount ID: \t%d\nSlot: \t\t%d\nName: "
            "\t\t%s\nJob ID: \t\t%s\nBase Lvl: \t\t%d\nJob Lvl: \t\t%d\nBase Exp: \t\t%d\nJob "
            "Exp: \t\t%d\nZeny: \t\t%d\nHP: \t\t\t%d/%d\nSP: \t\t\t%d/%d\nSTR: \t\t\t%d\nAGI: "
            "\t\t\t%d\nVIT: \t\t\t%d\nINT: \t\t\t%d\nDEX: \t\t\t%d\nLUK: \t\t\t%d\nStat Points: "
            "\t%d\nSkill Points: \t%d\n\n",
            rec.name, rec.character_id, rec.account_id, rec.slot, rec.name, rec.job_name,
            rec.base_level, rec.job_level, rec.base_exp, rec.job_exp, rec.zeny, rec.hp,
            rec.max_hp, rec.sp, rec.max_sp, rec.str, rec.agi, rec.vit, rec.int_, rec.dex,
            rec.luk, rec.status_points, rec.skill_points);
    return sheet;
}

int main(void)
{
    char word[2048], path[1024];
    int choice, i, count;
    FILE *file;

    printf("Please enter the path to your \"athena.txt\":\n");
    fflush(stdout);
    if (scanf("%1023s", path) != 1)
        return 0;
    if (strcasecmp(path, "athena.txt") == 0)
        strcpy(path, "athena.txt");
    printf("\nLoading \"%s\"...\n", path);
    file = fopen(path, "r");
    if (file == NULL) {
        printf("\nError: Could not open \"%s\"!\n\n", path);
        return 0;
    }
    while (line_count < LINES && fgets(table[line_count], 6144, file) != NULL) {
        table[line_count][strcspn(table[line_count], "\n")] = '\0';
        line_count++;
    }
    fclose(file);
    printf("Successfully read %d character(s) from \"%s\"\n", line_count, path);

    for (;;) {
        choice = 0;
        printf("\n----\n\nPlease select a option:\n1. Dump athena.txt to a file\n3. Quit\n\n");
        fflush(stdout);
        if (scanf("%d", &choice) != 1 || choice != 1)
            return 0;
        printf("\n\nEnter a file name to save as:\n");
        fflush(stdout);
        if (scanf("%2047s", word) != 1)
            return 0;
        file = fopen(word, "w");
        if (file == NULL)
            continue;
        count = 0;
        for (i = 0; i < line_count; i++) {
            fputs(convert(table[i]), file);
            count++;
        }
        fclose(file);
        printf("\nSuccessfully wrote %d character(s) to \"%s\"\n", count, word);
    }
}
