#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Between two runs the accounts file and each account's two files are kept only as scrambled
// copies (the name + ".cry"): every byte shifted by the matching byte of a repeating key,
// modulo 256. It keeps the journals from being read at a glance; it is not encryption.

inline constexpr char AccountsFileKey[] = "moulinet";
inline constexpr char AccountFilesKey[] = "tambourinage";

enum class ScrambleDirection { Scramble, Unscramble };

void TransformBytes(QByteArray& bytes, QByteArrayView key, ScrambleDirection direction);

// Converts source into target (any old target replaced), then deletes source. The target is
// written under a temporary name, flushed and renamed into place before the source goes, so
// whatever fails, neither is lost. Returns false, changing nothing, when source is missing;
// raises a KalimoError when the conversion fails.
bool ConvertDataFile(const QString& source, const QString& target, QByteArrayView key,
                     ScrambleDirection direction);

// The plain file (found without regard to case) to its name + ".cry", an old copy replaced
// whatever the case of its name; and back. Each returns false, changing nothing, when the file
// to convert is missing.
bool ScrambleDataFile(const QString& plainName, QByteArrayView key);
bool UnscrambleDataFile(const QString& plainName, QByteArrayView key);

// Whether anything stands at a file's name, a folder or a dangling link included.
bool StandsThere(const QString& path);
