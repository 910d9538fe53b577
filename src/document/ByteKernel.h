#pragma once
// The instructions the byte conversions scan with: 64 bytes at a time with AVX-512 and its byte
// compress (the unescape; the rest as AVX2), 32 with AVX2, 16 with SSE2 (which every amd64
// processor has), a byte at a time elsewhere. The widest one the processor runs is chosen once, at
// first use; the others stay callable, so that each path can be checked against the scalar one.

#include <vector>

enum class ByteKernel { Scalar, Sse2, Avx2, Avx512 };

ByteKernel widestByteKernel();
// Every kernel this processor runs, the scalar one first.
std::vector<ByteKernel> runnableByteKernels();
const char *byteKernelName(ByteKernel kernel);
