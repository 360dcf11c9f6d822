// Windows names read as text: the part of a name that names a file, and the names
// of named pipes. Pure functions, built and tested on every system; only the
// Windows file calls use them.
#include "platform/windows_names.h"

#include <cstring>

namespace
{

bool is_separator(char c)
{
    return c == '\\' || c == '/';
}

// True when `text` starts with the component `word` (lower case ASCII letters), in
// any case, ended by a separator.
bool starts_with_component(const char *text, const char *word)
{
    std::size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        if ((text[i] | 0x20) != word[i])
            return false;
    }
    return is_separator(text[i]);
}

} // namespace

std::size_t file_part_length(const char *name)
{
    std::size_t start = 0;
    if (std::strncmp(name, "\\\\?\\", 4) == 0 || std::strncmp(name, "\\\\.\\", 4) == 0)
        start = 4;
    // The drive's colon is no stream's: "C:athena.txt" is athena.txt in C:'s folder.
    unsigned char letter = static_cast<unsigned char>(name[start] | 0x20);
    if (letter >= 'a' && letter <= 'z' && name[start + 1] == ':')
        start += 2;
    const std::size_t none = std::strlen(name);
    std::size_t colon = none;
    for (std::size_t i = start; name[i] != '\0'; ++i) {
        if (is_separator(name[i]))
            colon = none;
        else if (name[i] == ':' && colon == none)
            colon = i;
    }
    return colon;
}

namespace
{

// The text after the component `word` and its separator when `text` starts with
// them, nullptr otherwise.
const char *after_component(const char *text, const char *word)
{
    return starts_with_component(text, word) ? text + std::strlen(word) + 1 : nullptr;
}

// True when `text` is "SERVER\pipe\...": the pipe folder of a server.
bool names_a_server_pipe(const char *text)
{
    const char *p = text;
    while (*p != '\0' && !is_separator(*p))
        ++p;
    return p != text && *p != '\0' && starts_with_component(p + 1, "pipe");
}

// True when `text`, read in the system's folder of device names (after "\\.\",
// "\\?\" or "\??\"), leads to a pipe folder: "pipe\" or "UNC\SERVER\pipe\", after
// any number of "Global\" (the same folder again), or from the root of the system's
// objects: "GLOBALROOT\Device\NamedPipe\", "GLOBALROOT\Device\Mup\SERVER\pipe\", or
// "GLOBALROOT\??\", "GLOBALROOT\GLOBAL??\", "GLOBALROOT\DosDevices\" (the folder of
// device names again).
bool names_a_device_pipe(const char *text)
{
    for (;;) {
        if (const char *next = after_component(text, "global")) {
            text = next;
            continue;
        }
        const char *root = after_component(text, "globalroot");
        if (root == nullptr)
            break;
        if (const char *device = after_component(root, "device")) {
            if (const char *network = after_component(device, "mup"))
                return names_a_server_pipe(network);
            return starts_with_component(device, "namedpipe");
        }
        const char *next = after_component(root, "??");
        next = next != nullptr ? next : after_component(root, "global??");
        next = next != nullptr ? next : after_component(root, "dosdevices");
        if (next == nullptr)
            return false;
        text = next;
    }
    if (starts_with_component(text, "pipe"))
        return true;
    const char *network = after_component(text, "unc");
    return network != nullptr && names_a_server_pipe(network);
}

} // namespace

bool names_a_pipe(const char *name)
{
    // "\??\" is the folder of device names itself, taken as it stands.
    if (std::strncmp(name, "\\??\\", 4) == 0)
        return names_a_device_pipe(name + 4);
    if (!is_separator(name[0]) || !is_separator(name[1]))
        return false;
    const char *p = name + 2;
    if ((p[0] == '.' || p[0] == '?') && is_separator(p[1]))
        return names_a_device_pipe(p + 2);
    return names_a_server_pipe(p);
}
