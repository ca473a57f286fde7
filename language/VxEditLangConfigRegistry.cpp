#include "language/VxEditLangConfigRegistry.h"

using tarrow::foundation::RefPtr;

VxEditLangConfigRegistry& VxEditLangConfigRegistry::Instance()
{
    static VxEditLangConfigRegistry registry;
    return registry;
}

VxEditLangConfigRegistry::VxEditLangConfigRegistry()
{
    Reset();
}

void VxEditLangConfigRegistry::Reset()
{
    loaded_.clear();
    readers_.clear();
    writers_.clear();
    loaded_["Default"] = Config::Adopt(new VxEditLangConfig("Default"));
}

void VxEditLangConfigRegistry::Register(const std::string& name, VxEditLangConfigReader* reader,
                                        VxEditLangConfigWriter* writer)
{
    readers_[name] = Reader(reader);
    if (writer)
        writers_[name] = Writer(writer);
}

VxEditLangConfig* VxEditLangConfigRegistry::Get(const std::string& name)
{
    if (auto it = loaded_.find(name); it != loaded_.end())
        return it->second.Get();
    auto reader = readers_.find(name);
    if (reader == readers_.end() || !reader->second)
        return nullptr;
    Config config = Config::Adopt(new VxEditLangConfig(name));
    reader->second->Load(*config);
    loaded_[name] = config;
    return config.Get();
}

int VxEditLangConfigRegistry::Save(const std::string& name)
{
    auto config = loaded_.find(name);
    auto writer = writers_.find(name);
    if (config == loaded_.end() || writer == writers_.end() || !writer->second)
        return 0;
    return writer->second->Save(*config->second) ? 1 : 0;
}

int VxEditLangConfigRegistry::Save()
{
    int result = 0;
    for (const auto& [name, config] : loaded_) {
        if (writers_.count(name) != 0)
            result |= Save(name);
    }
    return result;
}
