#include "language/VxEditLangConfigReader.h"

#include "language/VxEditLangConfig.h"

int VxEditLangConfigReader::Load(VxEditLangConfig& config)
{
    if (resetFirst_)
        config.ResetDefaults();
    return Read(config);
}
