// The console window around a run on Windows: the code page typed names arrive in,
// and a window of the run's own that stays open until its last message is read.
#ifndef TAMSEL_APP_CONSOLE_WINDOW_H
#define TAMSEL_APP_CONSOLE_WINDOW_H

#include "platform/console_calls.h"

// Starts a run on the console that `calls` reach. When standard input is a console,
// its input and output code pages become the code page of file names for the run,
// so that a typed name reaches the file system as the bytes that name the file,
// and a break (Ctrl-C, Ctrl-Break) restores them; not when that code page is UTF-8
// (65001), whose console input older systems read badly. Elsewhere nothing is done.
void begin_console_run(const ConsoleCalls &calls);

// Ends the run begun by begin_console_run. When `must_be_read` (any ending but the
// quit choice) and the console is a window of this run's own, which closes with
// it, first writes "\nPress Enter to close this window.\n" and waits for an Enter
// typed after it (one typed ahead does not count).
// Then restores the code pages.
void end_console_run(bool must_be_read);

#endif
