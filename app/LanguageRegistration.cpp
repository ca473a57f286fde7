#include "app/LanguageRegistration.h"

#include "language/VxEditChainConfigReader.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniConfigWriter.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditRegConfigReader.h"
#include "language/VxEditRegConfigWriter.h"
#include "language/VxEditResConfigReader.h"
#include "platform/core/UserFolders.h"

#include <filesystem>
#include <utility>

using tarrow::foundation::MakeRef;
using tarrow::foundation::RefPtr;

namespace {

constexpr int kHtmlResourceId = 146;
constexpr const char* kJavaIni = "java.ini";
constexpr const char* kJavaScriptIni = "javascript.ini";
constexpr const char* kCssIni = "css.ini";

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string JavaIniReadPath(const std::string& programDirectory,
                            const std::string& userSettingsDirectory)
{
    return LanguageIniReadPath(kJavaIni, programDirectory, userSettingsDirectory);
}

std::string LanguageIniReadPath(const std::string& fileName, const std::string& programDirectory,
                                const std::string& userSettingsDirectory)
{
    const std::string user = userSettingsDirectory + fileName;
    if (!userSettingsDirectory.empty() && IsFile(user))
        return user;
    const std::string beside = programDirectory + fileName;
    if (IsFile(beside))
        return beside;
    return programDirectory + "../" + fileName;
}

std::string JavaIniWritePath(const std::string& userSettingsDirectory)
{
    return userSettingsDirectory + kJavaIni;
}

void RegisterLanguages(quillet::platform::Profile& profile, const std::string& programDirectory,
                       const std::string& userSettingsDirectory)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();

    auto javaReader = MakeRef<VxEditIniConfigReader>(
        JavaIniReadPath(programDirectory, userSettingsDirectory));
    // Without a settings folder changes to "Java" last until the program
    // ends. Otherwise the user's copy is created on the first save, so its
    // folder must exist.
    RefPtr<VxEditIniConfigWriter> javaWriter;
    if (!userSettingsDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(userSettingsDirectory, error);
        javaWriter = MakeRef<VxEditIniConfigWriter>(JavaIniWritePath(userSettingsDirectory));
    }
    registry.Register("Java", javaReader.Get(), javaWriter.Get());

    for (auto [name, file] : {std::pair{"JavaScript", kJavaScriptIni}, {"CSS", kCssIni}}) {
        auto reader = MakeRef<VxEditIniConfigReader>(LanguageIniReadPath(file, programDirectory, userSettingsDirectory));
        RefPtr<VxEditIniConfigWriter> writer;
        if (!userSettingsDirectory.empty())
            writer = MakeRef<VxEditIniConfigWriter>(userSettingsDirectory + file);
        registry.Register(name, reader.Get(), writer.Get());
    }

    std::vector<RefPtr<VxEditLangConfigReader>> htmlSources;
    htmlSources.push_back(MakeRef<VxEditResConfigReader>(kHtmlResourceId));
    htmlSources.push_back(MakeRef<VxEditRegConfigReader>(profile, "HTML"));
    auto htmlReader = MakeRef<VxEditChainConfigReader>(std::move(htmlSources));
    auto htmlWriter = MakeRef<VxEditRegConfigWriter>(profile, "HTML\\");
    registry.Register("HTML", htmlReader.Get(), htmlWriter.Get());
}

std::string UserSettingsDirectory()
{
    const std::string base = quillet::platform::UserBaseFolder(quillet::platform::UserFolder::Config);
    return base.empty() ? std::string() : base + "/Tarrow Samples/";
}
