#pragma once

#include <string>
#include <vector>

// The plain results a language server's replies are read into. Positions
// are as the server sends them: zero-based lines and columns in UTF-16 code
// units (LspUtf16 turns them into the editor's byte columns).

struct LspPosition {
    int line = 0;
    int character = 0;
    bool operator==(const LspPosition&) const = default;
};

struct LspRange {
    LspPosition start;
    LspPosition end;
    bool operator==(const LspRange&) const = default;
};

struct LspLocation {
    std::string uri;
    LspRange range;
};

struct LspTextEdit {
    LspRange range;
    std::string newText;
};

struct LspCompletionItem {
    std::string label;
    int kind = 0;  // CompletionItemKind, 0 when the server gave none
    std::string detail;
    std::string documentation;  // markdown or plain text, as given
    std::string insertText;     // empty: the label is inserted
    bool insertTextIsSnippet = false;
    bool hasTextEdit = false;
    LspTextEdit textEdit;  // for an InsertReplaceEdit, its insert range
    std::vector<LspTextEdit> additionalTextEdits;
    std::string sortText;
    std::string filterText;
    std::string data;  // the item's "data" as JSON text, kept for completionItem/resolve
    std::string raw;   // the whole item as JSON text, sent back to resolve it
};

struct LspCompletionList {
    bool isIncomplete = false;
    std::vector<LspCompletionItem> items;
};

struct LspParameter {
    std::string label;  // the text of the parameter, also when given as offsets
    std::string documentation;
};

struct LspSignature {
    std::string label;
    std::string documentation;
    std::vector<LspParameter> parameters;
    int activeParameter = -1;  // -1: none
};

struct LspSignatureHelp {
    std::vector<LspSignature> signatures;
    int activeSignature = 0;
    int activeParameter = -1;
};

struct LspHover {
    std::string contents;
    bool isMarkdown = false;
    bool hasRange = false;
    LspRange range;
};

struct LspDiagnostic {
    LspRange range;
    int severity = 0;  // 1 error, 2 warning, 3 information, 4 hint, 0 unknown
    std::string message;
    std::string source;
    std::string code;
};

struct LspDiagnostics {
    std::string uri;
    int version = -1;  // -1 when the server gave none
    std::vector<LspDiagnostic> diagnostics;
};

// What the running server said it can do, as far as the editor uses it.
struct LspServerCapabilities {
    int textDocumentSync = 0;  // 0 none, 1 full, 2 incremental
    bool saveIncludesText = false;
    bool completion = false;
    bool completionResolve = false;
    std::vector<std::string> completionTriggers;
    bool signatureHelp = false;
    std::vector<std::string> signatureTriggers;
    bool hover = false;
    bool definition = false;
    bool references = false;
};
