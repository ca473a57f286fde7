#pragma once

#include "mvc/IRefCount.h"

#include <QDialog>

#include <string>

class QLineEdit;
class CScrivoView;
class VxHTMLEdit;

// "Create HTML file for Applet": the applet page, editable in an edit view
// of its own coloured as HTML, and the file to save it as. OK saves the
// page; a failed save (reported by the text model) keeps the dialog open.
class CHTMLTextDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHTMLTextDlg(QWidget* parent = nullptr);
    ~CHTMLTextDlg() override;

    // Before showing: the applet's class file, the proposed page file and
    // the document's own file, which the page must never overwrite.
    void SetClassName(const std::string& classFileName);
    void SetFileName(const std::string& fileName);
    void SetDocumentPath(const std::string& documentPath) { documentPath_ = documentPath; }

    std::string PageText() const;
    std::string FileName() const;
    VxHTMLEdit& Model() const { return *model_; }
    CScrivoView& PageView() const { return *view_; }

    void accept() override;

private:
    void Browse();

    tarrow::foundation::RefPtr<VxHTMLEdit> model_;
    CScrivoView* view_;
    QLineEdit* fileName_;
    std::string documentPath_;
};
