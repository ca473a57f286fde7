#include "javatools/build/DocumentClass.h"

#include "engine/VxEdit.h"

#include <algorithm>

namespace {

// Enough of a file's start to find its package declaration.
constexpr std::int32_t kPackageSearchLines = 400;

// "/a/b/" as the compiler's options take a folder: "/a/b"; "/" stays.
std::string WithoutTrailingSlash(std::string directory)
{
    if (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    return directory;
}

}  // namespace

JavaClassProposal ProposeClassOfText(const VxEdit& model, const std::string& path,
                                     const std::string& simpleName)
{
    std::string text;
    const std::int32_t last = std::min(model.LastLine(), kPackageSearchLines);
    model.CopyText(text, 0, 0, last, model.LineLength(last));
    return ProposeClass(path, DeclaredPackage(text), simpleName);
}

CompilePathProposal ProposeCompilePaths(const VxEdit& model, const std::string& path)
{
    const std::string root = ProposeClassOfText(model, path, {}).sourceRoot;
    const std::string folder = WithoutTrailingSlash(root);
    return {root, folder, folder};
}
