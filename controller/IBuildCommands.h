#pragma once

#include "mvc/ICommandTarget.h"

// The Build commands (Compile, Execute, Debug) of one edit window, owned by
// its controller; the Java tools supply them.
class IBuildCommands : public tarrow::foundation::ICommandTarget {
public:
    ~IBuildCommands() override = default;
};
