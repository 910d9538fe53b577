// The vector kernels of the byte conversions against the scalar one: every conversion gives the
// same bytes with every kernel the processor runs. The first input byte moves the reader's cuts.

#include "FuzzSupport.h"
#include "support/KernelConversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const qsizetype pieceBytes = 1 + (raw.isEmpty() ? 0 : static_cast<unsigned char>(raw.front()) % 64);
    const KernelConversions scalar = KernelConversions::of(raw, ByteKernel::Scalar, pieceBytes);
    for (const ByteKernel kernel : runnableByteKernels()) {
        const KernelConversions vector = KernelConversions::of(raw, kernel, pieceBytes);
        if (const char *differs = vector.firstDifference(scalar)) {
            std::fprintf(stderr, "kernel %s: ", byteKernelName(kernel));
            fuzz::expect(differs, false);
        }
    }
    return 0;
}
