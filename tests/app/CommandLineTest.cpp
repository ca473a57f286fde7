// The real quillet program started the way scripts and build servers start
// it: with no display at all. Printing a real Java file to PDF gives the
// laid-out pages, read back with poppler's pdfinfo and pdftotext.
#include "app/CScrivoDoc.h"
#include "app/LanguageRegistration.h"
#include "engine/VxScrivo.h"
#include "language/VxEditHtmlExport.h"
#include "platform/core/MemoryProfile.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "view/VxEditPrinter.h"

#include <QImage>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace {

using quillet::test::ProcessResult;
using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

// A Java program long enough for several pages, with tabs and one line far
// wider than the page.
std::string HelloJava()
{
    std::string text = "import java.util.ArrayList;\r\nimport java.util.List;\r\n\r\n"
                       "/** Greets a list of names. */\r\npublic class Hello {\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "\tstatic String greeting" + std::to_string(i) + "(String name) {\r\n";
        text += "\t\treturn \"Hello \" + name + \" number " + std::to_string(i) + "\";\r\n\t}\r\n\r\n";
    }
    text += "\tstatic final String WIDE = \"";
    for (int i = 0; i < 60; ++i)
        text += "word" + std::to_string(i) + "_";
    text += "\";\r\n\r\n\tpublic static void main(String[] args) {\r\n"
            "\t\tList<String> names = new ArrayList<>(List.of(args));\r\n"
            "\t\tfor (String name : names)\r\n\t\t\tSystem.out.println(greeting0(name));\r\n\t}\r\n}\r\n";
    return text;
}

std::string Squeezed(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += c;
    }
    return out;
}

std::vector<std::string> NonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!Squeezed(line).empty())
            lines.push_back(line);
    }
    return lines;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    const std::size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

class CommandLine : public ::testing::Test {
protected:
    // The program with no display and no settings of the user's.
    ProcessResult Quillet(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> argv = {"env",
                                         "-u",
                                         "DISPLAY",
                                         "-u",
                                         "WAYLAND_DISPLAY",
                                         "-u",
                                         "QT_QPA_PLATFORM",
                                         "XDG_CONFIG_HOME=" + directory.File("config"),
                                         std::string(QUILLET_PROGRAM_DIR) + "quillet"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunProcess(argv, directory.Path().string());
    }

    // The pages the editor's own layout gives the file on the PDF's pages.
    int LaidOutPages(const std::string& file)
    {
        quillet::platform::MemoryProfile profile;
        RegisterLanguages(profile, QUILLET_PROGRAM_DIR, directory.File("config") + "/Tarrow Samples/");
        CScrivoDoc document;
        EXPECT_TRUE(document.OnOpenDocument(file));
        QPdfWriter writer(QString::fromStdString(directory.File("layout.pdf")));
        VxEditPrinter::SetUpPdfWriter(writer);
        VxEditPrinter printer(*document.Model(), "Hello.java");
        return printer.BeginPrinting(writer);
    }

    TempDir directory;
};

TEST_F(CommandLine, PrintsAJavaFileToAPdfWithTitlePageNumbersAndEveryLineInOrder)
{
    const std::string java = HelloJava();
    WriteFileBytes(directory.File("Hello.java"), java);
    const ProcessResult run = Quillet({"--print-to-pdf", "Hello.java", "Hello.pdf"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const int pages = LaidOutPages(directory.File("Hello.java"));
    ASSERT_GE(pages, 3);

    const ProcessResult info = RunProcess({"pdfinfo", directory.File("Hello.pdf")});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    EXPECT_NE(info.out.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos) << info.out;

    const ProcessResult text = RunProcess({"pdftotext", "-layout", directory.File("Hello.pdf"), "-"});
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    std::vector<std::string> pageTexts;
    std::istringstream in(text.out);
    for (std::string page; std::getline(in, page, '\f');)
        pageTexts.push_back(page);
    if (!pageTexts.empty() && Squeezed(pageTexts.back()).empty())
        pageTexts.pop_back();
    ASSERT_EQ(static_cast<int>(pageTexts.size()), pages);

    std::string body;
    for (int page = 1; page <= pages; ++page) {
        std::vector<std::string> lines = NonEmptyLines(pageTexts[static_cast<std::size_t>(page - 1)]);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(Trimmed(lines.front()), "Hello.java") << "page " << page;
        EXPECT_EQ(Trimmed(lines.back()), "Page: " + std::to_string(page));
        for (std::size_t i = 1; i + 1 < lines.size(); ++i)
            body += lines[i];
    }
    EXPECT_EQ(Squeezed(body), Squeezed(java));
}

// The pixels of the PDF's first page (at 50 dpi) that are clearly coloured,
// neither grey nor black nor white.
int ColouredPixels(const std::string& pdf, const std::string& prefix)
{
    const ProcessResult render = RunProcess({"pdftoppm", "-r", "50", "-f", "1", "-l", "1", pdf, prefix});
    EXPECT_EQ(render.exitStatus, 0) << render.err;
    const QImage page(QString::fromStdString(prefix + "-1.ppm"));
    EXPECT_FALSE(page.isNull());
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            if (pixel.hsvSaturation() > 80 && pixel.value() > 60)
                ++coloured;
        }
    }
    return coloured;
}

TEST_F(CommandLine, PrintsBlackOnWhiteUnlessPrintInColourIsOn)
{
    WriteFileBytes(directory.File("Hello.java"), HelloJava());
    ASSERT_EQ(Quillet({"--print-to-pdf", "Hello.java", "Black.pdf"}).exitStatus, 0);
    EXPECT_EQ(ColouredPixels(directory.File("Black.pdf"), directory.File("black")), 0);

    std::filesystem::create_directories(directory.File("config/Tarrow Samples"));
    WriteFileBytes(directory.File("config/Tarrow Samples/Quillet.conf"), "[Settings]\nPrintInColour=1\n");
    const ProcessResult run = Quillet({"--print-to-pdf", "Hello.java", "Colour.pdf"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    // Keywords, comments and strings print in their colours.
    EXPECT_GT(ColouredPixels(directory.File("Colour.pdf"), directory.File("colour")), 50);
}

TEST_F(CommandLine, ExportsTheSamePageAsExportAsHtml)
{
    const std::string java = HelloJava();
    WriteFileBytes(directory.File("Hello.java"), java);
    const ProcessResult run = Quillet({"--export-html", "Hello.java", "Hello.html"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    quillet::platform::MemoryProfile profile;
    RegisterLanguages(profile, QUILLET_PROGRAM_DIR, directory.File("config") + "/Tarrow Samples/");
    CScrivoDoc document;
    ASSERT_TRUE(document.OnOpenDocument(directory.File("Hello.java")));
    EXPECT_EQ(ReadFileBytes(directory.File("Hello.html")), VxEditHtmlExport(*document.Model()).ExportPage());

    // A plain text of accents and Chinese: the page declares UTF-8 and holds
    // the text's exact bytes.
    const std::string text = "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87";
    WriteFileBytes(directory.File("cafe.txt"), text);
    const ProcessResult cafe = Quillet({"--export-html", "cafe.txt", "cafe.html"});
    ASSERT_EQ(cafe.exitStatus, 0) << cafe.err;
    EXPECT_EQ(ReadFileBytes(directory.File("cafe.html")),
              "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\"></HEAD><BODY>"
              "<PRE>" + text + "</PRE></BODY></HTML>");
}

TEST_F(CommandLine, AnUnreadableInputOrAnUnwritableOutputIsReportedAndFails)
{
    ProcessResult run = Quillet({"--print-to-pdf", "Missing.java", "Missing.pdf"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("'Missing.java' was not found."), std::string::npos) << run.err;

    WriteFileBytes(directory.File("Hello.java"), "class Hello {}\r\n");
    run = Quillet({"--export-html", "Hello.java", "no/such/folder/Hello.html"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("'no/such/folder/Hello.html' was not found."), std::string::npos) << run.err;

    run = Quillet({"--print-to-pdf", "Hello.java"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("quillet --print-to-pdf FILE OUT.pdf"), std::string::npos) << run.err;

    // A pipe nobody writes and a device that never ends are refused at once.
    ASSERT_EQ(0, mkfifo(directory.File("Pipe.java").c_str(), 0600));
    run = Quillet({"--export-html", "Pipe.java", "Pipe.html"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("'Pipe.java' is not a regular file (a pipe)."), std::string::npos) << run.err;
    run = Quillet({"--print-to-pdf", "/dev/zero", "Zero.pdf"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("'/dev/zero' is not a regular file (a character device)."), std::string::npos)
        << run.err;
}

TEST_F(CommandLine, HelpNeedsNoDisplayAndTheEditorSaysInOneSentenceThatItNeedsOne)
{
    const ProcessResult help = Quillet({"--help"});
    EXPECT_EQ(help.exitStatus, 0) << help.err;
    EXPECT_NE(help.out.find("--print-to-pdf"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--export-html"), std::string::npos) << help.out;

    const ProcessResult editor = Quillet({"Hello.java"});
    EXPECT_EQ(editor.exitStatus, 1);
    ASSERT_EQ(NonEmptyLines(editor.err).size(), 1u) << editor.err;
    EXPECT_NE(editor.err.find("no display can be reached"), std::string::npos) << editor.err;
}

}  // namespace
