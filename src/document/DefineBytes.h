#pragma once
// The fixed conversions of define text on bytes, one pass each, for large documents and the
// command-line tool: UTF-8, or GBK where the comment says so. Each takes the kernel to scan with;
// every kernel gives the same bytes, and the default is the widest the processor runs.

#include "document/ByteKernel.h"

#include <QByteArray>
#include <QByteArrayView>

QByteArray unescapeDefineUtf8(const QByteArray &utf8, ByteKernel kernel = widestByteKernel());
QByteArray escapeEntitiesUtf8(const QByteArray &utf8, ByteKernel kernel = widestByteKernel());
// Turns the define language's tags back into markup (the tag-restore table) in place.
void restoreTagsUtf8(QByteArray &escaped, ByteKernel kernel = widestByteKernel());
// The stored form without site rules: escapeEntitiesUtf8 and then restoreTagsUtf8, in one pass.
QByteArray escapeDefineUtf8(const QByteArray &utf8, ByteKernel kernel = widestByteKernel());
// The readable form written over the stored one, as the text only shrinks. The bytes may be
// UTF-8 or valid GBK: in both an "&" stands alone, so the letters after it are characters too.
void unescapeDefineInPlace(QByteArray &text, ByteKernel kernel = widestByteKernel());
// The readable form of stored text (UTF-8 or GBK) handed out a piece at a time, so that it
// never needs to exist whole. A piece ends after a line end, which no entity spans, or at the
// end of the text. The stored bytes must outlive the reader.
class UnescapingReader {
public:
    explicit UnescapingReader(QByteArrayView stored, qsizetype pieceBytes = qsizetype(1) << 20,
                              ByteKernel kernel = widestByteKernel());
    // It would be gone before the reading.
    UnescapingReader(QByteArray &&, qsizetype = 0, ByteKernel = ByteKernel::Scalar) = delete;
    // The length of the whole readable form, counted without building it.
    qsizetype readableSize() const;
    // The readable form of the next piece; empty once the text is used up.
    QByteArray next();

private:
    QByteArrayView m_stored;
    QByteArrayView m_rest;
    qsizetype m_pieceBytes;
    ByteKernel m_kernel;
};

// The stored form of valid GBK bytes without a rule file, without decoding them: GBK never
// hides "<", ">", "&" or '"' inside a two-byte character (GbkBytes.h). The result is the bytes
// that decoding, escaping and encoding again would give.
QByteArray escapeDefineGbk(const QByteArray &gbk, ByteKernel kernel = widestByteKernel());
