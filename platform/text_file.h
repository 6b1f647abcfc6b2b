// Text files over Win32 file handles, with the line-end handling of a C runtime's text mode, without a C runtime.
//
// Reading: a CR LF pair arrives as one LF, a CR not followed by LF arrives as it is, and a Ctrl-Z (0x1A) ends the
// file. Writing: every LF goes into the file as CR LF. Both kinds of opening share the file for reading and
// writing with other programs. A TEXT_FILE is owned by its caller (usually a stack or static record); after a
// successful open it must be closed with CloseTextFile, which also writes out what is still buffered.
#ifndef PLATFORM_TEXT_FILE_H
#define PLATFORM_TEXT_FILE_H

#include "platform/win32.h"

#define TEXT_FILE_BUFFER_SIZE 512

typedef struct TEXT_FILE {
  HANDLE handle;
  BOOL failed;     // a read, write or close went wrong; sticky
  BOOL writing;    // opened by CreateTextFile: buffer holds bytes waiting to be written
  BOOL ended;      // reading met the end of the file or a Ctrl-Z
  DWORD count;     // bytes held in buffer (read: fetched; write: waiting to be written)
  DWORD position;  // next byte of buffer to hand out when reading
  BYTE buffer[TEXT_FILE_BUFFER_SIZE];
} TEXT_FILE;

// Opens an existing file for reading. FALSE when it cannot be opened; the record then needs no closing.
BOOL OpenTextFileForReading(TEXT_FILE *file, LPCSTR path);

// Creates the file, or empties it when it exists, for reading and writing. FALSE when that fails.
BOOL CreateTextFile(TEXT_FILE *file, LPCSTR path);

// Reads one piece: the characters up to and including the next LF, at most limit - 1 of them, NUL-terminated in
// piece (limit >= 2). Returns the number of characters read, 0 at the end of the file, or -1 when reading failed
// (the piece is then empty). A NUL byte in the file counts as a failed read: such a file is not text, and
// handing on a line cut at the NUL would lose the rest of it.
int ReadTextPiece(TEXT_FILE *file, LPSTR piece, int limit);

// Writes a NUL-terminated text. FALSE once any write to this file has failed; nothing more is written then.
BOOL WriteText(TEXT_FILE *file, LPCSTR text);

// Writes out what is buffered and closes the handle. FALSE when that, or anything before, failed.
BOOL CloseTextFile(TEXT_FILE *file);

#endif
