#pragma once

#include "language/VxEditLangConfigReader.h"

#include <string>

class VxEditIniFile;

// Reads a configuration from an ini file ("java.ini"). A missing or
// unreadable file reads as empty, which leaves the ResetDefaults state with
// MatchCase 1; reading never fails.
class VxEditIniConfigReader : public VxEditLangConfigReader {
public:
    explicit VxEditIniConfigReader(std::string path) : VxEditLangConfigReader(true), path_(std::move(path)) {}

    // The parts, in the order Load reads them.
    static bool ReadColorGroups(const VxEditIniFile& file, VxEditLangConfig& config);
    static bool ReadParser(const VxEditIniFile& file, VxEditLangConfig& config);
    static bool ReadFont(const VxEditIniFile& file, VxEditLangConfig& config);
    static bool ReadKeywords(const VxEditIniFile& file, VxEditLangConfig& config);
    static bool ReadEditor(const VxEditIniFile& file, VxEditLangConfig& config);
    // All parts, stopping at the first that fails.
    static int ReadFrom(const VxEditIniFile& file, VxEditLangConfig& config);

    const std::string& Path() const { return path_; }

protected:
    int Read(VxEditLangConfig& config) override;

private:
    std::string path_;
};
