// A small file read whole and replaced whole, safely whatever stands in its
// place: a device, a named pipe, a folder, a link, a file far too large.
#pragma once
#include <cstddef>
#include <string>

// Why path does not lead to a regular file (through any links): the error,
// or what stands there instead; empty when it does. Opening anything else
// may wait for ever (a named pipe) or never reach an end (a device).
std::string whyNotARegularFile(const char* path);

enum class ReadResult { Read, Missing, Refused };

struct WholeFile {
    ReadResult result = ReadResult::Read;
    std::string text;   // all of it, when read
    std::string reason; // why it is missing or was refused, for a one-line message
};

// Reads a regular file (through any links) of at most maxBytes. Anything
// else is refused without being opened, so a device or a pipe can neither
// feed it without end nor keep it waiting.
WholeFile readWholeFile(const std::string& path, size_t maxBytes);
// Reads an open descriptor to its end (standard input, say), refusing it as
// soon as it goes past maxBytes.
WholeFile readWholeStream(int fd, size_t maxBytes);

struct FileReplacement {
    std::string target; // the file written: the path, or where its links lead
    int error = 0;      // errno of the step that failed; 0 when replaced
};

// Replaces the file's contents with text so that, at every moment and
// whoever else saves at the same time, it holds one whole version: the text
// goes into a new file of a unique name beside it, reaches the disk, takes
// the old file's owner and permissions, and is renamed over it. A link stays
// a link: what it leads to is replaced. A file its owner made read-only is
// refused (EACCES). On failure the old file is untouched and no temporary
// file is left.
FileReplacement replaceFile(const std::string& path, const std::string& text);
