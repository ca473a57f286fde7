#pragma once

#include "engine/VxEditFileStamp.h"
#include "mvc/ICommandTarget.h"
#include "mvc/IRefCount.h"

#include <functional>
#include <memory>
#include <string>

class VxEditRecoveryJournal;
class VxScrivo;

// One open file. The document owns the file's text model for its whole life
// and connects it to the life cycle of new, open, save, save-as and the
// question about unsaved changes; all windows on it share the one model. The
// language (colouring) is chosen from the file name's extension whenever the
// file is opened or saved.
class CScrivoDoc : public tarrow::foundation::ICommandTarget {
public:
    static constexpr const char* kDocumentName = "Quillet";
    static constexpr const char* kFilterName = "Java Source (*.java)";
    static constexpr const char* kAllFilesFilter = "All Files (*)";
    static constexpr const char* kDefaultExtension = ".java";
    // Questions about the file on disk; %s is the file's path.
    static constexpr const char* kChangedReload = "The file %s was changed outside Quillet. Reload it?";
    static constexpr const char* kChangedReloadDiscarding =
        "The file %s was changed outside Quillet. Reload it? The changes made in Quillet will be lost.";
    static constexpr const char* kDeletedKept =
        "The file %s was deleted or moved outside Quillet. Its text stays open here, unsaved.";
    static constexpr const char* kChangedOverwrite =
        "The file %s was changed outside Quillet since it was opened or saved. Overwrite it?";

    CScrivoDoc();
    virtual ~CScrivoDoc();
    CScrivoDoc(const CScrivoDoc&) = delete;
    CScrivoDoc& operator=(const CScrivoDoc&) = delete;

    // "Java" for .java, "HTML" for .html and .htm, "JavaScript" for .js, .mjs
    // and .cjs, "CSS" for .css (any case), else "Default".
    static std::string LanguageFor(const std::string& path);
    // Whether the file's indentation follows its braces: Java (.java, and
    // a new text, which is Java) and JavaScript (.js, .mjs, .cjs).
    static bool IsBraceIndented(const std::string& path);

    // New empty Java text titled with the given name ("Quillet1").
    bool OnNewDocument(const std::string& title);
    // Loads the file; true exactly when the model reports success.
    bool OnOpenDocument(const std::string& path);
    // Saves to the path, choosing the language by its extension first.
    bool OnSaveDocument(const std::string& path);

    bool IsModified() const;
    void SetModifiedFlag(bool modified) { modifiedFlag_ = modified; }
    bool ModifiedFlag() const { return modifiedFlag_; }

    // Asks "Save changes to <title>?" when the text is modified; false when
    // the user cancelled or the save failed (the close must not go on).
    bool SaveModified();
    // Save: to the document's own file when it has one that is writable,
    // else through the Save As dialog.
    bool DoFileSave();
    // Saves to path, or asks for a name first when path is empty.
    bool DoSave(const std::string& path);

    // Asks for a file name and writes the whole text there as an HTML page
    // in the editor's colours.
    bool ExportAsHtml();
    // Syntax Settings: the font and colour dialog of the text's language;
    // on OK the language's settings are saved.
    bool EditFontAndColours();

    // Whether another program changed, replaced or deleted the file since
    // it was opened or saved (or since the user was last asked about it);
    // if so, asks whether to reload it, or reports a deleted file and keeps
    // the text as an unsaved change. True when something was asked.
    bool ReviewChangeOnDisk();

    // Keeps a recovery record of the unsaved changes in the journal file,
    // brought up to date by FlushRecoveryRecord; the record goes when the
    // text is saved or the document is closed.
    void KeepRecoveryRecord(const std::string& journalPath);
    void FlushRecoveryRecord();
    // A recovered text: modified, unsaved, under its file's path (empty for
    // a document never saved, which takes the title).
    void OnRecoverDocument(const std::string& path, const std::string& title, const std::string& text);
    // Shows the applet page made for this document's class and saves it
    // beside the document when confirmed.
    bool CreateAppletPage();

    const std::string& PathName() const { return path_; }
    const std::string& Title() const { return title_; }
    void SetPathName(const std::string& path);
    void SetTitle(const std::string& title);
    VxScrivo* Model() const { return model_.Get(); }

    // Told whenever the title changes and after a file was saved under a name.
    std::function<void(CScrivoDoc&)> onTitleChanged;
    std::function<void(const std::string& path)> onFileNamed;
    // Told after the text was written to the file at path.
    std::function<void(CScrivoDoc&, const std::string& path)> onSaved;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

private:
    // False when the file changed on disk since it was opened or saved and
    // the user does not want it overwritten.
    bool MayOverwrite(const std::string& target);

    tarrow::foundation::RefPtr<VxScrivo> model_;
    std::string path_;
    std::string title_;
    bool modifiedFlag_ = false;
    // The file when it was last read or written, and when the user was last
    // asked about it.
    VxEditFileStamp loadedStamp_;
    VxEditFileStamp seenStamp_;
    std::unique_ptr<VxEditRecoveryJournal> journal_;
};

// Document classes that the program can create by name; they behave as
// CScrivoDoc does, and every document the program opens is a CScrivoDoc.
class CScrivoDocJava : public CScrivoDoc {};
class CScrivoDocHTML : public CScrivoDoc {};
class CScrivoDocJScript : public CScrivoDoc {};
