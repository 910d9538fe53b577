#pragma once
// The fixed conversions' loops over bytes, one set per kernel: the scalar ones find each byte
// that matters with memchr or a table, the vector ones test 16 or 32 bytes at a time and copy
// whole blocks between them. Every set gives the same bytes.

#include "document/ByteKernel.h"
#include "document/DefineEscapeSteps.h"

struct ByteLoops {
    // The bytes the escape adds to [p, end).
    qsizetype (*entityGrowth)(const char *p, const char *end);
    // The stored form of [p, end) written at o, where outEnd - o is the input's size and its
    // growth; returns the output's end.
    char *(*escape)(const char *p, const char *end, char *o, const char *outEnd);
    // The escape and the tag restore of UTF-8 text [p, end) in one pass, written at o, where
    // outEnd - o is as for escape; returns the output's end.
    char *(*escapeDefine)(const char *p, const char *end, char *o, const char *outEnd);
    // The readable form of [p, end) written at o, in a buffer apart at least as long as the input.
    char *(*unescapeApart)(const char *p, const char *end, char *o);
    // The readable form of [base, end) written over it; returns its new end.
    char *(*unescapeInPlace)(char *base, const char *end);
    // The tag-restore table over the restorer's text; returns the text's new end.
    char *(*restoreTags)(entity_steps::TagRestorer restorer);
};

// A kernel the processor cannot run gives the widest one it can.
const ByteLoops &byteLoops(ByteKernel kernel);
