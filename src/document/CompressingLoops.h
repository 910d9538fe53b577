#pragma once
// The unescape for processors with AVX-512 and its byte permute and compress (VBMI, VBMI2): each
// block of 64 bytes is classified at once, the bytes its entities leave out are squeezed out with
// one instruction and the block is stored whole, so that no branch or store depends on how many
// entities it holds.

// Compiled on amd64 only; the caller checks that the processor has the instructions.
#if defined(__x86_64__)

namespace compressing {

// As ByteLoops::unescapeApart and unescapeInPlace.
char *unescapeApart(const char *p, const char *end, char *o);
char *unescapeInPlace(char *base, const char *end);

} // namespace compressing

#endif
