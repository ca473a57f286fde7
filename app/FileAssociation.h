#pragma once

#include <string>
#include <vector>

// Makes Quillet the user's program for Java source files: the default for
// text/x-java in the user's mimeapps.list is a desktop entry of Quillet's.
//
// An installed Quillet brings its own entry (share/applications/
// org.tarrowsamples.Quillet.desktop under its prefix); a program that runs from
// where it was built has none, so a per-user entry "quillet.desktop" that
// starts it is written to the user's applications folder.
class FileAssociation {
public:
    // dataHome and configHome default to $XDG_DATA_HOME / $XDG_CONFIG_HOME
    // (or ~/.local/share and ~/.config) when empty; dataDirs, the folders the
    // desktop reads installed entries from, to $XDG_DATA_DIRS (or
    // /usr/local/share and /usr/share).
    FileAssociation(std::string dataHome = {}, std::string configHome = {},
                    std::vector<std::string> dataDirs = {});

    // Makes the program at programPath the default for text/x-java; true when
    // every file involved was written. With the installed entry of that
    // program, the entry is only made the default, and a per-user entry that
    // an earlier association wrote is removed, so the desktop lists one
    // Quillet. Without it the per-user entry is written first. Other entries
    // of mimeapps.list are kept as they were.
    bool Register(const std::string& programPath) const;

    // The desktop entry installed together with the program at programPath,
    // when the desktop reads it (its data folder is the data home or one of
    // the data dirs, as for an installation under ~/.local, /usr/local or
    // /usr); empty otherwise.
    std::string InstalledEntryPath(const std::string& programPath) const;

    std::string DesktopEntryPath() const;
    std::string MimeAppsPath() const;

    static constexpr const char* kDesktopFileName = "quillet.desktop";
    static constexpr const char* kInstalledDesktopFileName = "org.tarrowsamples.Quillet.desktop";
    static constexpr const char* kJavaMimeType = "text/x-java";
    // An installation keeps the program in <prefix>/lib/quillet/ and its
    // desktop entry in <prefix>/share/applications/.
    static constexpr const char* kInstalledDataDir = "../../share";

private:
    bool WriteDesktopEntry(const std::string& programPath) const;
    bool RemoveOwnDesktopEntry() const;
    bool SetDefaultApplication(const std::string& desktopFileName) const;

    std::string dataHome_;
    std::string configHome_;
    std::vector<std::string> dataDirs_;
};
