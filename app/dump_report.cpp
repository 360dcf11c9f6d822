// The dump of a typed report name: the refusals of a name that was not read whole,
// then the writer.
#include "app/dump_report.h"

#include <cstring>

#include "convert/open_report.h"
#include "convert/writer.h"

void dump_report(const RunState &state, WordRead name_read, FilterKind kind, std::int32_t first,
                 std::int32_t second)
{
    // With no name read, the buffer still holds an earlier word, possibly the save
    // file's own path: dumping to it would destroy the data.
    if (name_read == word_none)
        return;
    if (name_read == word_cut) {
        write_text("\nError: The file name is longer than ");
        write_text(static_cast<std::int32_t>(kWordSize - 1));
        write_text(" characters!\n\n");
        return;
    }
    // No file has a NUL in its name: the name typed cannot be opened, and the part
    // before the NUL is a name nobody typed, so nothing is opened at all.
    if (std::memchr(state.word, '\0', state.word_length) != nullptr) {
        write_open_or_create_error(state.word, state.word_length);
        return;
    }
    dump_characters(state.word, kind, first, second);
}
