#pragma once

#include <QByteArray>
#include <QString>

// Data files are named as the program has always named them: a bare name or one behind "./" or
// ".\", relative to the working directory. Their names are matched without regard to letter
// case, as on the system the files come from, so that an account opened as "paul" still finds
// "Paul.ini".

// The path to open for a data file name: the existing file whose name matches without regard
// to case, or the plain name (prefix removed) when none exists yet.
QString ResolveDataPath(const QString& name);

bool DataFileExists(const QString& name);

// Whether the file (or whatever stands at that path) can be opened and read to its end.
bool IsReadableFile(const QString& path);

// Replaces the whole file at once: a temporary file in the same folder, flushed to disk, renamed
// over the old one, and the folder flushed so that the new name survives a power cut. Returns
// false when that fails; the old file then holds what it held, or (when only the last flush of
// the folder failed) already the new bytes. A file that is replaced keeps its permissions; a new
// one gets newFileMode (by default readable by its owner only, as a journal is private).
// The temporary name does not depend on the target's, so a target whose name is as long as the
// system allows can still be written.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, unsigned newFileMode = 0600);

// Writes every byte to the open file, going on after interrupted or short writes, then flushes its
// data to disk. False when any of it fails; the file is left open.
bool WriteAllAndSync(int fd, const QByteArray& bytes);

// The mode the system gives a new file by default (for files made to be shared, such as pictures).
unsigned UsualNewFileMode();

// Flushes a folder's list of names to disk (after a rename, before a deletion that relies on it).
bool SyncFolder(const QString& folder);

// Removes what interrupted writes left in a folder: temporary files that were never renamed
// into place (never the only copy of anything, since a file is replaced or deleted only once
// its new copy is in place). Those of earlier versions, whose names a person's own copies may
// share, are kept but made readable by their owner only. Returns how many were removed.
int RemoveInterruptedWrites(const QString& folder);
