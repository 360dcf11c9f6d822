// Realistic made-up save-file lines: the 22 values, then appearance, positions,
// memo points, inventory and cart lists, skills and variables, as a server writes
// them. Deterministic for a given seed on every platform.
#ifndef TAMSEL_BENCH_SAVE_GENERATOR_H
#define TAMSEL_BENCH_SAVE_GENERATOR_H

#include <cstdint>
#include <random>
#include <string>

inline std::string generated_line(std::mt19937 &random, std::uint32_t character_id)
{
    auto pick = [&random](std::uint32_t low, std::uint32_t high) {
        return low + static_cast<std::uint32_t>(random() % (high - low + 1));
    };
    static const char *const first[] = {"Arwen", "Lune", "Mira",  "Tinker", "Shadow",
                                        "Rain",  "Path", "Novel", "Hammer", "Quiet"};
    static const char *const second[] = {"Step", "Fall", "Song", "Blade", "Heart"};
    std::string name = first[pick(0, 9)];
    if (pick(0, 4) == 0)
        name += std::string(" ") + second[pick(0, 4)]; // a fifth of the names have spaces
    else
        name += std::to_string(pick(1, 999));
    std::uint32_t roll = pick(0, 99);
    std::uint32_t job = roll < 3 ? pick(4024, 4100) : roll < 60 ? pick(0, 23) : pick(4001, 4023);
    std::uint64_t base_exp =
        pick(0, 49) == 0 ? 4000000000ull + pick(0, 900000000) : pick(0, 1200000000);

    std::string line = std::to_string(character_id) + "\t" +
                       std::to_string(2000000 + pick(0, 4000)) + "," + std::to_string(pick(0, 2)) +
                       "\t" + name + "\t" + std::to_string(job) + "," +
                       std::to_string(pick(1, 99)) + "," + std::to_string(pick(1, 70)) + "\t" +
                       std::to_string(base_exp) + "," + std::to_string(pick(0, 90000000)) + "," +
                       std::to_string(pick(0, 20000000)) + "\t";
    std::uint32_t max_hp = pick(40, 30000), max_sp = pick(10, 3000);
    line += std::to_string(pick(1, max_hp)) + "," + std::to_string(max_hp) + "," +
            std::to_string(pick(0, max_sp)) + "," + std::to_string(max_sp) + "\t";
    for (int stat = 0; stat < 6; ++stat)
        line += std::to_string(pick(1, 130)) + (stat < 5 ? "," : "\t");
    line += std::to_string(pick(0, 200)) + "," + std::to_string(pick(0, 60));
    // Appearance, party and guild, last and save positions.
    line += "\t" + std::to_string(pick(0, 3)) + "," + std::to_string(pick(0, 8)) + "," +
            std::to_string(pick(0, 4)) + "\t" + std::to_string(pick(0, 100)) + ",0,0," +
            std::to_string(pick(0, 500)) + "\t" + std::to_string(pick(1, 30)) + "," +
            std::to_string(pick(0, 9)) + ",0,0,0,0,0,0,0\tprontera.gat," +
            std::to_string(pick(1, 300)) + "," + std::to_string(pick(1, 300)) +
            "\tgeffen.gat,119,59";
    line += "\t";
    for (std::uint32_t memo = 0, n = pick(0, 3); memo < n; ++memo)
        line += std::to_string(memo) + ",payon.gat," + std::to_string(pick(1, 300)) + "," +
                std::to_string(pick(1, 300)) + " ";
    // Inventory and cart: items separated by spaces, members by commas.
    line += "\t";
    for (std::uint32_t item = 1, n = pick(10, 110); item <= n; ++item)
        line += std::to_string(item) + "," + std::to_string(pick(501, 13000)) + "," +
                std::to_string(pick(1, 30000)) + "," + std::to_string(pick(0, 1) * 2) + ",1," +
                std::to_string(pick(0, 10)) + ",0,0,0,0,0 ";
    line += "\t";
    for (std::uint32_t item = 1, n = pick(0, 20); item <= n; ++item)
        line += std::to_string(item) + "," + std::to_string(pick(501, 13000)) + "," +
                std::to_string(pick(1, 300)) + ",0,1,0,0,0,0,0,0 ";
    line += "\t";
    for (std::uint32_t skill = 1, n = pick(5, 60); skill <= n; ++skill)
        line += std::to_string(skill) + "," + std::to_string(pick(1, 10)) + " ";
    line += "\tPC_DIE_COUNTER," + std::to_string(pick(0, 999)) + " TK_MISSION_ID," +
            std::to_string(pick(0, 200)) + "\t";
    return line;
}

// A whole save file: `characters` lines and the server's bookkeeping last line.
inline std::string generated_save(std::uint32_t characters, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::string save;
    for (std::uint32_t i = 0; i < characters; ++i)
        save += generated_line(random, 150000 + i) + "\n";
    save += std::to_string(150000 + characters) + "\t%newid%\n";
    return save;
}

#endif
