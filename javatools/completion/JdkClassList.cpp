#include "javatools/completion/JdkClassList.h"

#include "javatools/build/ChildPipes.h"
#include "javatools/build/ProgramLookup.h"
#include "platform/core/UserFolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCacheHeader = "# Quillet JDK classes 1\t";
// The API packages' class files; a '$' names a nested class.
constexpr const char* kApiClasses = "regex:/[^/]+/(java|javax|org/w3c|org/xml|org/ietf)/[^$]*\\.class";

constexpr unsigned kAccPublic = 0x0001;
constexpr unsigned kAccModule = 0x8000;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs the program with its output thrown away; its exit status, or -1.
int RunQuietly(const std::vector<std::string>& arguments, std::string& failure)
{
    SpawnFileActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(actions.Get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.Get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::vector<char*> argv = SpawnArgv(arguments);
    pid_t child = 0;
    const int error = posix_spawn(&child, argv.front(), actions.Get(), nullptr, argv.data(), environ);
    if (error != 0) {
        failure = arguments.front() + ": " + std::strerror(error);
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A private folder that goes with its contents when the scope ends.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillet-jdk-XXXXXX";
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

std::string JdkClassList::JdkHomeOfCompiler(const std::string& compiler, const std::string& searchPath)
{
    const std::string program = FindProgram(compiler, searchPath);
    if (program.empty())
        return {};
    std::error_code error;
    const fs::path resolved = fs::canonical(program, error);
    if (error)
        return {};
    const fs::path home = resolved.parent_path().parent_path();
    if (resolved.parent_path().filename() != "bin" || !fs::is_regular_file(home / "lib" / "modules", error))
        return {};
    return home.string();
}

std::string JdkClassList::DefaultCacheFolder()
{
    const std::string cache = quillet::platform::UserBaseFolder(quillet::platform::UserFolder::Cache);
    return cache.empty() ? std::string() : cache + "/Quillet";
}

std::string JdkClassList::CacheKey(const std::string& jdkHome)
{
    struct stat info {};
    if (jdkHome.empty() || stat((jdkHome + "/lib/modules").c_str(), &info) != 0)
        return {};
    return jdkHome + '\t' + std::to_string(info.st_size) + '\t' + std::to_string(info.st_mtim.tv_sec) + '.' +
           std::to_string(info.st_mtim.tv_nsec);
}

std::string JdkClassList::CacheFile(const std::string& cacheFolder, const std::string& jdkHome)
{
    // FNV-1a of the folder: one file per JDK.
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : jdkHome)
        hash = (hash ^ byte) * 1099511628211ull;
    char name[40];
    std::snprintf(name, sizeof name, "jdk-classes-%016llx.txt", static_cast<unsigned long long>(hash));
    return cacheFolder + '/' + name;
}

bool JdkClassList::IsPublicClass(std::string_view bytes)
{
    std::size_t at = 8;
    const auto u1 = [&](std::size_t offset) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[offset])); };
    const auto u2 = [&](std::size_t offset) { return u1(offset) << 8 | u1(offset + 1); };
    if (bytes.size() < 10 || u2(0) != 0xCAFE || u2(2) != 0xBABE)
        return false;
    const unsigned count = u2(at);
    at += 2;
    // Passes over the constant pool to reach the access flags behind it.
    for (unsigned index = 1; index < count; ++index) {
        if (at >= bytes.size())
            return false;
        switch (u1(at)) {
        case 1:  // Utf8
            if (at + 3 > bytes.size())
                return false;
            at += 3 + u2(at + 1);
            break;
        case 7: case 8: case 16: case 19: case 20:
            at += 3;
            break;
        case 15:
            at += 4;
            break;
        case 3: case 4: case 9: case 10: case 11: case 12: case 17: case 18:
            at += 5;
            break;
        case 5: case 6:  // Long and Double take two entries
            at += 9;
            ++index;
            break;
        default:
            return false;
        }
    }
    if (at + 2 > bytes.size())
        return false;
    const unsigned flags = u2(at);
    return (flags & kAccPublic) != 0 && (flags & kAccModule) == 0;
}

bool JdkClassList::Read(const std::string& jdkHome, JdkClassIndex& index, std::string& failure)
{
    const std::string jimage = jdkHome + "/bin/jimage";
    if (access(jimage.c_str(), X_OK) != 0) {
        failure = jimage + ": " + std::strerror(errno);
        return false;
    }
    TemporaryFolder folder;
    if (folder.Path().empty()) {
        failure = std::string("temporary folder: ") + std::strerror(errno);
        return false;
    }
    const int status = RunQuietly(
        {jimage, "extract", "--dir", folder.Path(), "--include", kApiClasses, jdkHome + "/lib/modules"}, failure);
    if (status != 0) {
        if (failure.empty())
            failure = jimage + " could not read " + jdkHome + "/lib/modules";
        return false;
    }
    std::vector<JdkClass> classes;
    std::error_code error;
    // <folder>/<module>/<package path>/<Name>.class
    for (const fs::directory_entry& module : fs::directory_iterator(folder.Path(), error)) {
        for (auto entry = fs::recursive_directory_iterator(module.path(), error);
             !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
            const fs::path& path = entry->path();
            const std::string name = path.stem().string();
            if (path.extension() != ".class" || name == "module-info" || name == "package-info" ||
                name.find('$') != std::string::npos || !IsPublicClass(ReadFile(path)))
                continue;
            std::string package = path.parent_path().lexically_relative(module.path()).string();
            std::replace(package.begin(), package.end(), '/', '.');
            classes.push_back({name, package});
        }
    }
    if (classes.empty()) {
        failure = "no classes found in " + jdkHome + "/lib/modules";
        return false;
    }
    index = JdkClassIndex(std::move(classes));
    return true;
}

bool JdkClassList::Load(const std::string& jdkHome, const std::string& cacheFolder, JdkClassIndex& index,
                        std::string& failure)
{
    const std::string key = CacheKey(jdkHome);
    if (key.empty()) {
        failure = "no JDK at " + jdkHome;
        return false;
    }
    if (cacheFolder.empty())
        return Read(jdkHome, index, failure);
    const std::string file = CacheFile(cacheFolder, jdkHome);
    const std::string header = std::string(kCacheHeader) + key + '\n';
    const std::string cached = ReadFile(file);
    if (cached.starts_with(header)) {
        index = JdkClassIndex::Parse(std::string_view(cached).substr(header.size()));
        if (index.Size() > 0)
            return true;
    }
    if (!Read(jdkHome, index, failure))
        return false;
    // A cache that cannot be written only costs the next start a new read.
    std::error_code error;
    fs::create_directories(cacheFolder, error);
    const std::string temporary = file + ".new" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << header << index.Serialize();
        if (!out.flush())
            error = std::make_error_code(std::errc::io_error);
    }
    if (error || std::rename(temporary.c_str(), file.c_str()) != 0)
        fs::remove(temporary, error);
    return true;
}
