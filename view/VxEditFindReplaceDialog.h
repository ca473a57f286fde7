#pragma once

#include "controller/IVxEditFindDialog.h"
#include "controller/VxEditSearchState.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class CScrivoView;

// The modeless Find and Replace dialogs: one of them is open at a time per
// thread, and the controller of the edit window used last carries out its
// requests. Opening it again only brings it forward.
class VxEditFindReplaceDialog : public QDialog, public IVxEditFindDialog {
    Q_OBJECT
public:
    // Opens the find (or replace) dialog for the view, preset from the
    // search state and the view's selection, or activates the open one.
    static VxEditFindReplaceDialog* Open(CScrivoView& view, bool replace);
    // The open dialog, or null.
    static VxEditFindReplaceDialog* Current();

    // The edit window whose controller carries out the requests.
    void SetEditor(CScrivoView* view);
    void Activate() override;
    bool IsReplace() const { return replace_; }

    QComboBox* FindCombo() const { return findCombo_; }
    QComboBox* ReplaceCombo() const { return replaceCombo_; }
    QCheckBox* WholeWordBox() const { return wholeWord_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QCheckBox* PatternBox() const { return pattern_; }
    QRadioButton* UpButton() const { return up_; }
    QRadioButton* DownButton() const { return down_; }
    QRadioButton* SelectionButton() const { return selection_; }
    QRadioButton* WholeFileButton() const { return wholeFile_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* MarkAllButton() const { return markAll_; }
    QPushButton* ReplaceButton() const { return replaceOne_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QPushButton* CancelButton() const { return cancel_; }

    ~VxEditFindReplaceDialog() override;
    // Closing tells the controller, forgets the dialog and gives the
    // editor the focus back.
    void done(int result) override;

private:
    VxEditFindReplaceDialog(CScrivoView& view, bool replace);
    void BuildLayout();
    void Preset(CScrivoView& view);
    void UpdateButtons();
    void Request(int code);
    VxEditFindDialogValues Values() const;
    static void FillHistory(QComboBox* combo, const std::vector<std::string>& history);

    bool replace_;
    bool closing_ = false;
    QPointer<CScrivoView> editor_;
    QComboBox* findCombo_ = nullptr;
    QComboBox* replaceCombo_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* pattern_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QRadioButton* selection_ = nullptr;
    QRadioButton* wholeFile_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* markAll_ = nullptr;
    QPushButton* replaceOne_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
