#pragma once

#include <string>
#include <vector>

// The argument vectors of the build, run and debug commands. Nothing here
// passes through a shell: each vector is handed to the process starter as
// it is, so blanks and quotes in paths mean nothing special.

// compiler, the additional arguments, the targets.
std::vector<std::string> CompileArgv(const std::string& compiler,
                                     const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& targets);
// "-sourcepath" and "-classpath" with their values, each only when given.
std::vector<std::string> CompilePathArguments(const std::string& sourcePath,
                                              const std::string& classPath);
// The check of a saved file: compiler -d classFolder -implicit:none
// -proc:none, the path arguments, the file. Classes go to a folder of
// their own, only the file's own classes are written and no annotation
// processor runs, so a check never changes the program's folders.
std::vector<std::string> SaveCheckArgv(const std::string& compiler, const std::string& classFolder,
                                       const std::string& sourcePath, const std::string& classPath,
                                       const std::string& file);
// The redirector in front of the command it is to run.
std::vector<std::string> RedirectedArgv(const std::string& redirector,
                                        const std::vector<std::string>& command);
// viewer, the viewer's arguments, the class or page, the program's arguments.
std::vector<std::string> ViewerArgv(const std::string& viewer,
                                    const std::vector<std::string>& viewerArguments,
                                    const std::string& file,
                                    const std::vector<std::string>& programArguments);
// The viewer's argument text: the CLASSPATH text (which holds the option
// itself, "-classpath dir") and a blank in front when it is specified.
std::string ViewerArgumentText(const std::string& viewerArguments, bool specifyClasspath,
                               const std::string& classpathText);
// debugger -classpath CLASSPATH class
std::vector<std::string> DebuggerArgv(const std::string& debugger, const std::string& classpath,
                                      const std::string& className);
// "stop at class:line" with Enter as a terminal sends it, for each 1-based line.
std::vector<std::string> StopAtLines(const std::string& className, const std::vector<int>& lines);
// The launch command typed after the breakpoints.
std::string RunLine();
