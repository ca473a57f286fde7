#include "javatools/debug/DebugClassInfo.h"

int DebugMethodInfo::LineAt(std::uint64_t codeIndex) const
{
    int line = -1;
    std::uint64_t best = 0;
    bool found = false;
    for (const JdwpLine& entry : lines.lines) {
        if (entry.codeIndex <= codeIndex && (!found || entry.codeIndex >= best)) {
            best = entry.codeIndex;
            line = entry.line;
            found = true;
        }
    }
    return line;
}

std::string DebugClassInfo::Name() const
{
    return TypeNameOfSignature(signature);
}

DebugMethodInfo* DebugClassInfo::Method(std::uint64_t methodId)
{
    for (DebugMethodInfo& method : methods)
        if (method.member.id == methodId)
            return &method;
    return nullptr;
}

const DebugMethodInfo* DebugClassInfo::Method(std::uint64_t methodId) const
{
    return const_cast<DebugClassInfo*>(this)->Method(methodId);
}

std::string TypeNameOfSignature(const std::string& signature)
{
    std::size_t dims = 0;
    while (dims < signature.size() && signature[dims] == '[')
        ++dims;
    const std::string element = signature.substr(dims);
    std::string name;
    if (element.size() >= 2 && element.front() == 'L' && element.back() == ';') {
        name = element.substr(1, element.size() - 2);
        for (char& c : name)
            if (c == '/')
                c = '.';
    } else if (element.size() == 1) {
        switch (element[0]) {
        case 'Z': name = "boolean"; break;
        case 'B': name = "byte"; break;
        case 'C': name = "char"; break;
        case 'S': name = "short"; break;
        case 'I': name = "int"; break;
        case 'J': name = "long"; break;
        case 'F': name = "float"; break;
        case 'D': name = "double"; break;
        case 'V': name = "void"; break;
        default: name = element; break;
        }
    } else {
        name = element;
    }
    for (std::size_t i = 0; i < dims; ++i)
        name += "[]";
    return name;
}
