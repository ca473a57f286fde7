#pragma once

#include "language/VxEditLangConfigReader.h"

#include <string_view>

// Reads a configuration from its binary form built into the program (the
// resource of type "VxEditLangConfig" with the reader's id).
class VxEditResConfigReader : public VxEditLangConfigReader {
public:
    static constexpr const char* kResourceType = "VxEditLangConfig";

    explicit VxEditResConfigReader(int id) : VxEditLangConfigReader(true), id_(id) {}

    // Reads a binary form; 0, with the configuration unchanged, when it is
    // empty, truncated or inconsistent.
    static int ReadBytes(std::string_view bytes, VxEditLangConfig& config);

    int Id() const { return id_; }

protected:
    // 0 when the program has no such resource or it does not read.
    int Read(VxEditLangConfig& config) override;

private:
    int id_;
};
