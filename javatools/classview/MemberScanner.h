#pragma once

#include "engine/VxScrivoMember.h"
#include "javatools/classview/JavaTokenizer.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Builds the outline of a Java text: its types, nested as in the text, each
// with its constructors, methods (with their parameter types) and fields in
// source order; enum constants and record components count as fields. The
// bodies of methods, initializers and field values are passed over whole,
// so lambdas, anonymous classes and local classes are not members.
//
// The scan goes in steps over the same text (which may move between steps
// as long as it does not change): each Step reads on to a given offset.
class MemberScanner {
public:
    // Reads on until offset until (or the end); true once the text is done.
    bool Step(const char* text, std::size_t length, std::size_t until);
    bool Done() const { return done_; }
    std::vector<VxScrivoMember> Take() { return std::move(outline_); }

    // The whole outline of a text at once.
    static std::vector<VxScrivoMember> Scan(const char* text, std::size_t length);

private:
    struct Word {
        std::string text;
        std::int32_t line;
        bool word;  // an identifier or keyword, not punctuation
    };
    // What is known of the member declaration being read in a type body.
    struct Declaration {
        std::vector<Word> head;       // before any '=' and parameter list, annotations left out
        std::vector<Word> parameters; // inside the first parameter list
        std::vector<Word> fields;     // declarator names of a field declaration
        int nameIndex = -1;           // of the word before the parameter list
        int parenDepth = 0;
        bool hasParameters = false;
        bool inValue = false;         // behind a field's '='
        int valueDepth = 0;
        int angleDepth = 0;
        int annotation = 0;           // 1 after '@', 2 after its name, 3 after a '.'
        int annotationDepth = 0;

        // Back to a fresh declaration, keeping the lists' room for the next.
        void Reset();
    };
    struct TypeFrame {
        int index = -1;  // in the outline; -1 outside any type
        bool enumConstants = false;
        bool expectConstant = false;
        int constantDepth = 0;
        // A record's components, the parameters of its compact constructor.
        std::string components;
        int componentCount = 0;
        Declaration declaration;
    };
    struct Parameters {
        std::string types;  // "K, V"
        std::vector<Word> names;
    };

    void Token(const char* text, std::size_t length, const JavaToken& token);
    void DeclarationToken(const char* text, std::size_t length, const JavaToken& token, TypeFrame& frame);
    void EnumConstantToken(const char* text, std::size_t length, const JavaToken& token, TypeFrame& frame);
    // True when the token belonged to an annotation, which is left out.
    static bool AnnotationToken(const JavaToken& token, std::string_view word, Declaration& declaration);
    void OpenBody(const char* text, std::size_t length, TypeFrame& frame);
    void EndDeclaration(TypeFrame& frame);
    static Parameters ReadParameters(const std::vector<Word>& tokens);
    void AddField(const Word& name, int parent);
    void AddMethod(const Declaration& declaration, int parent);
    int AddType(const Declaration& declaration, std::size_t keyword, int parent);

    JavaTokenizer tokenizer_;
    std::vector<TypeFrame> frames_;
    std::vector<VxScrivoMember> outline_;
    bool done_ = false;
};
