#pragma once

#include "engine/VxEditFileStamp.h"
#include "engine/VxEditTextObserver.h"

#include <cstdint>
#include <string>

class VxEdit;

// The recovery record of one document: a journal file that lets the text be
// rebuilt after the program was killed. It starts from a base (the document's
// file as it was last read or written, identified by its size and
// modification time, or an empty text) and holds the edits made since, as
// they are told to the model's observers, so that the cost of an edit never
// grows with the size of the text. A small text is written whole instead.
//
// Every record is framed by its length and a checksum and only appended, so
// a crash while writing leaves at most a torn last record, which reading
// ignores: the text is rebuilt as of the write before.
class VxEditRecoveryJournal : public VxEditTextObserver {
public:
    // Texts up to this size are written whole when a journal starts.
    static constexpr std::int64_t kWholeTextLimit = 4 << 20;

    // Observes the model; nothing is written before the first Flush with
    // edits pending.
    VxEditRecoveryJournal(VxEdit& model, std::string journalPath);
    ~VxEditRecoveryJournal() override;
    VxEditRecoveryJournal(const VxEditRecoveryJournal&) = delete;
    VxEditRecoveryJournal& operator=(const VxEditRecoveryJournal&) = delete;

    // The text now equals the file at documentPath as the stamp describes
    // it (just loaded or saved; an empty path means an empty text): the
    // journal file goes, and a new one starts with the next edit.
    void Restart(const std::string& documentPath, const std::string& title, const VxEditFileStamp& stamp);
    // Writes what is pending (false when writing failed).
    bool Flush();
    bool HasPending() const { return !pending_.empty() || wholeText_; }
    // Removes the journal file; the journal goes on with the next edit.
    void Remove();
    const std::string& JournalPath() const { return journalPath_; }

    void OnNewText() override;
    void OnTextCommand(const VxEditTextCommand& command) override;

    // What a journal file holds.
    struct Contents {
        std::string documentPath;  // empty for a document never saved
        std::string title;
        std::string text;
        // Why the end of the file was left out; empty when all of it was used.
        std::string damage;
    };
    // Rebuilds the text from a journal file; false with a reason when the
    // file holds no usable record or its base file is no longer the same.
    static bool Read(const std::string& journalPath, Contents& contents, std::string& reason);

private:
    void Append(char kind, const std::string& payload);
    bool StartFile();

    VxEdit& model_;
    std::string journalPath_;
    std::string documentPath_;
    std::string title_;
    VxEditFileStamp base_;
    // Framed records not yet written; a file descriptor once the journal
    // file exists.
    std::string pending_;
    int descriptor_ = -1;
    // The text was replaced wholesale: the next write starts a new journal
    // with the whole text.
    bool wholeText_ = false;
};
