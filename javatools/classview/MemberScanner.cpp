#include "javatools/classview/MemberScanner.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

bool IsModifier(std::string_view word)
{
    static constexpr std::array<std::string_view, 14> kModifiers = {
        "public", "protected", "private", "static",   "final",   "abstract", "synchronized",
        "native", "strictfp",  "transient", "volatile", "default", "sealed",   "non"};
    return std::find(kModifiers.begin(), kModifiers.end(), word) != kModifiers.end();
}

int TypeKind(std::string_view word)
{
    if (word == "class")
        return VxScrivoMember::kClass;
    if (word == "interface")
        return VxScrivoMember::kInterface;
    if (word == "enum")
        return VxScrivoMember::kEnum;
    if (word == "record")
        return VxScrivoMember::kRecord;
    return -1;
}

}  // namespace

void MemberScanner::Declaration::Reset()
{
    std::vector<Word> keptHead = std::move(head);
    std::vector<Word> keptParameters = std::move(parameters);
    std::vector<Word> keptFields = std::move(fields);
    keptHead.clear();
    keptParameters.clear();
    keptFields.clear();
    *this = Declaration();
    head = std::move(keptHead);
    parameters = std::move(keptParameters);
    fields = std::move(keptFields);
}

std::vector<VxScrivoMember> MemberScanner::Scan(const char* text, std::size_t length)
{
    MemberScanner scanner;
    while (!scanner.Step(text, length, length))
        continue;
    return scanner.Take();
}

bool MemberScanner::Step(const char* text, std::size_t length, std::size_t until)
{
    if (frames_.empty())
        frames_.emplace_back();
    while (!done_ && tokenizer_.Position() < std::min(until, length)) {
        const JavaToken token = tokenizer_.Next(text, length);
        if (token.kind == JavaToken::kEnd)
            break;
        Token(text, length, token);
    }
    if (tokenizer_.Position() >= length)
        done_ = true;
    return done_;
}

void MemberScanner::Token(const char* text, std::size_t length, const JavaToken& token)
{
    TypeFrame& frame = frames_.back();
    if (frame.enumConstants)
        EnumConstantToken(text, length, token, frame);
    else
        DeclarationToken(text, length, token, frame);
}

bool MemberScanner::AnnotationToken(const JavaToken& token, std::string_view word, Declaration& d)
{
    const char punct = token.kind == JavaToken::kPunct ? token.punct : 0;
    switch (d.annotation) {
    case 0:
        if (punct != '@')
            return false;
        d.annotation = 1;
        return true;
    case 1:
        d.annotation = 0;
        // "@interface" declares an annotation type.
        if (word.empty() || word == "interface")
            return false;
        d.annotation = 2;
        return true;
    case 2:
        if (punct == '.' && token.length == 1) {
            d.annotation = 3;
            return true;
        }
        if (punct == '(') {
            d.annotation = 4;
            d.annotationDepth = 1;
            return true;
        }
        // The annotation has ended; the token may start the next one.
        d.annotation = 0;
        return AnnotationToken(token, word, d);
    case 3:
        d.annotation = word.empty() ? 0 : 2;
        return !word.empty();
    default:
        if (punct == '(')
            ++d.annotationDepth;
        else if (punct == ')' && --d.annotationDepth == 0)
            d.annotation = 0;
        return true;
    }
}

void MemberScanner::DeclarationToken(const char* text, std::size_t length, const JavaToken& token, TypeFrame& frame)
{
    Declaration& d = frame.declaration;
    const char punct = token.kind == JavaToken::kPunct ? token.punct : 0;
    if (d.inValue) {
        if (punct == '(' || punct == '[' || punct == '{') {
            ++d.valueDepth;
        } else if (punct == ')' || punct == ']' || punct == '}') {
            if (--d.valueDepth < 0) {  // a value cut short by the end of its type
                d.Reset();
                if (frames_.size() > 1)
                    frames_.pop_back();
            }
        } else if (d.valueDepth == 0 && punct == ',') {
            d.inValue = false;
        } else if (d.valueDepth == 0 && punct == ';') {
            EndDeclaration(frame);
        }
        return;
    }
    const std::string_view word =
        token.kind == JavaToken::kWord ? std::string_view(text + token.start, token.length) : std::string_view();
    if (AnnotationToken(token, word, d))
        return;
    const Word here{std::string(text + token.start, token.length), token.line, token.kind == JavaToken::kWord};
    if (d.parenDepth > 0) {
        if (punct == '(')
            ++d.parenDepth;
        if (punct == ')' && --d.parenDepth == 0) {
            d.hasParameters = true;
            return;
        }
        d.parameters.push_back(here);
        return;
    }
    switch (punct) {
    case '(':
        // A name before it, or a generic record's type parameters.
        if (!d.hasParameters && !d.head.empty() &&
            (d.head.back().word ||
             (d.head.back().text == ">" && std::any_of(d.head.begin(), d.head.end(), [](const Word& w) {
                  return w.text == "record";
              })))) {
            d.nameIndex = static_cast<int>(d.head.size()) - 1;
            d.parenDepth = 1;
        }
        return;
    case '=':
        if (!d.hasParameters && !d.head.empty() && d.head.back().word) {
            d.fields.push_back(d.head.back());
            d.inValue = true;
            d.valueDepth = 0;
        }
        return;
    case ',':
        if (d.angleDepth == 0 && !d.hasParameters) {
            auto last = std::find_if(d.head.rbegin(), d.head.rend(), [](const Word& w) { return w.word; });
            if (last != d.head.rend())
                d.fields.push_back(*last);
            return;
        }
        break;
    case ';':
        EndDeclaration(frame);
        return;
    case '{':
        OpenBody(text, length, frame);
        return;
    case '}':
        d.Reset();
        if (frames_.size() > 1)
            frames_.pop_back();
        return;
    case '<':
        ++d.angleDepth;
        break;
    case '>':
        --d.angleDepth;
        break;
    default:
        break;
    }
    d.head.push_back(here);
}

void MemberScanner::EnumConstantToken(const char* text, std::size_t length, const JavaToken& token, TypeFrame& frame)
{
    Declaration& d = frame.declaration;
    const char punct = token.kind == JavaToken::kPunct ? token.punct : 0;
    if (frame.constantDepth > 0) {
        if (punct == '(' || punct == '[' || punct == '{')
            ++frame.constantDepth;
        else if (punct == ')' || punct == ']' || punct == '}')
            --frame.constantDepth;
        return;
    }
    const std::string_view word =
        token.kind == JavaToken::kWord ? std::string_view(text + token.start, token.length) : std::string_view();
    if (AnnotationToken(token, word, d))
        return;
    if (!word.empty()) {
        if (frame.expectConstant)
            AddField(Word{std::string(word), token.line, true}, frame.index);
        frame.expectConstant = false;
        return;
    }
    switch (punct) {
    case '(':
        frame.constantDepth = 1;
        break;
    case '{':
        // A constant's own class body.
        tokenizer_.SkipBody(text, length);
        break;
    case ',':
        frame.expectConstant = true;
        break;
    case ';':
        frame.enumConstants = false;
        d.Reset();
        break;
    case '}':
        if (frames_.size() > 1)
            frames_.pop_back();
        break;
    default:
        break;
    }
}

void MemberScanner::OpenBody(const char* text, std::size_t length, TypeFrame& frame)
{
    Declaration& d = frame.declaration;
    for (std::size_t k = 0; k + 1 < d.head.size(); ++k) {
        const int kind = d.head[k].word ? TypeKind(d.head[k].text) : -1;
        const bool dotted = k > 0 && d.head[k - 1].text == ".";
        if (kind < 0 || dotted || !d.head[k + 1].word)
            continue;
        const int index = AddType(d, k, frame.index);
        TypeFrame type;
        type.index = index;
        type.enumConstants = type.expectConstant = kind == VxScrivoMember::kEnum;
        if (kind == VxScrivoMember::kRecord && d.hasParameters) {
            const Parameters components = ReadParameters(d.parameters);
            type.components = components.types;
            type.componentCount = static_cast<int>(components.names.size());
        }
        frame.declaration.Reset();
        frames_.push_back(std::move(type));  // frame is not used past here
        return;
    }
    if (frame.index >= 0) {
        if (d.hasParameters && d.nameIndex >= 0) {
            AddMethod(d, frame.index);
        } else if (outline_[static_cast<std::size_t>(frame.index)].kind == VxScrivoMember::kRecord) {
            // A compact constructor: the record's name alone, before a body.
            const std::string& record = outline_[static_cast<std::size_t>(frame.index)].name;
            std::vector<const Word*> words;
            for (const Word& w : d.head) {
                if (!IsModifier(w.text))
                    words.push_back(&w);
            }
            if (words.size() == 1 && words[0]->text == record) {
                VxScrivoMember member;
                member.name = record;
                member.label = record + "(" + frame.components + ")";
                member.line = words[0]->line;
                member.kind = VxScrivoMember::kConstructor;
                member.parent = frame.index;
                member.parameters = frame.componentCount;
                outline_.push_back(std::move(member));
            }
        }
    }
    frame.declaration.Reset();
    tokenizer_.SkipBody(text, length);
}

void MemberScanner::EndDeclaration(TypeFrame& frame)
{
    Declaration& d = frame.declaration;
    if (frame.index >= 0) {
        if (d.hasParameters && d.nameIndex >= 0) {
            AddMethod(d, frame.index);
        } else if (!d.hasParameters) {
            if (!d.inValue) {
                auto last = std::find_if(d.head.rbegin(), d.head.rend(), [](const Word& w) { return w.word; });
                if (last != d.head.rend())
                    d.fields.push_back(*last);
            }
            const auto words = std::count_if(d.head.begin(), d.head.end(), [](const Word& w) { return w.word; });
            if (words >= 2) {
                for (const Word& name : d.fields)
                    AddField(name, frame.index);
            }
        }
    }
    d.Reset();
}

MemberScanner::Parameters MemberScanner::ReadParameters(const std::vector<Word>& tokens)
{
    Parameters result;
    std::vector<Word> one;
    auto finish = [&result, &one] {
        // The name is the last word; array brackets behind it belong to the type.
        std::size_t end = one.size();
        std::string dims;
        while (end >= 2 && one[end - 1].text == "]" && one[end - 2].text == "[") {
            dims += "[]";
            end -= 2;
        }
        std::size_t name = end;
        while (name > 0 && !one[name - 1].word)
            --name;
        if (name == 0 || one[name - 1].text == "this") {
            one.clear();
            return;
        }
        --name;
        std::string type;
        bool wordBefore = false;
        for (std::size_t i = 0; i < name; ++i) {
            const Word& w = one[i];
            if (w.text == "final")
                continue;
            if (w.word && wordBefore)
                type += ' ';
            type += w.text;
            if (w.text == ",")
                type += ' ';
            wordBefore = w.word || w.text == "?";
        }
        type += dims;
        if (!result.types.empty())
            result.types += ", ";
        result.types += type;
        result.names.push_back(one[name]);
        one.clear();
    };
    int angles = 0;
    for (const Word& w : tokens) {
        if (w.text == "<")
            ++angles;
        else if (w.text == ">")
            --angles;
        if (w.text == "," && angles == 0) {
            finish();
            continue;
        }
        one.push_back(w);
    }
    if (!one.empty())
        finish();
    return result;
}

void MemberScanner::AddField(const Word& name, int parent)
{
    VxScrivoMember member;
    member.name = member.label = name.text;
    member.line = name.line;
    member.kind = VxScrivoMember::kField;
    member.parent = parent;
    outline_.push_back(std::move(member));
}

void MemberScanner::AddMethod(const Declaration& d, int parent)
{
    const Word& name = d.head[static_cast<std::size_t>(d.nameIndex)];
    // Without a return type before its name it is a constructor.
    bool returnType = false;
    int angles = 0;
    for (int i = 0; i < d.nameIndex && !returnType; ++i) {
        const Word& w = d.head[static_cast<std::size_t>(i)];
        if (w.text == "<")
            ++angles;
        else if (w.text == ">")
            --angles;
        else if (angles == 0 && w.text != "-" && !IsModifier(w.text))
            returnType = true;
    }
    const Parameters parameters = ReadParameters(d.parameters);
    VxScrivoMember member;
    member.name = name.text;
    member.label = name.text + "(" + parameters.types + ")";
    member.line = name.line;
    member.kind = returnType ? VxScrivoMember::kMethod : VxScrivoMember::kConstructor;
    member.parent = parent;
    member.parameters = static_cast<int>(parameters.names.size());
    outline_.push_back(std::move(member));
}

int MemberScanner::AddType(const Declaration& d, std::size_t keyword, int parent)
{
    VxScrivoMember member;
    member.kind = TypeKind(d.head[keyword].text);
    member.name = member.label = d.head[keyword + 1].text;
    member.line = d.head[keyword].line;
    member.parent = parent;
    const int index = static_cast<int>(outline_.size());
    outline_.push_back(member);
    // A record's components are its fields.
    if (member.kind == VxScrivoMember::kRecord && d.hasParameters) {
        for (const Word& name : ReadParameters(d.parameters).names)
            AddField(name, index);
    }
    return index;
}
