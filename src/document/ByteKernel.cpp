#include "document/ByteKernel.h"

namespace {

ByteKernel detectWidest()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    // The check includes whether the system saves the wide registers on a task switch.
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
        __builtin_cpu_supports("avx512vbmi2"))
        return ByteKernel::Avx512;
    if (__builtin_cpu_supports("avx2"))
        return ByteKernel::Avx2;
    return ByteKernel::Sse2;
#else
    return ByteKernel::Scalar;
#endif
}

} // namespace

ByteKernel widestByteKernel()
{
    static const ByteKernel widest = detectWidest();
    return widest;
}

std::vector<ByteKernel> runnableByteKernels()
{
    std::vector<ByteKernel> kernels{ByteKernel::Scalar};
    for (const ByteKernel k : {ByteKernel::Sse2, ByteKernel::Avx2, ByteKernel::Avx512}) {
        if (static_cast<int>(k) <= static_cast<int>(widestByteKernel()))
            kernels.push_back(k);
    }
    return kernels;
}

const char *byteKernelName(ByteKernel kernel)
{
    switch (kernel) {
    case ByteKernel::Sse2: return "Sse2";
    case ByteKernel::Avx2: return "Avx2";
    case ByteKernel::Avx512: return "Avx512";
    case ByteKernel::Scalar: break;
    }
    return "Scalar";
}
