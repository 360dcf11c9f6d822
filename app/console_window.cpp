// The console window around a run: its code pages and the wait before it closes.
#include "app/console_window.h"

#include "console/console.h"

namespace
{

constexpr std::uint32_t kUtf8CodePage = 65001;

const ConsoleCalls *g_calls = nullptr;
bool g_own_window = false;    // the console closes when this run ends
bool g_pages_changed = false; // the code pages below are to be restored
std::uint32_t g_input_page = 0;
std::uint32_t g_output_page = 0;

void restore_code_pages()
{
    if (g_pages_changed)
        g_calls->set_code_pages(g_input_page, g_output_page);
}

} // namespace

void begin_console_run(const ConsoleCalls &calls)
{
    g_calls = &calls;
    g_own_window = false;
    g_pages_changed = false;
    if (!calls.input_is_console())
        return;
    // Started from a shell, the console has the shell attached as well.
    g_own_window = calls.attached_processes() == 1;
    std::uint32_t names = calls.file_name_code_page();
    if (names == kUtf8CodePage)
        return;
    g_input_page = calls.input_code_page();
    g_output_page = calls.output_code_page();
    g_pages_changed = true;
    // Installed before the change: a break in between still finds them restored.
    calls.on_console_break(restore_code_pages);
    calls.set_code_pages(names, names);
}

void end_console_run(bool must_be_read)
{
    if (must_be_read && g_own_window) {
        write_text("\nPress Enter to close this window.\n");
        // What was typed before the message, a second Enter included, is no answer to it.
        g_calls->drop_typed_ahead();
        wait_for_enter();
    }
    restore_code_pages();
    flush_console();
}
