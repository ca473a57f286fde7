// libFuzzer program for loading and saving files of arbitrary bytes.
#include "LanguageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzFileLoad(data, size);
}
