#pragma once

#include "engine/VxEditFileStamp.h"

#include <cstdint>
#include <string>

// The record of a save that writes into the file itself. It lies in the
// backup folder beside the copy of the file's old content (the same name
// with ".backup" for ".intent"), is on disk before the file's first byte
// changes and goes after the save, so that a run that ends during the save
// leaves behind which file it was writing and how far it got. Each stage is
// appended as a record framed by its length and CRC-32 and flushed before
// the save goes on; the saving process holds an flock on the record while
// it lives, which tells a later start that the save is still running.
class VxEditSaveIntent {
public:
    enum class Stage : char {
        Started = 'S',   // the copy may be incomplete; the file is not touched yet
        BackedUp = 'B',  // the copy is whole and on disk; the file may be written
        Written = 'W',   // the file holds the whole new text, on disk
        Restored = 'R',  // the file holds its old content again
    };

    struct Record {
        std::string target;      // absolute
        VxEditFileStamp before;  // the file as it was when the save began
        Stage stage = Stage::Started;
        // BackedUp: the copy's length; Written: the new text's.
        std::int64_t length = 0;
    };

    static constexpr const char* kSuffix = ".intent";
    static constexpr const char* kBackupSuffix = ".backup";

    VxEditSaveIntent() = default;
    // Releases the lock; the files stay unless Finish or Forget removed them.
    ~VxEditSaveIntent();
    VxEditSaveIntent(const VxEditSaveIntent&) = delete;
    VxEditSaveIntent& operator=(const VxEditSaveIntent&) = delete;

    // Makes the record, in folder, of a save into target (absolute) as the
    // stamp describes it; locked and on disk. False with errno set.
    bool Begin(const std::string& folder, const std::string& target, const VxEditFileStamp& before);
    // Appends a stage and flushes it. BackedUp first makes the copy's name
    // lasting in its folder.
    bool Mark(Stage stage, std::int64_t length);
    // The save is over and the file is whole: the copy goes, then the record.
    void Finish();
    // The record goes and the copy stays, for the user to take the old
    // content from.
    void Forget();
    const std::string& Path() const { return path_; }
    const std::string& BackupPath() const { return backup_; }

    // Reads the record an open file holds: its header and its last whole
    // stage. False when not even the header is whole.
    static bool Read(int descriptor, Record& record);
    // The copy that belongs to the record at intentPath.
    static std::string BackupFor(const std::string& intentPath);

private:
    bool Append(char kind, const std::string& payload);
    void Close();

    std::string folder_;
    std::string path_;
    std::string backup_;
    int descriptor_ = -1;
};
