#pragma once

#include "engine/VxEditFileStamp.h"

#include <string>
#include <vector>

// Puts right, at start, the files whose save into the file itself a run
// that ended (killed, crashed, the power gone) left unfinished, from the
// save records (VxEditSaveIntent) in the backup folder that no running save
// holds. A file caught while its new text was being written gets its old
// content back from the copy, with its old modification time, so that the
// recovery journals made against that content match it again and offer the
// text that was being saved. A save that had not yet touched the file only
// leaves its record and copy to remove; one whose new text was whole on disk
// keeps it.
class VxEditInterruptedSaves {
public:
    struct Outcome {
        enum class Kind {
            Restored,     // the old content is back
            Finished,     // the new text was whole and stays
            NotRestored,  // the file is left as it is, perhaps half written
        };
        Kind kind = Kind::Restored;
        std::string target;
        // NotRestored: why, and where the old content is kept.
        std::string reason;
        std::string backup;
        // Finished: the file as the save left it.
        VxEditFileStamp after;
    };

    // Settles every record in folder whose save no longer runs, and removes
    // it; a copy that could not be put back stays.
    static std::vector<Outcome> Settle(const std::string& folder);
    // What was done, for the user; empty when there is nothing to tell.
    static std::string Describe(const std::vector<Outcome>& outcomes);
};
