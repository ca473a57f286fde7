#pragma once

#include "engine/VxScrivoDeclaration.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class MemberScanner;
class VxEditPattern;
class VxScrivo;

// Builds the declaration list of a Java text with the pattern engine over
// the whole text: classes, enums and records in text order, then the
// interfaces. The same steps build the model's outline of types and their
// members (MemberScanner). A header may carry generic type parameters, annotations and a
// record's components; the entry is the plain name. Matches that start
// inside a comment or string are skipped. HTML texts and texts of fewer
// than two lines have no declarations; a CR counts as a line end here, as it
// does for Java, so a file with the old Mac line ends is listed.
//
// The scan can go in steps, so that a text of a hundred megabytes never
// holds up its window: each Step reads about so many more bytes, and the
// model's list is replaced once the last step is done. An edit of the text
// between steps starts the scan over.
class DeclarationScanner {
public:
    // The pattern of one declaration header up to its opening brace.
    static const char* const kPattern;

    // Empties the model's list and fills it afresh, at once.
    static void Rebuild(VxScrivo& model);

    // The kind and plain name of a header the pattern matched.
    static VxScrivoDeclaration ParseHeader(std::string_view header);

    explicit DeclarationScanner(VxScrivo& model);
    ~DeclarationScanner();
    DeclarationScanner(const DeclarationScanner&) = delete;
    DeclarationScanner& operator=(const DeclarationScanner&) = delete;

    // Scans about bytes more of the text; true once the model's list holds
    // the result.
    bool Step(std::int64_t bytes);

private:
    void Restart();
    void Finish();

    VxScrivo& model_;
    std::unique_ptr<VxEditPattern> pattern_;
    std::unique_ptr<MemberScanner> members_;
    std::uint64_t revision_ = 0;
    bool oneLine_ = false;
    std::int64_t from_ = 0;
    std::int64_t acceptedEnd_ = -1;
    std::vector<VxScrivoDeclaration> classes_;
    std::vector<VxScrivoDeclaration> interfaces_;
    bool done_ = false;
};
