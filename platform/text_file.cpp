// Text files over CreateFileA, ReadFile, WriteFile and CloseHandle: one implementation for Windows and the simulator.
#include "platform/text_file.h"

static const BYTE kLineFeed = 0x0A;
static const BYTE kCarriageReturn = 0x0D;
static const BYTE kEndOfText = 0x1A;

static void StartRecord(TEXT_FILE *file, HANDLE handle, BOOL writing) {
  file->handle = handle;
  file->writing = writing;
  file->failed = FALSE;
  file->ended = FALSE;
  file->count = 0;
  file->position = 0;
}

static BOOL OpenTextFile(TEXT_FILE *file, LPCSTR path, DWORD access, DWORD disposition) {
  HANDLE handle =
      CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, disposition, FILE_ATTRIBUTE_NORMAL, NULL);
  StartRecord(file, handle, (access & GENERIC_WRITE) != 0);
  return handle != INVALID_HANDLE_VALUE;
}

BOOL OpenTextFileForReading(TEXT_FILE *file, LPCSTR path) {
  return OpenTextFile(file, path, GENERIC_READ, OPEN_EXISTING);
}

BOOL CreateTextFile(TEXT_FILE *file, LPCSTR path) {
  return OpenTextFile(file, path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

// Makes sure a byte is waiting in the buffer. FALSE at the end of the file or after a failure.
static BOOL FillBuffer(TEXT_FILE *file) {
  if (file->position < file->count) return TRUE;
  if (file->ended || file->failed) return FALSE;
  DWORD read = 0;
  if (!ReadFile(file->handle, file->buffer, TEXT_FILE_BUFFER_SIZE, &read, NULL)) {
    file->failed = TRUE;
    return FALSE;
  }
  file->count = read;
  file->position = 0;
  if (read == 0) {
    file->ended = TRUE;
    return FALSE;
  }
  return TRUE;
}

// Next byte of the file as text mode hands it out: -1 at the end, -2 on failure.
static int NextTextByte(TEXT_FILE *file) {
  if (!FillBuffer(file)) return file->failed ? -2 : -1;
  BYTE byte = file->buffer[file->position];
  if (byte == kEndOfText) {
    file->ended = TRUE;
    file->count = 0;
    file->position = 0;
    return -1;
  }
  file->position++;
  if (byte == 0) {
    file->failed = TRUE;
    return -2;
  }
  if (byte == kCarriageReturn) {
    // Only a CR directly before an LF belongs to a line end; the LF may lie in the next block.
    if (FillBuffer(file) && file->buffer[file->position] == kLineFeed) {
      file->position++;
      return kLineFeed;
    }
    if (file->failed) return -2;
  }
  return byte;
}

int ReadTextPiece(TEXT_FILE *file, LPSTR piece, int limit) {
  int length = 0;
  piece[0] = '\0';
  if (file->failed) return -1;
  while (length < limit - 1) {
    int byte = NextTextByte(file);
    if (byte == -2) {
      piece[0] = '\0';
      return -1;
    }
    if (byte == -1) break;
    piece[length++] = (CHAR)byte;
    if (byte == kLineFeed) break;
  }
  piece[length] = '\0';
  return length;
}

static BOOL FlushBuffer(TEXT_FILE *file) {
  if (file->failed) return FALSE;
  if (file->count == 0) return TRUE;
  DWORD written = 0;
  if (!WriteFile(file->handle, file->buffer, file->count, &written, NULL) || written != file->count) {
    file->failed = TRUE;
    return FALSE;
  }
  file->count = 0;
  return TRUE;
}

static BOOL PutByte(TEXT_FILE *file, BYTE byte) {
  if (file->count == TEXT_FILE_BUFFER_SIZE && !FlushBuffer(file)) return FALSE;
  file->buffer[file->count++] = byte;
  return TRUE;
}

BOOL WriteText(TEXT_FILE *file, LPCSTR text) {
  if (file->failed) return FALSE;
  for (; *text != '\0'; text++) {
    BYTE byte = (BYTE)*text;
    if (byte == kLineFeed && !PutByte(file, kCarriageReturn)) return FALSE;
    if (!PutByte(file, byte)) return FALSE;
  }
  return TRUE;
}

BOOL CloseTextFile(TEXT_FILE *file) {
  BOOL written = file->writing ? FlushBuffer(file) : TRUE;
  BOOL closed = CloseHandle(file->handle);
  file->handle = INVALID_HANDLE_VALUE;
  return written && closed && !file->failed;
}
