#pragma once

#include "javatools/completion/JdkClassIndex.h"

#include <string>
#include <string_view>

// Reads the public classes of a JDK's API packages (java.*, javax.*,
// org.w3c.*, org.xml.*, org.ietf.*) and keeps them in a cache file per JDK,
// keyed by the JDK's folder and the size and time of its lib/modules, so
// that a changed JDK is read again. Runs programs and reads files: call it
// off the user-interface thread.
class JdkClassList {
public:
    // The JDK the compiler belongs to: the folder above the bin/ that holds
    // the program, links resolved; empty when that folder has no
    // lib/modules.
    static std::string JdkHomeOfCompiler(const std::string& compiler, const std::string& searchPath);
    // "$XDG_CACHE_HOME/Quillet", else "$HOME/.cache/Quillet"; empty when
    // the user has no cache folder (no usable home folder).
    static std::string DefaultCacheFolder();

    // The cached list when its key still matches, else the list read anew
    // (and cached, unless cacheFolder is empty); false with the reason when
    // neither works.
    static bool Load(const std::string& jdkHome, const std::string& cacheFolder, JdkClassIndex& index,
                     std::string& failure);
    // Extracts the API packages' class files with <jdk>/bin/jimage into a
    // private temporary folder and keeps the public top-level classes.
    static bool Read(const std::string& jdkHome, JdkClassIndex& index, std::string& failure);

    // The folder, size and time of the JDK's lib/modules; empty when it
    // cannot be read.
    static std::string CacheKey(const std::string& jdkHome);
    static std::string CacheFile(const std::string& cacheFolder, const std::string& jdkHome);
    // Whether class file bytes declare a public class (not a module or
    // package description).
    static bool IsPublicClass(std::string_view classFile);
};
