#pragma once

#include <QDialog>

class CStaticURL;

// "About Quillet": the program's version, the Qt version it was built with,
// and a link to the Java development kit it works with.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersionText = "Quillet Version 2.0";
    static constexpr const char* kLinkAddress = "https://openjdk.org/";

    explicit CAboutDlg(QWidget* parent = nullptr);

    CStaticURL* Link() const { return link_; }

private:
    CStaticURL* link_;
};
