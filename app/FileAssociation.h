#pragma once

#include <string>

// Makes Quillet the user's program for Java source files: a desktop entry
// "quillet.desktop" for text/x-java in the user's applications folder, and
// that entry as the default for text/x-java in the user's mimeapps.list.
class FileAssociation {
public:
    // dataHome and configHome default to $XDG_DATA_HOME / $XDG_CONFIG_HOME
    // (or ~/.local/share and ~/.config) when empty.
    FileAssociation(std::string dataHome = {}, std::string configHome = {});

    // Writes both files; true when both were written. Other entries of
    // mimeapps.list are kept as they were.
    bool Register(const std::string& programPath) const;

    std::string DesktopEntryPath() const;
    std::string MimeAppsPath() const;

    static constexpr const char* kDesktopFileName = "quillet.desktop";
    static constexpr const char* kJavaMimeType = "text/x-java";

private:
    bool WriteDesktopEntry(const std::string& programPath) const;
    bool SetDefaultApplication() const;

    std::string dataHome_;
    std::string configHome_;
};
