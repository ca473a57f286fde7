// libFuzzer program for the ini store and the ini configuration reader.
#include "LanguageFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzIniFile(data, size);
}
