#pragma once

#include "engine/VxScrivo.h"

// A document model whose colouring can be started afresh, so that every
// round of a benchmark colours a text it has never coloured.
class BenchModel : public VxScrivo {
public:
    void ForgetColouring() { ResetColouring(); }

protected:
    ~BenchModel() override = default;
};
