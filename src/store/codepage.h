#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every data file is Windows-1252 text, so that files made on Windows open here unchanged.
// The code page maps each byte to exactly one character, which the parser relies on.

QString DecodeWindows1252(QByteArrayView bytes);

// Raises a KalimoError naming the text when a character has no place in the code page:
// such text is refused, never silently replaced.
QByteArray EncodeWindows1252(const QString& text);

bool FitsWindows1252(const QString& text);
