#pragma once

#include "controller/IVxEditClipboard.h"

class QMimeData;

// The system clipboard: text/plain, plus the "MSDEVColumnSelect" format
// whose presence marks the text as a column block. The exact bytes travel
// in a format of the program's own as well, so text that is not valid UTF-8
// pastes back unchanged inside the program.
class VxEditQtClipboard : public IVxEditClipboard {
public:
    static constexpr const char* kColumnFormat = "MSDEVColumnSelect";
    static constexpr const char* kBytesFormat = "application/x-quillet-text";

    // The data the clipboard and drag and drop carry for text.
    static QMimeData* MakeMimeData(const std::string& text, bool column);
    // False when the data holds no text.
    static bool ReadMimeData(const QMimeData* data, std::string& text, bool& column);

    void SetText(const std::string& text, bool column) override;
    void Clear() override;
    bool GetText(std::string& text, bool& column) const override;
    bool HasText() const override;
};
