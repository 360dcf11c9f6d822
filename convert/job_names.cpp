// The fixed table from class numbers to job names: two dense blocks, 0-23 and 4001-4023.
#include "convert/job_names.h"

#include <cstring>

#include "console/text_helpers.h"

namespace
{

const char *const kFirstBlock[] = {
    "Novice",    "Swordsman", "Mage",     "Archer",     "Acolyte",    "Merchant",
    "Thief",     "Knight",    "Priest",   "Wizard",     "Blacksmith", "Hunter",
    "Assassin",  "Knight 2",  "Crusader", "Monk",       "Sage",       "Rogue",
    "Alchemist", "Bard",      "Dancer",   "Crusader 2", "Wedding",    "Super Novice",
};

const char *const kSecondBlock[] = {
    "Novice High",   "Swordsman High", "Mage High",      "Archer High", "Acolyte High",
    "Merchant High", "Thief High",     "Lord Knight",    "High Priest", "High Wizard",
    "Whitesmith",    "Sniper",         "Assassin Cross", "Peko Knight", "Paladin",
    "Champion",      "Proffesor",      "Stalker",        "Creator",     "Clown",
    "Gypsy",         "Peko Paladin",   "Baby Novice",
};

constexpr std::int32_t kFirstCount = sizeof kFirstBlock / sizeof kFirstBlock[0];
constexpr std::int32_t kSecondStart = 4001;
constexpr std::int32_t kSecondCount = sizeof kSecondBlock / sizeof kSecondBlock[0];

static_assert(kFirstCount == 24 && kSecondCount == 23, "the table has 47 rows");

} // namespace

void job_name_for(std::int32_t class_number, char *destination)
{
    const char *name = nullptr;
    if (class_number >= 0 && class_number < kFirstCount)
        name = kFirstBlock[class_number];
    else if (class_number >= kSecondStart && class_number - kSecondStart < kSecondCount)
        name = kSecondBlock[class_number - kSecondStart];
    if (name != nullptr) {
        // Every name is at most 14 characters, well inside the field.
        std::memcpy(destination, name, std::strlen(name) + 1);
        return;
    }
    // "Unknown (-2147483648)" is 21 characters: always fits the 32-byte field.
    static_assert(sizeof "Unknown (" - 1 + kDecimalRoom + 1 < kJobNameSize, "room for N");
    static const char kPrefix[] = "Unknown (";
    std::size_t length = sizeof kPrefix - 1;
    std::memcpy(destination, kPrefix, length);
    length += format_decimal(class_number, destination + length);
    destination[length++] = ')';
    destination[length] = '\0';
}
