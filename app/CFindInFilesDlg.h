#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The "Find in Files" dialog: what to find (with the Find dialog's
// history), how, in which folder and which files. The caller fills Values
// before showing it and reads them after Find.
class CFindInFilesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Find in Files";
    static constexpr const char* kDefaultFileTypes = "*.java;*.html;*.htm;*.js";

    struct Values {
        QString text;
        bool matchCase = false;
        bool wholeWord = false;
        bool pattern = false;
        QString folder;
        QString fileTypes = QString::fromLatin1(kDefaultFileTypes);
        bool subfolders = true;
    };

    explicit CFindInFilesDlg(const Values& values, QWidget* parent = nullptr);

    Values Result() const;

private:
    void ChooseFolder();
    void UpdateFindButton();

    QComboBox* text_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QCheckBox* pattern_;
    QLineEdit* folder_;
    QLineEdit* fileTypes_;
    QCheckBox* subfolders_;
    QPushButton* find_;
};
