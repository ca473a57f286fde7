// The libFuzzer program of one target, named by QUILLET_FUZZ_TARGET.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return QUILLET_FUZZ_TARGET(data, size);
}
