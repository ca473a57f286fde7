#pragma once

#include "language/VxEditLangConfigWriter.h"

#include <string>

class VxEditIniFile;

// Writes a configuration to an ini file, keeping the file's other lines and
// keys that the configuration no longer has. Nothing is written unless every
// part could be, and a file that exists but cannot be read is left alone.
class VxEditIniConfigWriter : public VxEditLangConfigWriter {
public:
    explicit VxEditIniConfigWriter(std::string path) : path_(std::move(path)) {}

    int Save(const VxEditLangConfig& config) override;

    // The parts, in the order Save writes them; each reports whether every
    // value could be written.
    static bool WriteColorGroups(VxEditIniFile& file, const VxEditLangConfig& config);
    static bool WriteParser(VxEditIniFile& file, const VxEditLangConfig& config);
    static bool WriteFont(VxEditIniFile& file, const VxEditLangConfig& config);
    static bool WriteKeywords(VxEditIniFile& file, const VxEditLangConfig& config);
    static bool WriteEditor(VxEditIniFile& file, const VxEditLangConfig& config);
    // All parts into the text, stopping at the first that fails.
    static bool WriteTo(VxEditIniFile& file, const VxEditLangConfig& config);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
