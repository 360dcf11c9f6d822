// The console calls where the system has no Windows console: standard input is never
// one, and the calls that would change it do nothing.
#include "platform/console_calls.h"

namespace
{

bool no_console()
{
    return false;
}

std::uint32_t no_number()
{
    return 0;
}

void no_code_pages(std::uint32_t, std::uint32_t) {}

void no_break_handler(void (*)()) {}

void nothing_typed_ahead() {}

} // namespace

const ConsoleCalls kSystemConsole = {no_console,       no_number,          no_number,
                                     no_number,        no_number,          no_code_pages,
                                     no_break_handler, nothing_typed_ahead};
