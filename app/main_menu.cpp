// The main menu loop.
#include "app/main_menu.h"

#include <cstring>

#include "app/filter_menu.h"
#include "convert/writer.h"

void dump_report(const RunState &state, WordRead name_read, FilterKind kind, std::int32_t first,
                 std::int32_t second)
{
    // With no name read, the buffer still holds an earlier word, possibly the save
    // file's own path: dumping to it would destroy the data.
    if (name_read == word_none)
        return;
    if (name_read == word_cut) {
        write_text("\nError: The file name is longer than 2047 characters!\n\n");
        return;
    }
    // No file has a NUL in its name: the name typed cannot be opened, and the part
    // before the NUL is a name nobody typed, so nothing is opened at all.
    if (std::memchr(state.word, '\0', state.word_length) != nullptr) {
        write_open_or_create_error(state.word, state.word_length);
        return;
    }
    dump_characters(state.word, kind, first, second);
}

bool run_main_menu(RunState &state)
{
    for (;;) {
        state.main_choice = 0;
        write_text("\n----\n\nPlease select a option:\n1. Dump athena.txt to a file\n"
                   "2. Filter athena.txt then dump\n3. Quit\n\n");
        read_number(state.main_choice);
        switch (state.main_choice) {
        case 0: // also a letter or closed input: the read left the 0 stored above
            write_text("Invalid Selection!\n");
            return false;
        case 1: {
            write_text("\n\nEnter a file name to save as:\n");
            WordRead name_read = read_name(state.word, sizeof state.word, &state.word_length);
            dump_report(state, name_read, FilterKind::none, 0, 0);
            break;
        }
        case 2:
            if (!run_filter_menu(state))
                return false;
            break;
        case 3:
            return true;
        default:
            write_text("Invalid Selection!\n");
            break;
        }
    }
}
