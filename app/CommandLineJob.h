#pragma once

#include <string>

namespace quillet::platform {
class Profile;
}

// The command line's forms that write one file from another and end, with
// no window and no display: "--print-to-pdf FILE OUT.pdf" prints FILE as
// Print would, onto A4 pages of a PDF; "--export-html FILE OUT.html" writes
// the page Export as HTML writes. The languages are registered as the
// editor registers them, so colours, font and tab size are the user's.
// Problems are told through the message seam (standard error without a
// window). Each returns the program's exit status: 0 on success, 1 when the
// input cannot be read or the output cannot be written.
class CommandLineJob {
public:
    CommandLineJob(quillet::platform::Profile& profile, std::string programDirectory,
                   std::string userSettingsDirectory);

    int PrintToPdf(const std::string& file, const std::string& pdf);
    int ExportHtml(const std::string& file, const std::string& html);

private:
    quillet::platform::Profile& profile_;
    std::string programDirectory_;
    std::string userSettingsDirectory_;
};
