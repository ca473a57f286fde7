#include "javatools/codegen/CodeDeclarations.h"

#include <algorithm>
#include <cctype>

namespace {

// The first checked of Private, Public, Protected.
std::string Access(bool isPrivate, bool isPublic, bool isProtected)
{
    if (isPrivate)
        return "private ";
    if (isPublic)
        return "public ";
    if (isProtected)
        return "protected ";
    return {};
}

}  // namespace

std::string NewClassDeclaration::Validate()
{
    if (name.empty())
        return "Please enter class name.";
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    // A name of blanks alone would declare a class without a name.
    if (name.empty())
        return "Please enter class name.";
    return {};
}

std::string NewClassDeclaration::Text() const
{
    std::string text;
    if (isPublic)
        text += "public ";
    if (isFinal)
        text += "final ";
    text += "class " + name + " ";
    if (extends)
        text += "extends " + extendsText + " ";
    if (implements)
        text += "implements " + implementsText + " ";
    text += "\r\n{";
    if (generateConstructor)
        text += "\r\n\t" + name + constructorParams + "\r\n\t{//TODO::Object member init\r\n\t}";
    if (generateFinalize)
        text += "\r\n\tprotected void finalize() throws Throwable\r\n\t{//TODO::Object member cleanup\r\n\t}";
    if (generateMain) {
        std::string variable = name.substr(0, 2);
        std::transform(variable.begin(), variable.end(), variable.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        text += "\r\n\tpublic static void main(String arguments[])\r\n\t{//TODO::Add entry code\r\n\t\t" + name +
                " " + variable + " = new " + name + "();\r\n\t}";
    }
    if (generateInit)
        text += "\r\n\tpublic void init()\r\n\t{//TODO::Add entry code\r\n\t}";
    text += "\r\n}";
    return text;
}

std::string NewInterfaceDeclaration::Validate()
{
    return name.empty() ? "Please enter interface name" : std::string();
}

std::string NewInterfaceDeclaration::Text() const
{
    std::string text;
    if (isPublic)
        text += "public ";
    if (isAbstract)
        text += "abstract ";
    text += "interface " + name + " ";
    if (extends)
        text += "extends " + extendsText;
    text += "\r\n{\r\n}";
    return text;
}

std::string MethodDeclaration::Validate()
{
    return name.empty() ? "Please enter valid method name" : std::string();
}

std::string MethodDeclaration::Text() const
{
    std::string declaration = Access(isPrivate, isPublic, isProtected);
    if (isAbstract)
        declaration += "abstract ";
    if (isSynchronized)
        declaration += "synchronized ";
    if (isStatic)
        declaration += "static ";
    if (isFinal)
        declaration += "final ";
    declaration += returnType + " " + name + parameters + " ";
    if (throwsException && !exception.empty())
        declaration += "throws " + exception;
    return "\t" + declaration + "\r\n\t{ //TODO: Add Method Code\r\n\t}\r\n";
}

std::string MemberVariableDeclaration::Validate()
{
    if (type.empty())
        return "Invalid Variable type.";
    if (name.empty())
        return "Invalid Variable name.";
    return {};
}

std::string MemberVariableDeclaration::Text() const
{
    std::string declaration = Access(isPrivate, isPublic, isProtected);
    if (isStatic)
        declaration += "static ";
    if (isFinal)
        declaration += "final " + type + " " + name + " = <value>;";
    else
        declaration += type + " " + name + ";";
    return "\t" + declaration + "\r\n";
}

std::string TryCatchDeclaration::Validate()
{
    if (variable.empty())
        return "Please enter exception variable declarator.";
    if (exceptionClass.empty())
        return "Please enter exception class.";
    return {};
}

std::string TryCatchDeclaration::Text(const std::string& selected) const
{
    std::string text = selected.empty() ? "try\r\n\t{\r\n\t\t//TODO::method calls\r\n\t}\r\n\t"
                                        : "try\r\n\t{\r\n\t\t" + selected + " \r\n\t}\r\n\t";
    text += "catch (" + exceptionClass + " " + variable + ")" + "\r\n\t{\r\n\t\t//TODO::add handler code\r\n\t}";
    return text;
}
