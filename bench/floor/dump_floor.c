/* The floor of a run with dumps, the yardstick of the dump benchmarks: the
 * streaming floor's load, then, for each report the run asks for, opens it with
 * truncation, writes BYTES bytes in 64 KiB pieces and closes it. BYTES is the
 * size of the tool's report of the same run; scripts/bench-e2e gives the size of
 * the reference report. The text is lines of 'x', which never scan as character
 * lines, so the reports can never be taken for save files.
 * Answers, one word each, as the tool's menu takes them: 1 and a report name for
 * a full dump, 3 to quit. Usage: tamsel_dump_floor BYTES. Linux only. */
#include <stdlib.h>

#include "stream_load.h"

#define WRITE_PIECE (64 * 1024)
#define TEXT_LINE 64

/* Writes one report of `bytes` bytes of `text` in 64 KiB pieces; 0 on failure. */
static int write_report(const char *name, const char *text, long long bytes)
{
    int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);

    if (fd < 0)
        return 0;
    while (bytes > 0) {
        size_t size = bytes < WRITE_PIECE ? (size_t)bytes : WRITE_PIECE;
        ssize_t written = write(fd, text, size);
        if (written <= 0) {
            close(fd);
            return 0;
        }
        bytes -= written;
    }
    return close(fd) == 0;
}

int main(int argc, char **argv)
{
    static char text[WRITE_PIECE];
    char path[1024], word[1024];
    long long bytes;
    char *end;
    size_t i;

    if (argc != 2 || (bytes = strtoll(argv[1], &end, 10)) < 0 || *end != '\0' || end == argv[1]) {
        fprintf(stderr, "usage: tamsel_dump_floor BYTES\n");
        return 2;
    }
    for (i = 0; i < sizeof text; i++)
        text[i] = i % TEXT_LINE == TEXT_LINE - 1 ? '\n' : 'x';
    if (!floor_load(path))
        return 0;
    while (scanf("%1023s", word) == 1 && strcmp(word, "3") != 0) {
        /* Only full dumps are floored: any other answer means the inputs changed. */
        if (strcmp(word, "1") != 0 || scanf("%1023s", word) != 1) {
            fprintf(stderr, "tamsel_dump_floor: expected 1 and a report name, or 3\n");
            return 2;
        }
        if (!write_report(word, text, bytes)) {
            perror(word);
            return 1;
        }
        printf("Successfully wrote %lld byte(s) to \"%s\"\n", bytes, word);
    }
    return 0;
}
