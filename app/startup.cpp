// Start-up: greets the user, reads and loads the save file, enters the main menu.
#include "app/startup.h"

#include <cstring>

#include "app/main_menu.h"
#include "app/run_state.h"
#include "console/console.h"
#include "console/text_helpers.h"
#include "platform/files.h"

bool run_program()
{
    // A report may be a FIFO whose reader leaves early, or reach the file-size limit:
    // that is a failed write to report, and the run goes on.
    fail_writes_instead_of_signals();
    write_text("\nTamsel\n");
    write_text("The 100% portable(Works on Win32 AND Linux!) tool you will learn to love!\n");
    write_text("Written by the tamsel developers\n");
    write_text("----\n\n");
    write_text("Please enter the path to your \"athena.txt\":\n(Type 'athena.txt' if in same "
               "directory)\n");

    RunState state = {}; // an input that ends before the path leaves the path empty
    WordRead got = read_name(state.word, sizeof state.word, &state.word_length);
    std::size_t length = state.word_length;
    // Opening a cut path could load some other file than the one typed.
    if (got == word_cut || length > kPathSize - 1) {
        write_text("\nError: The path is longer than ");
        write_text(static_cast<std::int32_t>(kPathSize - 1));
        write_text(" characters!\n\n");
        flush_console();
        return false;
    }
    // Every byte typed is compared: "athena.txt" with more after a NUL is another name.
    if (length == sizeof "athena.txt" - 1 && equal_ignoring_case(state.word, "athena.txt"))
        std::memcpy(state.path, "athena.txt", sizeof "athena.txt");
    else
        std::memcpy(state.path, state.word, length + 1);

    write_text("\nLoading \"");
    write_text(state.path, length);
    write_text("\"...\n");
    // No file has a NUL in its name: the one typed cannot be opened, and the part
    // before the NUL is a name nobody typed.
    if (std::memchr(state.path, '\0', length) != nullptr) {
        write_open_error(state.path, length);
        flush_console();
        return false;
    }
    bool quit = load_save_file(state.path) && run_main_menu(state);
    flush_console();
    return quit;
}
