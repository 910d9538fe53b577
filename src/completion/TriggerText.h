#pragma once
// Small text operations of the completion triggers. They work on the editor's UTF-8 bytes, so
// that lengths are document positions; separators and markers are ASCII and compare without
// regard to ASCII case, which leaves the bytes of Chinese characters untouched.

#include <QByteArray>
#include <QByteArrayView>

// The text after the last occurrence of separator (non-empty); the whole text when it does not occur.
QByteArray AfterLast(QByteArrayView text, QByteArrayView separator);

// The text after the last space, trimmed of spaces (with no space: the whole text less its tabs);
// that text with every CR LF pair removed when it contains marker, else the empty text.
QByteArray LastTokenWith(QByteArrayView text, QByteArrayView marker);

// text trimmed of spaces (only spaces, as the trigger rules trim).
QByteArray TrimSpaces(QByteArrayView text);
