// Text files of EPD lines, read by the perft suite and the EPD suites. A file
// that cannot be opened or read ends the program the way a failed conversion
// does: the message on standard error and exit code 1.
#pragma once
#include <cstdio>
#include <string>

// Opens the file for reading; a missing file, a directory or an empty name
// ends the program.
FILE* OpenEpdFile(const std::string& name);
// Reads one text line: it ends at LF, CR or CR LF, or at the end of the file.
std::string ReadFileLine(FILE* file);
bool AtEndOfFile(FILE* file);
