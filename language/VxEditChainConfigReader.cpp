#include "language/VxEditChainConfigReader.h"

int VxEditChainConfigReader::Read(VxEditLangConfig& config)
{
    int result = 1;
    for (const auto& reader : readers_) {
        if (reader && !reader->Load(config))
            result = 0;
    }
    return result;
}
