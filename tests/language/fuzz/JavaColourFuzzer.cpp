// libFuzzer program for incremental Java colouring.
#include "LanguageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzJavaColour(data, size);
}
