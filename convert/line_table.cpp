// The save-file loader: fills the static line table from the file in one pass.
#include "convert/line_table.h"

#include <cstdio>
#include <cstring>

#include "app/console.h"
#include "convert/conversion.h"

namespace
{

// Static and zero: pages of slots that no line reaches are never touched. Slots are
// two and a half pages; starting the table on a page keeps a short line on one.
alignas(4096) LineTable g_table;
std::int32_t g_line_count = 0;
std::int32_t g_character_count = 0; // stored lines that are character lines
char g_path[kPathSize];
FileIdentity g_identity;
bool g_identity_known = false;

constexpr std::size_t kChunkSize = 1 << 16;
char g_chunk[kChunkSize];

void write_open_error(const char *path)
{
    write_text("\nError: Could not open \"");
    write_text(path);
    write_text("\"!\n\n");
}

// Splits the file into stored lines, the way a reader taking at most kLineLimit
// characters up to and including a line feed would: a cut line goes on in the next
// slot, and a read that meets the end of the file before any character stores
// nothing. Returns true when data was left after the last slot was filled.
// Stores the line just filled and counts it; classifying it now, while it is still
// in the cache, costs far less than a second pass over the table.
void finish_line(std::size_t length)
{
    char *slot = g_table[g_line_count];
    slot[length] = '\0';
    CharacterRecord scratch;
    g_character_count += scan_character_line(slot, &scratch) ? 1 : 0;
    ++g_line_count;
}

bool read_lines(std::FILE *file)
{
    std::size_t length = 0; // characters taken into the current line
    bool in_line = false;   // the current line has taken at least one character
    std::size_t got;
    while ((got = std::fread(g_chunk, 1, kChunkSize, file)) > 0) {
        const char *p = g_chunk;
        const char *end = g_chunk + got;
        while (p < end) {
            if (!in_line && g_line_count == kLineSlots)
                return true;
            char *slot = g_table[g_line_count];
            std::size_t room = kLineLimit - length;
            std::size_t span = static_cast<std::size_t>(end - p);
            if (span > room)
                span = room;
            const char *feed = static_cast<const char *>(std::memchr(p, '\n', span));
            std::size_t take = feed != nullptr ? static_cast<std::size_t>(feed - p) : span;
            std::memcpy(slot + length, p, take);
            length += take;
            p += take;
            in_line = true;
            if (feed != nullptr)
                ++p; // the line feed ends the line and is not stored
            if (feed != nullptr || length == kLineLimit) {
                finish_line(length);
                length = 0;
                in_line = false;
            }
        }
    }
    if (in_line)
        finish_line(length);
    return false;
}

} // namespace

bool load_save_file(const char *path)
{
    // The path is kept to recognise the save file later; a cut one could not be.
    std::size_t path_length = std::strlen(path);
    std::FILE *file = path_length < kPathSize ? std::fopen(path, "r") : nullptr;
    if (file == nullptr) {
        write_open_error(path);
        return false;
    }
    g_line_count = 0;
    g_character_count = 0;
    // Taken from the handle, not the name: this is the file whose lines are kept.
    g_identity_known = file_identity(file, &g_identity);
    bool lines_left = read_lines(file);
    // A directory opens on some systems and then fails to read: that, like any
    // read error, means the file could not be used.
    bool failed = std::ferror(file) != 0;
    std::fclose(file); // read only: nothing to lose on close
    if (failed) {
        g_line_count = 0;
        g_identity_known = false;
        write_open_error(path);
        return false;
    }
    std::memcpy(g_path, path, path_length);
    g_path[path_length] = '\0';

    const std::int32_t characters = g_character_count;
    write_text("Successfully read ");
    write_text(characters);
    write_text(" character(s) from \"");
    write_text(path);
    write_text("\"\n");
    if (characters < g_line_count) {
        write_text("Skipped ");
        write_text(g_line_count - characters);
        write_text(" line(s) that are not character lines\n");
    }
    if (lines_left) {
        write_text("Warning: only the first ");
        write_text(kLineSlots);
        write_text(" lines of \"");
        write_text(path);
        write_text("\" were read\n");
    }
    return true;
}

const LineTable &line_table()
{
    return g_table;
}

std::int32_t line_count()
{
    return g_line_count;
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
