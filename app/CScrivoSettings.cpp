#include "app/CScrivoSettings.h"

#include "app/SettingsKeys.h"
#include "platform/core/Profile.h"

#include <cstdlib>
#include <fstream>

namespace {

constexpr std::size_t kComspecLimit = 255;

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

void CScrivoSettings::ReadCommandInterpreter()
{
    std::string value = EnvironmentValue("COMSPEC");
    if (value.empty())
        value = EnvironmentValue("SHELL");
    if (value.empty())
        value = "/bin/sh";
    if (value.size() > kComspecLimit)
        value.resize(kComspecLimit);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\n' ||
                              value.back() == '\r'))
        value.pop_back();
    comspecPath = value;
}

void CScrivoSettings::Load(const quillet::platform::Profile& profile,
                           const std::string& programDirectory)
{
    compilerArgs = profile.GetString(settings::kTools, settings::kCompilerArgs, "");
    compileAutoSave = profile.GetInt(settings::kTools, settings::kCompileAutoSave, 1);
    outputToolPath = programDirectory + "Output";
    helpPath = programDirectory + "QuilletHelp/Welcome.htm";
    extendsList = ReadWordList(programDirectory + "Extends.ini");
    throwsList = ReadWordList(programDirectory + "Throws.ini");
    varTypesList = ReadWordList(programDirectory + "Vartypes.ini");
    implementsList = ReadWordList(programDirectory + "Implements.ini");
}

bool CScrivoSettings::SaveAtExit(quillet::platform::Profile& profile) const
{
    const bool args = profile.WriteString(settings::kTools, settings::kCompilerArgs, compilerArgs);
    const bool autoSave =
        profile.WriteInt(settings::kTools, settings::kCompileAutoSave, compileAutoSave);
    return args && autoSave;
}

WordList ReadWordList(const std::string& path)
{
    WordList entries;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return entries;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        entries.push_back(line);
    }
    return entries;
}
