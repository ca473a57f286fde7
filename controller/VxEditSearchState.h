#pragma once

#include "engine/VxEditPattern.h"

#include <cstddef>
#include <string>
#include <vector>

class IVxEditFindDialog;
class VxEditController;

// What the find and replace dialogs set and the searches read, kept across
// dialogs and documents for the life of the user-interface thread.
class VxEditSearchState {
public:
    static constexpr std::size_t kHistoryLength = 16;

    // The state of the calling thread.
    static VxEditSearchState& ForThread();

    // Puts text at the front of a history, dropping an equal entry and
    // cutting the list to kHistoryLength; empty texts are not kept.
    static void AddToHistory(std::vector<std::string>& history, const std::string& text);

    // The pattern engine that expands replacements, compiled once for each
    // find text and case setting.
    VxEditPattern& ReplacePattern() { return replacePattern_; }

    IVxEditFindDialog* openDialog = nullptr;
    // The controller that carries out the open dialog's requests: the one
    // of the edit window used last.
    VxEditController* owner = nullptr;
    bool fromFindDialog = true;
    std::string findText;
    std::string replaceText;
    std::vector<std::string> findHistory;
    std::vector<std::string> replaceHistory;
    bool matchCase = false;
    bool searchDown = true;
    bool wholeWord = false;
    bool inSelection = false;
    bool pattern = false;
    bool patternAvailable = true;

private:
    VxEditSearchState();

    VxEditPattern replacePattern_;
};

// The values a dialog hands over with each request.
struct VxEditFindDialogValues {
    std::string findText;
    std::string replaceText;
    bool matchCase = false;
    bool searchDown = true;
    bool wholeWord = false;
    bool inSelection = false;
    bool fromFindDialog = true;
    bool pattern = false;
};
