// The filter menu.
#include "app/filter_menu.h"

#include "app/dump_report.h"
#include "console/console.h"

namespace
{

const char kNamePrompt[] = "\n----\n\nEnter a file name to save as:\n";

// Runs the dump where the filter's values were all typed as numbers. A value that
// was not typed would filter by the 0 a failed read stores, or by the value of an
// earlier visit: a report of characters nobody asked for, so none is written. The
// name's own checks come first.
void dump_filtered(const RunState &state, WordRead name_read, bool values_read, FilterKind kind,
                   std::int32_t first, std::int32_t second)
{
    if (name_read == word_whole && !values_read) {
        write_text("\nError: No number was given, so \"");
        write_text(state.word, state.word_length);
        write_text("\" was not written!\n\n");
        return;
    }
    dump_report(state, name_read, kind, first, second);
}

// Account and job filters share their steps; only the prompt and the kind differ.
bool run_equality_filter(RunState &state, const char *prompt, FilterKind kind)
{
    write_text(kNamePrompt);
    WordRead name_read = read_name(state.word, sizeof state.word, &state.word_length);
    write_text(prompt);
    bool value_read = read_number(state.first_value);
    if (value_read && state.first_value < 0)
        return false;
    dump_filtered(state, name_read, value_read, kind, state.first_value, 0);
    return true;
}

void run_zeny_filter(RunState &state)
{
    write_text(kNamePrompt);
    WordRead name_read = read_name(state.word, sizeof state.word, &state.word_length);
    write_text("\nThe Zeny filter searches a range of zeny,\nYou will need to enter a minimum "
               "and max value for the range\n\n");
    write_text("\n----\n\nShow me players with zeny greater than:\n");
    bool lower_read = read_number(state.first_value);
    write_text("\n----\n\nBut less than:\n");
    bool bounds_read = read_number(state.second_value) && lower_read;
    // A bound that was not typed holds the 0 a failed read stores, or an earlier
    // visit's value: the user never gave it, so it is not shown as the range.
    if (bounds_read) {
        write_text("\n----\n\nDumping characters with zeny greater than ");
        write_text(state.first_value);
        write_text(" but less than ");
        write_text(state.second_value);
        write_text("\n");
    }
    dump_filtered(state, name_read, bounds_read, FilterKind::zeny_range, state.first_value,
                  state.second_value);
}

} // namespace

bool run_filter_menu(RunState &state)
{
    for (;;) {
        state.filter_choice = 0;
        write_text("\n----\n\nSelet a filter:\n1. Account ID\n2. Job\n3. Zeny\n\n"
                   "NOTE: Only filtered results will be saved!\n");
        read_number(state.filter_choice);
        switch (state.filter_choice) {
        case 0: // also a letter or closed input
            write_text("Invalid Selection!\n");
            return false;
        case 1:
            return run_equality_filter(
                state, "\n----\n\nEnter the account ID you want to filter:\n", FilterKind::account);
        case 2:
            return run_equality_filter(state,
                                       "\n----\n\nEnter the Job ID(NOT NAME... I.e. 7 is "
                                       "Knight and etc) you want to filter:\n",
                                       FilterKind::job);
        case 3:
            run_zeny_filter(state);
            return true;
        default:
            write_text("Invalid Selection!\n");
            break;
        }
    }
}
