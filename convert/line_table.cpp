// The save-file loader: reads the whole file into one block sized from it, splits it
// into lines where it lies, and keeps the values of every character line.
#include "convert/line_table.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/console.h"
#include "convert/conversion.h"

namespace
{

// The file is read in pieces of this size straight into the block, only when the
// line being split has fewer than kLineLimit characters there, so the moves that
// cuts cost stay within one piece even for a file with no line feed at all.
constexpr std::size_t kReadChunk = std::size_t{1} << 18;

// A file of unknown size (a FIFO, a device) starts with a block of this size and
// doubles it whenever it is full.
constexpr std::size_t kFirstUnknownBlock = std::size_t{4} << 20;

// The shortest line that can hold the 22 values: 21 one-digit numbers, 14 commas, a
// name of one character, the white space that ends the name, and a sign or white
// space between the two numbers that meet at each of the 5 other group borders.
constexpr std::size_t kShortestCharacterLine = 42;

char *g_raw = nullptr;      // the block's allocation
char *g_block = nullptr;    // inside g_raw, where huge pages begin
std::size_t g_offset = 0;   // of g_block in g_raw
std::size_t g_capacity = 0; // bytes the block holds

// The index and the values share one allocation, of huge pages like the block: a
// system where each page fault is dear pays for a few thousand small ones.
char *g_kept_raw = nullptr;

std::size_t *g_starts = nullptr; // where each stored line starts in the block
std::int64_t g_line_count = 0;

CharacterRecord *g_characters = nullptr; // the values of each character line
std::int64_t g_character_count = 0;
std::int64_t g_skipped_count = 0; // lines of the file that give no sheet

char g_path[kPathSize];
FileIdentity g_identity;
bool g_identity_known = false;

void write_open_error(const char *path)
{
    write_text("\nError: Could not open \"");
    write_text(path);
    write_text("\"!\n\n");
}

// Frees what a load keeps; nothing is stored afterwards.
void release_load()
{
    std::free(g_raw);
    std::free(g_kept_raw);
    g_raw = g_block = g_kept_raw = nullptr;
    g_starts = nullptr;
    g_characters = nullptr;
    g_capacity = 0;
    g_line_count = g_character_count = g_skipped_count = 0;
    g_identity_known = false;
}

// Allocates `size` bytes of what a load keeps into `*raw`; returns where they
// start. From kHugePageFrom up they are whole huge pages, aligned to them: a huge
// page serves only where it lies whole inside the allocation, and one fault then
// stands for 512 small ones, which a system where faults are dear feels even for
// a fraction of a huge page. Smaller sizes take just what they need. Null when
// the memory is refused.
constexpr std::size_t kHugePageFrom = kHugePageSize / 8;

char *allocate_kept(std::size_t size, char **raw)
{
    if (size > SIZE_MAX / 2)
        return nullptr;
    if (size < kHugePageFrom) {
        *raw = static_cast<char *>(std::malloc(size + 1)); // never a zero-byte request
        return *raw;
    }
    size = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    *raw = static_cast<char *>(std::malloc(size + kHugePageSize));
    return *raw == nullptr ? nullptr : huge_page_block(*raw, size);
}

bool allocate_block(std::size_t capacity)
{
    g_block = allocate_kept(capacity, &g_raw);
    if (g_block == nullptr)
        return false;
    g_offset = static_cast<std::size_t>(g_block - g_raw);
    g_capacity = capacity;
    return true;
}

// Doubles the block, keeping what it holds; false when the memory is refused.
bool grow_block()
{
    if (g_capacity > (SIZE_MAX - kHugePageSize) / 2)
        return false;
    char *raw = static_cast<char *>(std::realloc(g_raw, g_offset + 2 * g_capacity));
    if (raw == nullptr)
        return false;
    g_raw = raw;
    g_block = raw + g_offset;
    g_capacity *= 2;
    return true;
}

// What the first pass learns: the stored lines, and how many of them are long
// enough to be character lines, which bounds the values a load keeps.
struct LineCounts {
    std::int64_t lines;
    std::int64_t long_lines;
};

// Where the first lines start, noted by the first pass so that the second need not
// search their line feeds again out of memory; a file of more lines has the rest
// searched. Static and zero, in one huge page: only the part that lines reach is
// touched, at the cost of one page fault.
constexpr std::int64_t kNotedStarts = kHugePageSize / sizeof(std::size_t);
char g_noted_raw[2 * kHugePageSize];
std::size_t *g_noted = nullptr; // inside g_noted_raw, placed at the first load

// Scanning a line needs its first few cache lines; asking for those of a line a
// few lines ahead hides the wait for memory.
constexpr std::int64_t kPrefetchAhead = 8;

void prefetch_line(const char *line)
{
#if defined(__GNUC__)
    __builtin_prefetch(line);
    __builtin_prefetch(line + 64);
    __builtin_prefetch(line + 128);
#else
    (void)line;
#endif
}

// Counts the line of `length` characters at `start` and ends it: with its NUL when
// its start and the next are noted, so that the second pass need not touch its end
// out of memory, otherwise with a line feed for the second pass to search.
void count_line(std::size_t start, std::size_t length, LineCounts *counts)
{
    if (counts->lines < kNotedStarts)
        g_noted[counts->lines] = start;
    g_block[start + length] = counts->lines < kNotedStarts - 1 ? '\0' : '\n';
    ++counts->lines;
    counts->long_lines += length >= kShortestCharacterLine ? 1 : 0;
}

// Reads the file into the block the way a reader taking at most kLineLimit
// characters up to and including a line feed would split it, while each piece is
// still in the cache: each line's end (its line feed, or a byte put in after
// kLineLimit characters of a cut line or after a last line without a line feed)
// becomes its NUL or, past the noted lines, a line feed. A read that meets the end of the file
// before any character stores nothing. Returns the bytes the block holds, or SIZE_MAX when the
// memory for a growing block is refused.
std::size_t read_lines(std::FILE *file, LineCounts *counts)
{
    std::size_t start = 0;    // where the line being split starts
    std::size_t searched = 0; // its characters known to hold no line feed
    std::size_t end = 0;      // bytes read into the block
    bool file_ended = false;
    for (;;) {
        std::size_t available = end - start;
        std::size_t window = available < kLineLimit ? available : kLineLimit;
        const char *feed = static_cast<const char *>(
            std::memchr(g_block + start + searched, '\n', window - searched));
        if (feed != nullptr) {
            std::size_t length = static_cast<std::size_t>(feed - (g_block + start));
            count_line(start, length, counts);
            start += length + 1;
            searched = 0;
            continue;
        }
        if (available < kLineLimit && !file_ended) {
            searched = window;
            if (end == g_capacity && !grow_block())
                return SIZE_MAX;
            std::size_t room = g_capacity - end;
            std::size_t got =
                std::fread(g_block + end, 1, room < kReadChunk ? room : kReadChunk, file);
            file_ended = got == 0;
            end += got;
            continue;
        }
        if (available == 0)
            return end;
        // A cut, or the last line without a line feed: its end is put in, and
        // what follows a cut moves up one byte to make room for it.
        if (end == g_capacity && !grow_block())
            return SIZE_MAX;
        std::size_t length = window;
        char *line = g_block + start;
        std::memmove(line + length + 1, line + length, available - length);
        ++end;
        count_line(start, length, counts);
        start += length + 1;
        searched = 0;
    }
}

// Turns each line feed left in the `size` bytes of the block into the NUL of its
// line, indexes the lines and keeps the values of each character line, counting the
// lines of the file that give no sheet: the pieces of a cut line, and the empty
// piece after a line of exactly kLineLimit characters, belong to their line.
void index_lines(std::size_t size)
{
    std::size_t start = 0;
    std::int64_t file_lines = 0;
    std::int64_t sheet_lines = 0;
    bool continued = false; // the previous piece was cut from the same line
    bool gives_sheet = false;
    const std::int64_t noted = g_line_count < kNotedStarts ? g_line_count : kNotedStarts;
    for (std::int64_t i = 0; i < g_line_count; ++i) {
        char *line = g_block + start;
        std::size_t length;
        if (i < kNotedStarts - 1) {
            if (i + kPrefetchAhead < noted)
                prefetch_line(g_block + g_noted[i + kPrefetchAhead]);
            length = (i + 1 < noted ? g_noted[i + 1] : size) - 1 - start;
        } else {
            char *feed = static_cast<char *>(std::memchr(line, '\n', size - start));
            length = static_cast<std::size_t>(feed - line);
            *feed = '\0';
        }
        g_starts[i] = start;
        start += length + 1;
        bool character = length >= kShortestCharacterLine &&
                         scan_character_line(line, &g_characters[g_character_count]);
        g_character_count += character ? 1 : 0;
        if (!continued) {
            ++file_lines;
            gives_sheet = false;
        }
        if (character && !gives_sheet) {
            ++sheet_lines;
            gives_sheet = true;
        }
        continued = length == kLineLimit;
    }
    g_skipped_count = file_lines - sheet_lines;
}

// Reads and indexes the file; false when the memory for it is refused.
bool load_lines(std::FILE *file)
{
    // A regular file's block holds its bytes, a byte for each cut (one per
    // kLineLimit bytes at most) and for the end of a last line without a line
    // feed, and room for the read that meets the end of the file. A file that
    // grows while it is read, and one of unknown size, grow the block as they go.
    std::uint64_t size = 0;
    std::size_t capacity = kFirstUnknownBlock;
    if (regular_file_size(file, &size)) {
        if (size > SIZE_MAX / 2)
            return false;
        capacity = static_cast<std::size_t>(size) + static_cast<std::size_t>(size) / kLineLimit + 2;
    }
    if (!allocate_block(capacity))
        return false;
    if (g_noted == nullptr)
        g_noted = reinterpret_cast<std::size_t *>(huge_page_block(g_noted_raw, kHugePageSize));
    LineCounts counts = {0, 0};
    std::size_t length = read_lines(file, &counts);
    if (length == SIZE_MAX)
        return false;
    // Counted first, so that the index and the values are allocated once, in one
    // piece. Both counts are below the block's size, so the sizes cannot overflow.
    static_assert(alignof(CharacterRecord) <= sizeof(std::size_t), "values follow the index");
    std::size_t index_size = static_cast<std::size_t>(counts.lines) * sizeof(std::size_t);
    char *kept = allocate_kept(index_size + static_cast<std::size_t>(counts.long_lines) *
                                                sizeof(CharacterRecord),
                               &g_kept_raw);
    if (kept == nullptr)
        return false;
    g_starts = reinterpret_cast<std::size_t *>(kept);
    g_characters = reinterpret_cast<CharacterRecord *>(kept + index_size);
    g_line_count = counts.lines;
    index_lines(length);
    return true;
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
    release_load();
    // The reads go straight into the block; a stream buffer would only copy twice.
    std::setvbuf(file, nullptr, _IONBF, 0);
    bool loaded = load_lines(file);
    // A directory opens on some systems and then fails to read: that, like any
    // read error, means the file could not be used.
    bool failed = loaded && std::ferror(file) != 0;
    // Taken from the handle, not the name: this is the file whose lines are kept.
    bool identity_known = file_identity(file, &g_identity);
    std::fclose(file); // read only: nothing to lose on close
    if (!loaded || failed) {
        release_load();
        if (failed) {
            write_open_error(path);
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
    if (g_skipped_count > 0) {
        write_text("Skipped ");
        write_text(g_skipped_count);
        write_text(" line(s) that are not character lines\n");
    }
    return true;
}

const char *stored_line(std::int64_t index)
{
    return g_block + g_starts[index];
}

std::int64_t line_count()
{
    return g_line_count;
}

const CharacterRecord &stored_character(std::int64_t index)
{
    return g_characters[index];
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
