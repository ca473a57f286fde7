#include "javatools/build/BuildAllRequest.h"

#include "javatools/build/BuildCommandLines.h"
#include "javatools/build/JavaSourceTree.h"

#include <memory>

bool MakeBuildAllRequest(const std::string& compiler, const std::vector<std::string>& arguments,
                         const std::string& sourceRoot, const std::string& redirector,
                         CompileRequest& request, std::string* failure)
{
    const std::vector<std::string> files = JavaFilesUnder(sourceRoot);
    if (files.empty()) {
        *failure = "There are no .java files in " + sourceRoot + " or its subfolders.";
        return false;
    }
    auto argumentFile = std::make_shared<TemporaryArgumentFile>();
    if (!argumentFile->Write(files, failure))
        return false;
    request.compiler = compiler;
    request.argv = RedirectedArgv(redirector, CompileArgv(compiler, arguments, {"@" + argumentFile->Path()}));
    request.shownTarget = sourceRoot + "**/*.java";
    request.directory = sourceRoot;
    request.workingDirectory = sourceRoot;
    request.argumentFile = std::move(argumentFile);
    return true;
}
