#pragma once
// Which characters a code page can hold, as a table built once per code page: the checker asks
// for every character of a document and cannot afford a converter call for each.

#include "platform/AnsiCodec.h"

#include <bitset>
#include <memory>

class CodePageRepertoire {
public:
    // Shared and never changed once built; safe to use from any thread.
    static const CodePageRepertoire &of(const platform::AnsiCodec &codec);

    // Whether the character survives encoding: encode() gives it back without "?" or an error.
    bool holds(char32_t c) const { return c < 0x80 || (c < 0x10000 && m_basic[c]) || (c >= 0x10000 && m_beyond); }

private:
    explicit CodePageRepertoire(const platform::AnsiCodec &codec);
    std::bitset<0x10000> m_basic;
    bool m_beyond = false; // characters past U+FFFF: one answer for all of them
};
