#pragma once

#include <QMainWindow>
#include <QString>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QUrl;

// The program's help: the pages of QuilletHelp/ in a browser with the
// contents beside it (the pages the welcome page lists, in its order), back
// and forward through the pages seen, and a search within the page shown.
class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kWelcomePage = "Welcome.htm";

    // helpDirectory holds the pages and ends in '/'.
    explicit CHelpWindow(const QString& helpDirectory, QWidget* parent = nullptr);

    // Shows a page of the help directory; false when it does not exist.
    bool ShowPage(const QString& fileName);
    // Selects the next (or previous) match of the text in the page shown,
    // wrapping around its end; false when the page does not contain it.
    bool FindInPage(const QString& text, bool backward = false);

    QTextBrowser* Browser() const { return browser_; }
    QListWidget* Contents() const { return contents_; }
    QLineEdit* SearchBox() const { return search_; }

private:
    void FillContents();
    void OnSourceChanged(const QUrl& source);

    QString directory_;
    QTextBrowser* browser_;
    QListWidget* contents_;
    QLineEdit* search_;
};
