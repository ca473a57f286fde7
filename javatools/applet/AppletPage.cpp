#include "javatools/applet/AppletPage.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

namespace AppletPage {

const char* const kTemplate =
    "<html>\r\n"
    "<head></head><body>\r\n"
    "<applet code=[CLASS]\r\n"
    " width=400 height=400>\r\n"
    "<param name= value=>\r\n"
    "</applet></body>\r\n"
    "</html>";
const char* const kClassPlaceholder = "[CLASS]";

std::string ClassFileName(const std::string& title)
{
    std::string name = ReplaceAll(title, ".java", ".class");
    if (name.find(".class") == std::string::npos)
        name += ".class";
    return name;
}

std::string OutputFileName(const std::string& documentPath)
{
    if (documentPath.empty())
        return {};
    // Only the file name changes: a folder named like "x.java" stays.
    const std::size_t slash = documentPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string folder = documentPath.substr(0, nameStart);
    std::string name = documentPath.substr(nameStart);
    if (name.find(".java") != std::string::npos) {
        name = ReplaceAll(name, ".java", ".html");
    } else {
        const std::size_t dot = name.find_last_of('.');
        if (dot != std::string::npos && dot > 0)
            name.erase(dot);
        name += ".html";
    }
    std::string path = folder + name;
    if (path == documentPath)
        path += ".html";
    return path;
}

std::string PageText(const std::string& classFileName)
{
    return ReplaceAll(kTemplate, kClassPlaceholder, classFileName);
}

}  // namespace AppletPage
