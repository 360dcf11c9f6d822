// The line splitter: reads a file in pieces through a buffer of its own and hands
// each of its lines to a sink, cut where a line is too long. The load and the
// report's copy check both read a file through it, one at a time.
#include "convert/line_splitter.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace
{

// The splitter's buffer, which a file is read through: a line still open at the end
// of a read moves to its start, and the next read fills the rest. A line open there
// has fewer than kLineLimit characters, so a read always has room; the last byte is
// kept for the NUL put after a cut or a last line without a line feed.
constexpr std::size_t kReadBufferSize = std::size_t{1} << 18;
static_assert(kReadBufferSize > 2 * kLineLimit, "a read has room beside an open line");
char g_buffer[kReadBufferSize];
std::size_t g_piece_size = kReadBufferSize;

} // namespace

bool split_lines(std::FILE *file, std::size_t limit, LineSink sink, void *context)
{
    std::size_t start = 0;    // where the line being split starts in the buffer
    std::size_t searched = 0; // its characters known to hold no line feed
    std::size_t end = 0;      // bytes in the buffer
    std::size_t taken = 0;    // bytes read from the file
    bool file_ended = false;
    for (;;) {
        std::size_t available = end - start;
        std::size_t window = available < kLineLimit ? available : kLineLimit;
        char *line = g_buffer + start;
        char *feed = static_cast<char *>(std::memchr(line + searched, '\n', window - searched));
        if (feed != nullptr) {
            std::size_t length = static_cast<std::size_t>(feed - line);
            *feed = '\0';
            if (!sink(line, length, context))
                return false;
            start += length + 1;
            searched = 0;
            continue;
        }
        if (available < kLineLimit && !file_ended) {
            std::memmove(g_buffer, line, available);
            start = 0;
            end = available;
            searched = window;
            std::size_t want = kReadBufferSize - 1 - end;
            want = want < g_piece_size ? want : g_piece_size;
            want = want < limit - taken ? want : limit - taken;
            std::size_t got = want == 0 ? 0 : std::fread(g_buffer + end, 1, want, file);
            file_ended = got == 0;
            end += got;
            taken += got;
            continue;
        }
        if (available == 0)
            return true;
        // A cut, or the last line without a line feed: its NUL stands in for the
        // first byte of what follows while the sink reads it.
        char after = line[window];
        line[window] = '\0';
        bool going_on = sink(line, window, context);
        line[window] = after;
        if (!going_on)
            return false;
        start += window;
        searched = 0;
    }
}

void set_read_piece_size(std::size_t size)
{
    g_piece_size = size == 0 ? kReadBufferSize : size;
}
