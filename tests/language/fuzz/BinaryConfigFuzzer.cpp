// libFuzzer program for the binary form of a language configuration.
#include "LanguageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzBinaryConfig(data, size);
}
