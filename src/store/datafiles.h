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

// Replaces the whole file at once: a temporary file in the same folder, flushed to disk and
// renamed over the old one. Returns false, leaving any old file as it was, when that fails.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);
