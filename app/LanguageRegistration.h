#pragma once

#include <string>

namespace quillet::platform {
class Profile;
}

// The java.ini that "Java" is read from: the user's copy in the settings
// folder when it exists, else the one beside the program, else the one in the
// folder above it (whether or not that exists). Folders end in '/'.
std::string JavaIniReadPath(const std::string& programDirectory,
                            const std::string& userSettingsDirectory);
// Changes to "Java" are always written to the user's copy, which may be in
// a folder the program's own copy is not.
std::string JavaIniWritePath(const std::string& userSettingsDirectory);
// The same rule for any language kept in an ini file of the given name
// (java.ini, javascript.ini).
std::string LanguageIniReadPath(const std::string& fileName, const std::string& programDirectory,
                                const std::string& userSettingsDirectory);

// Registers the languages that documents select by name: "Java" from
// java.ini, "JavaScript" from javascript.ini, "CSS" from css.ini (each also
// from and to the user's copy), "HTML" from the built-in form followed by
// the user's changes under "HTML" in the settings store. "Default" is built
// in.
void RegisterLanguages(quillet::platform::Profile& profile, const std::string& programDirectory,
                       const std::string& userSettingsDirectory);

// The folder of the user's settings: $XDG_CONFIG_HOME (or ~/.config)
// followed by "Tarrow Samples/"; empty when the user has no folder for
// settings (no usable home folder).
std::string UserSettingsDirectory();
