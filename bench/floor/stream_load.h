/* What the floors share: the prompt for the save file, as the tool asks it, and
 * the streaming load of the streaming and dump floors, which reads the file in
 * 256 KiB pieces through one buffer and counts its lines with memchr, keeping
 * nothing. Linux only. */
#ifndef TAMSEL_BENCH_STREAM_LOAD_H
#define TAMSEL_BENCH_STREAM_LOAD_H

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

#define FLOOR_PIECE (256 * 1024)

/* Asks for the save file and reads one word, as the tool does: any spelling of
 * "athena.txt" means the file of that name here. Returns 0 when no word came. */
static inline int floor_ask_path(char *path)
{
    printf("Please enter the path to your \"athena.txt\":\n");
    fflush(stdout);
    if (scanf("%1023s", path) != 1)
        return 0;
    if (strcasecmp(path, "athena.txt") == 0)
        strcpy(path, "athena.txt");
    return 1;
}

/* Counts the lines of the file: a line ends at its line feed, and a last line
 * without one counts. A line left open at a piece's end needs no copy here, since
 * nothing is kept: it is counted once, at the feed that ends it in a later piece
 * (or at the end of the file). Returns -1 when the file cannot be read. */
static inline long long floor_stream_lines(const char *path)
{
    static char piece[FLOOR_PIECE];
    long long count = 0;
    int line_open = 0;
    ssize_t got;
    int fd = open(path, O_RDONLY);

    if (fd < 0)
        return -1;
    while ((got = read(fd, piece, FLOOR_PIECE)) > 0) {
        const char *p = piece, *end = piece + got, *feed;
        while ((feed = memchr(p, '\n', (size_t)(end - p))) != NULL) {
            count++;
            p = feed + 1;
        }
        line_open = end[-1] != '\n';
    }
    close(fd);
    if (got < 0)
        return -1;
    return count + line_open;
}

/* Asks for the save file, loads it and says how many lines it has; 0 when the
 * run has no file to work on, as the tool would stop there. */
static inline int floor_load(char *path)
{
    long long count;

    if (!floor_ask_path(path))
        return 0;
    count = floor_stream_lines(path);
    if (count < 0)
        return 0;
    printf("Successfully read %lld line(s) from \"%s\"\n", count, path);
    return 1;
}

#endif
