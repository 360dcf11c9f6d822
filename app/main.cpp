// The program's entry: runs the dialogue; every ending exits with status 0.
#include "app/console_window.h"
#include "app/startup.h"

int main()
{
    begin_console_run(kSystemConsole);
    end_console_run(!run_program());
    return 0;
}
