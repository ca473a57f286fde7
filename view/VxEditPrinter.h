#pragma once

#include "engine/ColorRun.h"
#include "mvc/IRefCount.h"
#include "view/VxEditFontMetrics.h"
#include "view/VxEditPrintLayout.h"

#include <QRect>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;
class VxEdit;
class VxEditColours;

// The print steps of an edit view: lays a model's text out for a printer
// once, then prints any page of it (header with the title and a rule, the
// body's rows in black on white, or in the screen's syntax colours on white
// when asked, footer with a rule and the page number).
// The body is drawn with the viewport's own tab-expanding text output,
// measured with the printer's font. Print, Print Preview and the command
// line's PDF output all go through these steps.
class VxEditPrinter {
public:
    VxEditPrinter(VxEdit& model, std::string title);
    virtual ~VxEditPrinter();
    VxEditPrinter(const VxEditPrinter&) = delete;
    VxEditPrinter& operator=(const VxEditPrinter&) = delete;

    // Lays the text out for the device (with the wait cursor); the page count.
    int BeginPrinting(const QPaintDevice& device);
    // Prints a 1-based page onto a painter of the device given to BeginPrinting.
    void PrintPage(QPainter& painter, int page);
    void EndPrinting();

    // Prints the pages the printer asks for (its range, copies, collation
    // and order) after BeginPrinting; false when the printer cannot be
    // opened.
    bool PrintTo(QPrinter& printer);

    // A4, no margins of the device's own (the layout keeps half an inch),
    // 1200 pixels per inch.
    static void SetUpPdfWriter(QPdfWriter& writer);
    // The whole text as a PDF file: 1, or 0 when the file cannot be written.
    int WritePdf(const std::string& path);

    const VxEditPrintLayout* Layout() const { return layout_.get(); }
    const VxEditFontMetrics& Metrics() const { return metrics_; }
    const std::string& Title() const { return title_; }
    // The body in the syntax colours of the screen instead of black.
    void SetInColour(bool inColour) { inColour_ = inColour; }
    bool InColour() const { return inColour_; }
    // Pages printed so far; the preview shows that it draws only what it shows.
    int PagesPrinted() const { return pagesPrinted_; }

protected:
    // The steps, in the order a job takes them.
    virtual void Paginate();
    virtual VxEditPrintRect SetMargins(const QPaintDevice& device, const VxEditPrintRect& printable);
    virtual int HeaderHeight() const;
    virtual int FooterHeight() const;
    virtual void DrawHeader(QPainter& painter, int page, const QRect& rect);
    virtual void DrawBody(QPainter& painter, int page, const QRect& rect);
    virtual void DrawFooter(QPainter& painter, int page, const QRect& rect);
    void DrawColouredRow(QPainter& painter, int left, int y, const char* text, std::int32_t length,
                         std::int32_t from, std::int32_t bytes, const std::vector<ColorRun>& runs,
                         const VxEditColours& colours);

private:
    tarrow::foundation::RefPtr<VxEdit> model_;
    std::string title_;
    VxEditFontMetrics metrics_;
    std::unique_ptr<VxEditPrintLayout> layout_;
    int pagesPrinted_ = 0;
    bool inColour_ = false;
};
