// The report's opening protocol: a report name is checked before anything is
// opened for writing, opened without being emptied, checked again through the
// open handle, and only then emptied.
#ifndef TAMSEL_CONVERT_OPEN_REPORT_H
#define TAMSEL_CONVERT_OPEN_REPORT_H

#include <cstddef>
#include <cstdio>

// Opens `report_name` for a dump, emptied, or prints why not and returns nullptr.
// The name is checked before anything is opened for writing: the save file is
// refused, and so is a copy of it (a file among whose first 64 KiB a line is a
// character line) and a name that would make a stream inside the save file. The
// report is then opened without being emptied, and checked again by its handle, in
// case the name has come to lead to the save file or to another file meanwhile;
// only then is it emptied. A name whose file appears, goes or is replaced between
// the check and the open is checked afresh, up to three rounds in all. A file that
// cannot be checked (another process holds it, or a read fails before a character
// line is found) is left whole: "Could not open or create".
std::FILE *open_report(const char *report_name);

// Prints the error of a report that could not be opened or created, with `name`'s
// `length` bytes as they are, a NUL among them included: what the menus show for a
// typed name that no file can have.
void write_open_or_create_error(const char *name, std::size_t length);

// Test seam: the copy check's reads fail once they have read `bytes` bytes of the
// file, as a read error would end them (SIZE_MAX, the start: they never do).
void set_copy_check_failure(std::size_t bytes);

#endif
