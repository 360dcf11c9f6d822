// The Windows console's calls: code pages, attached processes, the break handler
// and the input typed ahead.
#include "platform/console_calls.h"

#include <windows.h>

namespace
{

bool windows_input_is_console()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode;
    // NUL is a character device too, but has no console mode.
    return GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode) != 0;
}

std::uint32_t windows_attached_processes()
{
    DWORD processes[2]; // the count is returned whole even when the list is cut
    return GetConsoleProcessList(processes, 2);
}

std::uint32_t windows_file_name_code_page()
{
    return GetACP();
}

std::uint32_t windows_input_code_page()
{
    return GetConsoleCP();
}

std::uint32_t windows_output_code_page()
{
    return GetConsoleOutputCP();
}

void windows_set_code_pages(std::uint32_t input, std::uint32_t output)
{
    SetConsoleCP(input);
    SetConsoleOutputCP(output);
}

void (*g_break_handler)() = nullptr;

BOOL WINAPI on_control_event(DWORD)
{
    g_break_handler();
    return FALSE; // not handled: the process ends as it would have
}

void windows_on_console_break(void (*handler)())
{
    g_break_handler = handler;
    SetConsoleCtrlHandler(on_control_event, TRUE);
}

void windows_drop_typed_ahead()
{
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
}

} // namespace

const ConsoleCalls kSystemConsole = {windows_input_is_console,    windows_attached_processes,
                                     windows_file_name_code_page, windows_input_code_page,
                                     windows_output_code_page,    windows_set_code_pages,
                                     windows_on_console_break,    windows_drop_typed_ahead};
