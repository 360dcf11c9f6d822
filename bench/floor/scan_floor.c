/* The scanning floor, the yardstick of the load-only benchmarks: the streaming
 * floor's reads, with each line also scanned for the 21 numbers of a character
 * line by the plainest digit loop (no sign, no wrap check, no check that a line
 * is one at all), kept in a record that each line overwrites. A line left open at
 * a piece's end moves to the buffer's start and the next read fills the rest, as
 * any loader that scans lines must. Linux only. */
#include "stream_load.h"

#define NUMBERS 21
#define NAME_AFTER 3 /* the name stands after the first three numbers */

static unsigned record[NUMBERS];

/* Reads the numbers of the line from `p` to its end `end`, each the digits up to
 * the next byte that is none, which is skipped; the name, to the next tab. */
static void scan_line(const char *p, const char *end)
{
    int i;

    for (i = 0; i < NUMBERS && p < end; i++) {
        unsigned value = 0;
        if (i == NAME_AFTER) {
            while (p < end && *p != '\t')
                p++;
            p++;
        }
        while (p < end && *p >= '0' && *p <= '9')
            value = value * 10 + (unsigned)(*p++ - '0');
        record[i] = value;
        p++;
    }
}

/* Scans every line of the file; the count of lines, or -1 when it cannot be read. */
static long long floor_scan_lines(const char *path)
{
    static char buffer[2 * FLOOR_PIECE];
    long long count = 0;
    size_t open_line = 0; /* bytes of a line left open at the buffer's start */
    ssize_t got;
    int fd = open(path, O_RDONLY);

    if (fd < 0)
        return -1;
    while ((got = read(fd, buffer + open_line, FLOOR_PIECE)) > 0) {
        const char *p = buffer, *end = buffer + open_line + got, *feed;
        while ((feed = memchr(p, '\n', (size_t)(end - p))) != NULL) {
            scan_line(p, feed);
            count++;
            p = feed + 1;
        }
        open_line = (size_t)(end - p);
        if (open_line > sizeof buffer - FLOOR_PIECE)
            open_line = 0; /* a line longer than the room is not scanned */
        memmove(buffer, p, open_line);
    }
    close(fd);
    if (got < 0)
        return -1;
    if (open_line > 0) {
        scan_line(buffer, buffer + open_line);
        count++;
    }
    return count;
}

int main(void)
{
    char path[1024];
    long long count;

    if (!floor_ask_path(path))
        return 0;
    count = floor_scan_lines(path);
    if (count < 0)
        return 0;
    printf("Successfully read %lld line(s) from \"%s\"; the last one's first number: %u\n",
           count, path, record[0]);
    return 0;
}
