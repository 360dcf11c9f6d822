/* The physical limit of a load, kept as the second yardstick of the benchmarks:
 * asks for the save file like the tool, reads a file of any size into one block
 * sized from it (grown for a file of unknown size) that asks for transparent huge
 * pages, and splits it into lines with memchr. No conversion, no index, no output
 * beyond the line count. Linux only. */
#define _GNU_SOURCE
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>

#define HUGE_PAGE (2UL << 20)
#define CHUNK (1UL << 20)

int main(void)
{
    char path[1024];
    FILE *file;
    struct stat status;
    size_t capacity = 4 * CHUNK, size = 0, got;
    long long count = 0;
    char *raw, *block, *p, *end;

    printf("Please enter the path to your \"athena.txt\":\n");
    fflush(stdout);
    if (scanf("%1023s", path) != 1)
        return 0;
    if (strcasecmp(path, "athena.txt") == 0)
        strcpy(path, "athena.txt");
    file = fopen(path, "r");
    if (file == NULL)
        return 0;
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode))
        capacity = (size_t)status.st_size + CHUNK;
    /* Whole huge pages: a huge page serves only where it lies inside the block. */
    capacity = (capacity + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    raw = malloc(capacity + HUGE_PAGE);
    if (raw == NULL)
        return 1;
    block = (char *)(((uintptr_t)raw + HUGE_PAGE - 1) & ~(uintptr_t)(HUGE_PAGE - 1));
    madvise(block, capacity, MADV_HUGEPAGE);
    setvbuf(file, NULL, _IONBF, 0);
    for (;;) {
        if (size == capacity) { /* a file that grows, or of unknown size */
            size_t offset = (size_t)(block - raw);
            raw = realloc(raw, 2 * capacity + HUGE_PAGE);
            if (raw == NULL)
                return 1;
            block = raw + offset;
            capacity *= 2;
        }
        got = fread(block + size, 1, capacity - size, file);
        if (got == 0)
            break;
        size += got;
    }
    fclose(file);
    for (p = block, end = block + size; p < end;) {
        char *feed = memchr(p, '\n', (size_t)(end - p));
        count++;
        if (feed == NULL)
            break;
        *feed = '\0';
        p = feed + 1;
    }
    printf("Successfully read %lld line(s) from \"%s\"\n", count, path);
    free(raw);
    return 0;
}
