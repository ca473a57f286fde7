#pragma once

#include <string>

// The small HTML page that launches an applet, and the names it is made
// with: the applet's class file from the document's title, and the page's
// file beside the document.
namespace AppletPage {

// The page, CR LF line ends, the last line without one.
extern const char* const kTemplate;
extern const char* const kClassPlaceholder;

// "Hello.java" gives "Hello.class"; a title without ".java" (in lower case)
// gets ".class" appended unless it holds ".class" already.
std::string ClassFileName(const std::string& title);
// The page beside the document: ".java" in the file name becomes ".html";
// a name without it has its extension (any case) replaced by ".html". Never
// the document's own path; empty for a document without a file.
std::string OutputFileName(const std::string& documentPath);
// The template with every placeholder replaced by the class file name.
std::string PageText(const std::string& classFileName);

}  // namespace AppletPage
