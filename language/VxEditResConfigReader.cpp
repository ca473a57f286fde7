#include "language/VxEditResConfigReader.h"

#include "language/VxEditLangConfig.h"
#include "mvc/CArchive.h"
#include "resources/QuilletResources.h"

int VxEditResConfigReader::ReadBytes(std::string_view bytes, VxEditLangConfig& config)
{
    if (bytes.empty())
        return 0;
    auto archive = tarrow::foundation::CArchive::ForLoading(bytes);
    return config.Serialize(archive) ? 1 : 0;
}

int VxEditResConfigReader::Read(VxEditLangConfig& config)
{
    return ReadBytes(quillet::resources::Find(kResourceType, id_), config);
}
