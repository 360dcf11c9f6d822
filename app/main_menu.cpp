// The main menu loop.
#include "app/main_menu.h"

#include "app/dump_report.h"
#include "app/filter_menu.h"
#include "console/console.h"

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
