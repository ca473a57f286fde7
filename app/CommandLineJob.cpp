#include "app/CommandLineJob.h"

#include "app/CScrivoDoc.h"
#include "app/LanguageRegistration.h"
#include "app/SettingsKeys.h"
#include "engine/VxEditFileError.h"
#include "engine/VxScrivo.h"
#include "language/VxEditHtmlExport.h"
#include "platform/core/Profile.h"
#include "view/VxEditPrinter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Opens the output once for writing, so that a file that cannot be written
// is reported with its cause before any work is done.
bool CanWrite(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        VxEditFileError::Report(errno, path);
        return false;
    }
    close(descriptor);
    return true;
}

}  // namespace

CommandLineJob::CommandLineJob(quillet::platform::Profile& profile, std::string programDirectory,
                               std::string userSettingsDirectory)
    : profile_(profile),
      programDirectory_(std::move(programDirectory)),
      userSettingsDirectory_(std::move(userSettingsDirectory))
{
    RegisterLanguages(profile_, programDirectory_, userSettingsDirectory_);
}

int CommandLineJob::PrintToPdf(const std::string& file, const std::string& pdf)
{
    CScrivoDoc document;
    // The loader reports why a file cannot be read.
    if (!document.OnOpenDocument(file) || !CanWrite(pdf))
        return 1;
    document.SetPathName(file);
    VxEditPrinter printer(*document.Model(), document.Title());
    // As the windows print: in colour when the user chose so.
    printer.SetInColour(profile_.GetInt(settings::kSettings, settings::kPrintInColour, 0) != 0);
    if (printer.WritePdf(pdf) != 1) {
        VxEditFileError::Report(EIO, pdf);
        return 1;
    }
    return 0;
}

int CommandLineJob::ExportHtml(const std::string& file, const std::string& html)
{
    CScrivoDoc document;
    if (!document.OnOpenDocument(file) || !CanWrite(html))
        return 1;
    if (VxEditHtmlExport(*document.Model()).WritePage(html) != 1) {
        VxEditFileError::Report(EIO, html);
        return 1;
    }
    return 0;
}
