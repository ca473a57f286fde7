#pragma once

#include <string>
#include <vector>

namespace quillet::platform {
class Profile;
}

using WordList = std::vector<std::string>;

// The application-wide settings that live for the whole run: the two tool
// settings persisted at exit, the paths of the program's own helpers, the
// command interpreter, and the word lists of the code-generation dialogs.
class CScrivoSettings {
public:
    std::string compilerArgs;
    int compileAutoSave = 1;
    std::string outputToolPath;
    std::string helpPath;
    std::string comspecPath;
    WordList extendsList;
    WordList throwsList;
    WordList varTypesList;
    WordList implementsList;

    // Reads the command interpreter from the environment: $COMSPEC, else
    // $SHELL, else /bin/sh; at most 255 characters, trailing blanks removed.
    void ReadCommandInterpreter();
    // Reads the tool settings and forms the helper paths, then the four word
    // lists from the program directory (which ends in '/').
    void Load(const quillet::platform::Profile& profile, const std::string& programDirectory);
    // Writes the two values that are persisted at a normal exit.
    bool SaveAtExit(quillet::platform::Profile& profile) const;
};

// Every line of the file is one entry, exactly as written (only the line
// end is removed); a missing or unreadable file gives an empty list.
WordList ReadWordList(const std::string& path);
