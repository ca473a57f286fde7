#pragma once

#include <string>

// What the code-generation dialogs collect, and the Java text each one
// generates: CR LF line ends, one tab per indentation level. Validate
// returns the message that refuses the entry (empty when it is accepted)
// and may tidy the entry, as a class name loses its spaces.

struct NewClassDeclaration {
    bool isPublic = false;
    bool isFinal = false;
    std::string name;
    bool extends = false;
    std::string extendsText;
    bool implements = false;
    std::string implementsText;
    bool generateMain = false;
    bool generateInit = false;
    bool generateConstructor = false;
    std::string constructorParams = "() //Default Constructor";
    bool generateFinalize = false;

    std::string Validate();
    std::string Text() const;
};

struct NewInterfaceDeclaration {
    bool isPublic = false;
    bool isAbstract = false;
    std::string name;
    bool extends = false;
    std::string extendsText;

    std::string Validate();
    std::string Text() const;
};

struct MethodDeclaration {
    bool isPublic = false;
    bool isPrivate = false;
    bool isProtected = false;
    bool isAbstract = false;
    bool isStatic = false;
    bool isFinal = false;
    bool isSynchronized = false;
    std::string returnType = "void";
    std::string name;
    std::string parameters = "( )";
    bool throwsException = false;
    std::string exception;

    std::string Validate();
    std::string Text() const;
};

struct MemberVariableDeclaration {
    std::string type;
    std::string name;
    bool isPublic = false;
    bool isPrivate = false;
    bool isProtected = false;
    bool isStatic = false;
    bool isFinal = false;

    std::string Validate();
    std::string Text() const;
};

struct TryCatchDeclaration {
    std::string exceptionClass;
    std::string variable;

    std::string Validate();
    // The block around the selected text, or around a reminder without one.
    std::string Text(const std::string& selected) const;
};
