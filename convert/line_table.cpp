// The save-file loader: reads the file straight into the packed block, splits it
// into lines where it lies, and scans each line while it is still in the cache.
#include "convert/line_table.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "convert/conversion.h"

namespace
{

// Every line the table can hold, at its longest, with its NUL.
constexpr std::size_t kStoredLimit = static_cast<std::size_t>(kLineSlots) * (kLineLimit + 1);

// The file is read in pieces of this size straight into the block, only when the
// line being split has fewer than kLineLimit characters there. A read thus ends at
// most kLineLimit + kReadChunk bytes past the start of a line that is not the last
// one, and each cut of a long line moves what follows it by one byte, so the block
// needs less than two more pieces beyond the stored lines. Large pieces mean few
// reads; the moves that cuts cost stay within one piece, which is still cheap for a
// file with no line feed at all.
constexpr std::size_t kReadChunk = std::size_t{1} << 20;
constexpr std::size_t kBlockSize = kStoredLimit + 2 * kReadChunk;

// Static and zero: pages that no line reaches are never touched.
char g_raw[kBlockSize + kHugePageSize];
char *g_block = nullptr; // inside g_raw, placed at the first load

std::uint32_t g_starts[kLineSlots]; // where each stored line starts in the block
std::int32_t g_line_count = 0;

std::int32_t g_character_count = 0; // stored lines that are character lines

char g_path[kPathSize];
FileIdentity g_identity;
bool g_identity_known = false;

void write_open_error(const char *path)
{
    write_text("\nError: Could not open \"");
    write_text(path);
    write_text("\"!\n\n");
}

// Ends the stored line of `length` characters at `start` with its NUL, indexes it,
// and counts it when it is a character line: classified now, while it is still in
// the cache, it costs far less than in a second pass over the block.
void finish_line(std::size_t start, std::size_t length)
{
    char *line = g_block + start;
    line[length] = '\0';
    g_starts[g_line_count++] = static_cast<std::uint32_t>(start);
    CharacterRecord scratch;
    g_character_count += scan_character_line(line, &scratch) ? 1 : 0;
}

// Reads the file into the block and splits it there, the way a reader taking at
// most kLineLimit characters up to and including a line feed would: each line feed
// becomes the NUL of its line, a cut line goes on as the next line, and a read that
// meets the end of the file before any character stores nothing. Returns true when
// data was left after the last slot was filled.
bool read_lines(std::FILE *file)
{
    std::size_t start = 0;    // where the line being split starts
    std::size_t searched = 0; // its characters known to hold no line feed
    std::size_t end = 0;      // bytes read into the block
    bool file_ended = false;
    for (;;) {
        if (g_line_count == kLineSlots)
            return end > start || std::fgetc(file) != EOF;
        char *line = g_block + start;
        std::size_t available = end - start;
        std::size_t window = available < kLineLimit ? available : kLineLimit;
        const char *feed =
            static_cast<const char *>(std::memchr(line + searched, '\n', window - searched));
        if (feed != nullptr) {
            std::size_t length = static_cast<std::size_t>(feed - line);
            finish_line(start, length);
            start += length + 1;
            searched = 0;
        } else if (available >= kLineLimit) {
            // A cut takes nothing of the file: the rest moves up to make room for the NUL.
            std::memmove(line + kLineLimit + 1, line + kLineLimit, available - kLineLimit);
            ++end;
            finish_line(start, kLineLimit);
            start += kLineLimit + 1;
            searched = 0;
        } else if (file_ended) {
            if (available > 0)
                finish_line(start, available);
            return false;
        } else {
            searched = window;
            std::size_t room = kBlockSize - end;
            std::size_t got =
                std::fread(g_block + end, 1, room < kReadChunk ? room : kReadChunk, file);
            file_ended = got == 0;
            end += got;
        }
    }
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
    if (g_block == nullptr)
        g_block = huge_page_block(g_raw, kBlockSize);
    // The reads go straight into the block; a stream buffer would only copy twice.
    std::setvbuf(file, nullptr, _IONBF, 0);
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
        g_character_count = 0;
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

const char *stored_line(std::int32_t index)
{
    return g_block + g_starts[index];
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

bool holds_character_line(const char *bytes, std::size_t size)
{
    char line[kLineLimit + 1];
    CharacterRecord scratch;
    std::size_t start = 0;
    while (start < size) {
        std::size_t rest = size - start;
        std::size_t window = rest < kLineLimit ? rest : kLineLimit;
        const char *feed = static_cast<const char *>(std::memchr(bytes + start, '\n', window));
        std::size_t length =
            feed != nullptr ? static_cast<std::size_t>(feed - (bytes + start)) : window;
        std::memcpy(line, bytes + start, length);
        line[length] = '\0';
        if (scan_character_line(line, &scratch))
            return true;
        // A cut takes nothing of the file: the rest of the line starts the next one.
        start += feed != nullptr ? length + 1 : length;
    }
    return false;
}
