#include "javatools/build/BuildCommandLines.h"

#include <cstdio>

std::vector<std::string> CompileArgv(const std::string& compiler,
                                     const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& targets)
{
    std::vector<std::string> argv{compiler};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.insert(argv.end(), targets.begin(), targets.end());
    return argv;
}

std::vector<std::string> CompilePathArguments(const std::string& sourcePath,
                                              const std::string& classPath)
{
    std::vector<std::string> arguments;
    if (!sourcePath.empty())
        arguments.insert(arguments.end(), {"-sourcepath", sourcePath});
    if (!classPath.empty())
        arguments.insert(arguments.end(), {"-classpath", classPath});
    return arguments;
}

std::vector<std::string> SaveCheckArgv(const std::string& compiler, const std::string& classFolder,
                                       const std::string& sourcePath, const std::string& classPath,
                                       const std::string& file)
{
    std::vector<std::string> arguments{"-d", classFolder, "-implicit:none", "-proc:none"};
    const std::vector<std::string> paths = CompilePathArguments(sourcePath, classPath);
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    return CompileArgv(compiler, arguments, {file});
}

std::vector<std::string> RedirectedArgv(const std::string& redirector,
                                        const std::vector<std::string>& command)
{
    std::vector<std::string> argv{redirector};
    argv.insert(argv.end(), command.begin(), command.end());
    return argv;
}

std::vector<std::string> ViewerArgv(const std::string& viewer,
                                    const std::vector<std::string>& viewerArguments,
                                    const std::string& file,
                                    const std::vector<std::string>& programArguments)
{
    std::vector<std::string> argv{viewer};
    argv.insert(argv.end(), viewerArguments.begin(), viewerArguments.end());
    argv.push_back(file);
    argv.insert(argv.end(), programArguments.begin(), programArguments.end());
    return argv;
}

std::string ViewerArgumentText(const std::string& viewerArguments, bool specifyClasspath,
                               const std::string& classpathText)
{
    return specifyClasspath ? classpathText + " " + viewerArguments : viewerArguments;
}

std::vector<std::string> DebuggerArgv(const std::string& debugger, const std::string& classpath,
                                      const std::string& className)
{
    return {debugger, "-classpath", classpath, className};
}

std::vector<std::string> StopAtLines(const std::string& className, const std::vector<int>& lines)
{
    std::vector<std::string> result;
    for (int line : lines) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", line);
        result.push_back("stop at " + className + ":" + number + "\r");
    }
    return result;
}

std::string RunLine()
{
    return "run\r";
}
