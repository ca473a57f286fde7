// Print Preview of a long text opens without drawing the whole job: only the
// pages on show are printed, and they show the text in black on white. A
// print job takes the printer's page range and copies. The preview fits a
// page or its width, or zooms.
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/view/ViewSupport.h"
#include "view/VxEditPrintPreview.h"
#include "view/VxEditPrinter.h"

#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using quillet::test::ViewFixture;

int DarkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    }
    return dark;
}

TEST(PrintPreview, DrawsOnlyThePagesOnShow)
{
    ViewFixture fixture;
    std::string text;
    for (int line = 0; line < 20000; ++line)
        text += "    public int value" + std::to_string(line) + " = " + std::to_string(line) + ";\r\n";
    fixture.SetText(text);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    VxEditPrinter job(*fixture.model, "Values.java");
    const int pages = job.BeginPrinting(printer);
    ASSERT_GT(pages, 100);

    VxEditPrintPreview preview(job, printer);
    preview.resize(600, 700);
    const QImage first = preview.grab().toImage();
    EXPECT_EQ(job.PagesPrinted(), 1);
    EXPECT_EQ(preview.PageLabel()->text(), QStringLiteral("Page 1 of %1").arg(pages));
    EXPECT_GT(DarkPixels(first), 500);
    EXPECT_FALSE(preview.PreviousButton()->isEnabled());

    preview.NextButton()->click();
    preview.grab();
    EXPECT_EQ(preview.CurrentPage(), 2);
    EXPECT_EQ(job.PagesPrinted(), 2);

    preview.PagesButton()->click();
    preview.grab();
    EXPECT_EQ(job.PagesPrinted(), 4);
    EXPECT_EQ(preview.PageLabel()->text(), QStringLiteral("Pages 2-3 of %1").arg(pages));

    preview.ShowPage(pages);
    EXPECT_FALSE(preview.NextButton()->isEnabled());
    EXPECT_EQ(preview.PagesShown(), 1);
}

TEST(PrintPreview, FitsThePageOrTheWidthAndZoomsInAndOut)
{
    ViewFixture fixture;
    fixture.SetText("class Zoomed {}\r\n");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    VxEditPrinter job(*fixture.model, "Zoomed.java");
    job.BeginPrinting(printer);
    VxEditPrintPreview preview(job, printer);
    preview.resize(600, 700);
    preview.show();
    const double page = preview.Zoom();
    EXPECT_EQ(preview.CurrentFit(), VxEditPrintPreview::Fit::Page);

    // A portrait page as wide as the window is taller than the window.
    preview.SetFit(VxEditPrintPreview::Fit::Width);
    const double width = preview.Zoom();
    EXPECT_GT(width, page);
    preview.ZoomIn();
    EXPECT_EQ(preview.CurrentFit(), VxEditPrintPreview::Fit::Zoom);
    EXPECT_DOUBLE_EQ(preview.Zoom(), width * 1.25);
    preview.ZoomOut();
    preview.ZoomOut();
    EXPECT_DOUBLE_EQ(preview.Zoom(), width / 1.25);
    preview.SetFit(VxEditPrintPreview::Fit::Page);
    EXPECT_DOUBLE_EQ(preview.Zoom(), page);

    // Print in colour switches the job it shows.
    EXPECT_FALSE(job.InColour());
    preview.InColourBox()->click();
    EXPECT_TRUE(job.InColour());
}

TEST(PrintJob, PrintsThePageRangeAsOftenAsTheCopiesAsk)
{
    ViewFixture fixture;
    std::string text;
    for (int line = 0; line < 300; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    fixture.SetText(text);
    quillet::test::TempDir directory;
    const std::string pdf = directory.File("range.pdf");

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    printer.setCopyCount(2);
    printer.setCollateCopies(true);
    VxEditPrinter job(*fixture.model, "");
    ASSERT_GE(job.BeginPrinting(printer), 4);
    ASSERT_TRUE(job.PrintTo(printer));

    const quillet::test::ProcessResult info = quillet::test::RunProcess({"pdfinfo", pdf});
    EXPECT_NE(info.out.find("Pages:           4\n"), std::string::npos) << info.out;
    const quillet::test::ProcessResult pages = quillet::test::RunProcess({"pdftotext", pdf, "-"});
    std::vector<std::string> footers;
    for (std::size_t at = pages.out.find("Page: "); at != std::string::npos; at = pages.out.find("Page: ", at + 1))
        footers.push_back(pages.out.substr(at, 7));
    EXPECT_EQ(footers, (std::vector<std::string>{"Page: 2", "Page: 3", "Page: 2", "Page: 3"}));
    EXPECT_NE(pages.out.find("Untitled"), std::string::npos);
}

// A lone CR (the old Mac line end) stays inside its line: the page shows its
// mark and the text after it, as the edit window does.
TEST(PrintJob, TextAfterALoneCrIsPrinted)
{
    ViewFixture fixture;
    fixture.SetText("class Mac {\r  int one;\r}\r");
    quillet::test::TempDir directory;
    const std::string pdf = directory.File("mac.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    VxEditPrinter job(*fixture.model, "Mac.java");
    ASSERT_EQ(1, job.BeginPrinting(printer));
    ASSERT_TRUE(job.PrintTo(printer));
    const quillet::test::ProcessResult page = quillet::test::RunProcess({"pdftotext", pdf, "-"});
    EXPECT_NE(page.out.find("int one;"), std::string::npos) << page.out;
}

}  // namespace
