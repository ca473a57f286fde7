#pragma once

#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigReader.h"
#include "language/VxEditLangConfigWriter.h"
#include "mvc/IRefCount.h"

#include <map>
#include <string>

// The named language configurations of the process. A configuration is made
// and read on the first request for its name and stays loaded until exit;
// every text model that selects the name shares it.
class VxEditLangConfigRegistry {
public:
    // The one registry of the process, made on first use holding "Default".
    static VxEditLangConfigRegistry& Instance();

    VxEditLangConfigRegistry();
    VxEditLangConfigRegistry(const VxEditLangConfigRegistry&) = delete;
    VxEditLangConfigRegistry& operator=(const VxEditLangConfigRegistry&) = delete;

    // Registers the store that the name is read from and, when writer is not
    // null, the one it is saved to; each replaces one registered before.
    void Register(const std::string& name, VxEditLangConfigReader* reader, VxEditLangConfigWriter* writer = nullptr);

    // The loaded configuration of that name (borrowed: the registry keeps
    // its reference); else, when a reader is registered, a new configuration
    // read by it (kept even when the read failed); else null.
    VxEditLangConfig* Get(const std::string& name);

    // Saves the loaded configuration with its writer: 1 on success, 0 when
    // it failed or there is no such configuration or writer.
    int Save(const std::string& name);
    // Saves every loaded configuration that has a writer; 1 when any was saved.
    int Save();

    bool IsLoaded(const std::string& name) const { return loaded_.count(name) != 0; }

    // Back to the state at creation: only "Default", nothing registered.
    // Tests use it to start from a clean registry.
    void Reset();

private:
    using Reader = tarrow::foundation::RefPtr<VxEditLangConfigReader>;
    using Writer = tarrow::foundation::RefPtr<VxEditLangConfigWriter>;
    using Config = tarrow::foundation::RefPtr<VxEditLangConfig>;

    std::map<std::string, Config> loaded_;
    std::map<std::string, Reader> readers_;
    std::map<std::string, Writer> writers_;
};
