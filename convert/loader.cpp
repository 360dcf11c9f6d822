// The save-file loader: splits the file's lines with the line splitter and keeps the
// values of every character line as it goes, in blocks.
#include "convert/loader.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "console/console.h"
#include "convert/conversion.h"
#include "convert/line_splitter.h"
#include "platform/memory.h"

namespace
{

// What a load keeps of a character line: the bytes of its record before and after
// the job name, which a dump looks up. Smaller than a CharacterRecord, so more
// characters fit the memory.
constexpr std::size_t kBeforeJobName = offsetof(CharacterRecord, job_name);
constexpr std::size_t kFromBaseLevel = offsetof(CharacterRecord, base_level);
struct KeptCharacter {
    char before_job_name[kBeforeJobName];
    char after_job_name[sizeof(CharacterRecord) - kFromBaseLevel];
};
static_assert(kFromBaseLevel == kBeforeJobName + kJobNameSize, "only the job name is left out");
static_assert(sizeof(KeptCharacter) == kKeptBytes, "the blocks' counts are of these");

// The kept values fill blocks, each added when the last is full and never moved
// after: a load writes each value once, and a large block, mapped at a multiple of
// its size, takes a page fault instead of 512 where the system backs it with a large
// page. Their addresses are in a table on the heap that doubles when full: a few
// times a load, even one that fills the memory.
constexpr std::size_t kFirstBlockBytes = kFirstBlockCharacters * kKeptBytes;
constexpr std::size_t kFirstTableRoom = 16;
KeptCharacter **g_blocks = nullptr;
std::size_t g_block_count = 0;
std::size_t g_table_room = 0;
KeptCharacter *g_next_kept = nullptr; // where the next character goes
KeptCharacter *g_block_end = nullptr; // the end of the last block
std::int64_t g_character_count = 0;

// The file's own lines as the load goes: the number of the current one, whether a
// piece of it gave a sheet, and whether the last piece was cut from it.
std::int64_t g_file_line = 0;
bool g_gives_sheet = false;
bool g_continued = false;

// The lines that give no sheet: their count and the numbers of the first of them.
constexpr std::size_t kSkippedShown = 10;
std::int64_t g_skipped_count = 0;
std::int64_t g_skipped_lines[kSkippedShown];

char g_path[kPathSize];
FileIdentity g_identity;
bool g_identity_known = false;

// Frees what a load keeps, its path and identity included; nothing is kept afterwards.
void release_load()
{
    if (g_block_count > 0)
        ::operator delete(g_blocks[0]);
    for (std::size_t block = 1; block < g_block_count; ++block)
        unmap_large_block(g_blocks[block]);
    std::free(g_blocks);
    g_blocks = nullptr;
    g_block_count = g_table_room = 0;
    g_next_kept = g_block_end = nullptr;
    g_character_count = g_file_line = g_skipped_count = 0;
    g_gives_sheet = g_continued = false;
    g_identity_known = false;
    g_path[0] = '\0';
}

// Adds a block for kept values, doubling the table of blocks when it is full; false
// when the memory for either is refused.
bool add_block()
{
    if (g_block_count == g_table_room) {
        std::size_t room = g_table_room == 0 ? kFirstTableRoom : 2 * g_table_room;
        if (room > SIZE_MAX / sizeof *g_blocks)
            return false;
        void *grown = std::realloc(g_blocks, room * sizeof *g_blocks);
        if (grown == nullptr)
            return false;
        g_blocks = static_cast<KeptCharacter **>(grown);
        g_table_room = room;
    }
    // The first block is too small for a large page, which would only raise the
    // peak of a file of a few lines.
    bool first = g_block_count == 0;
    void *block = first ? ::operator new(kFirstBlockBytes, std::nothrow) : map_large_block();
    if (block == nullptr)
        return false;
    g_blocks[g_block_count++] = static_cast<KeptCharacter *>(block);
    g_next_kept = static_cast<KeptCharacter *>(block);
    g_block_end = g_next_kept + (first ? kFirstBlockCharacters : kBlockCharacters);
    return true;
}

void keep(const CharacterRecord &record, KeptCharacter *kept)
{
    std::memcpy(kept->before_job_name, &record, kBeforeJobName);
    std::memcpy(kept->after_job_name, &record.base_level, sizeof kept->after_job_name);
}

// Counts the file's current line as skipped when none of its pieces gave a sheet.
void end_file_line()
{
    if (g_file_line == 0 || g_gives_sheet)
        return;
    if (g_skipped_count < static_cast<std::int64_t>(kSkippedShown))
        g_skipped_lines[g_skipped_count] = g_file_line;
    ++g_skipped_count;
}

// The load's sink: numbers the file's lines and keeps the values of each character
// line. False when the memory for them is refused.
bool keep_line(const char *text, std::size_t length, void *)
{
    if (!g_continued) {
        end_file_line();
        ++g_file_line;
        g_gives_sheet = false;
    }
    g_continued = length == kLineLimit;
    // A scan that reads all 22 values sets every field but the name's bytes after its
    // NUL: zeroed, so that no byte kept depends on an earlier line.
    CharacterRecord record;
    std::memset(record.name, 0, sizeof record.name);
    if (!is_character_line(text, length, &record))
        return true;
    g_gives_sheet = true;
    if (g_next_kept == g_block_end && !add_block())
        return false;
    keep(record, g_next_kept++);
    ++g_character_count;
    return true;
}

void write_skipped_lines()
{
    write_text("Skipped ");
    write_text(g_skipped_count);
    write_text(" line(s) that are not character lines: ");
    for (std::size_t i = 0; i < kSkippedShown && static_cast<std::int64_t>(i) < g_skipped_count;
         ++i) {
        if (i > 0)
            write_text(", ");
        write_text(g_skipped_lines[i]);
    }
    if (g_skipped_count > static_cast<std::int64_t>(kSkippedShown)) {
        write_text(" and ");
        write_text(g_skipped_count - static_cast<std::int64_t>(kSkippedShown));
        write_text(" more");
    }
    write_text("\n");
}

} // namespace

void write_open_error(const char *path, std::size_t length)
{
    write_text("\nError: Could not open \"");
    write_text(path, length);
    write_text("\"!\n\n");
}

bool load_save_file(const char *path)
{
    // The path is kept to recognise the save file later; a cut one could not be.
    std::size_t path_length = std::strlen(path);
    std::FILE *file = path_length < kPathSize ? std::fopen(path, "r") : nullptr;
    // The earlier load ends here, whether or not this one can start: a failed open
    // leaves nothing kept, as a failed read does.
    release_load();
    if (file == nullptr) {
        write_open_error(path, path_length);
        return false;
    }
    // The reads go straight into the buffer; a stream buffer would only copy twice.
    std::setvbuf(file, nullptr, _IONBF, 0);
    bool loaded = split_lines(file, SIZE_MAX, keep_line, nullptr);
    end_file_line();
    // A directory opens on some systems and then fails to read: that, like any
    // read error, means the file could not be used.
    bool failed = loaded && std::ferror(file) != 0;
    // Taken from the handle, not the name: this is the file whose values are kept.
    bool identity_known = file_identity(file, &g_identity);
    std::fclose(file); // read only: nothing to lose on close
    if (!loaded || failed) {
        release_load();
        if (failed) {
            write_open_error(path, path_length);
        } else {
            write_text("\nError: \"");
            write_text(path);
            write_text("\" is too large to load!\n\n");
        }
        return false;
    }
    g_identity_known = identity_known;
    std::memcpy(g_path, path, path_length);
    g_path[path_length] = '\0';

    write_text("Successfully read ");
    write_text(g_character_count);
    write_text(" character(s) from \"");
    write_text(path);
    write_text("\"\n");
    if (g_skipped_count > 0)
        write_skipped_lines();
    return true;
}

void stored_character(std::int64_t index, CharacterRecord *record)
{
    std::size_t at = static_cast<std::size_t>(index);
    std::size_t past_first = at - kFirstBlockCharacters;
    const KeptCharacter &kept =
        at < kFirstBlockCharacters
            ? g_blocks[0][at]
            : g_blocks[1 + past_first / kBlockCharacters][past_first % kBlockCharacters];
    std::memcpy(record, kept.before_job_name, kBeforeJobName);
    std::memcpy(&record->base_level, kept.after_job_name, sizeof kept.after_job_name);
}

std::int64_t character_count()
{
    return g_character_count;
}

const char *save_file_path()
{
    return g_path;
}

bool save_file_identity(FileIdentity *identity)
{
    *identity = g_identity;
    return g_identity_known;
}
