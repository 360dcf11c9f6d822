// The Windows console a run may be started in: its code pages, the processes
// attached to it, its break handler and the input typed ahead. Elsewhere the calls
// answer that there is no such console and do nothing.
#ifndef TAMSEL_PLATFORM_CONSOLE_CALLS_H
#define TAMSEL_PLATFORM_CONSOLE_CALLS_H

#include <cstdint>

// The console calls a run needs, as pointers so that what is decided over them can
// be tried without a console. Code pages are numbers as Windows gives them. Where
// there is no such console (every other system), input_is_console answers false
// and the others do nothing.
struct ConsoleCalls {
    // Standard input is a console, not a file, pipe or device such as NUL.
    bool (*input_is_console)();
    // The processes attached to that console, this one included: 1 when the
    // console is a window of this run's own.
    std::uint32_t (*attached_processes)();
    // The code page narrow file names are read in (the ANSI code page).
    std::uint32_t (*file_name_code_page)();
    std::uint32_t (*input_code_page)();
    std::uint32_t (*output_code_page)();
    void (*set_code_pages)(std::uint32_t input, std::uint32_t output);
    // Calls `handler` when Ctrl-C, Ctrl-Break or closing the console is about to
    // end the process; the process then ends as it would have.
    void (*on_console_break)(void (*handler)());
    // Drops whatever was typed at the console and not yet read, such as an Enter
    // pressed twice: a wait for Enter must not take it for the answer.
    void (*drop_typed_ahead)();
};

// The calls to the system's own console.
extern const ConsoleCalls kSystemConsole;

#endif
