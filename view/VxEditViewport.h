#pragma once

#include "mvc/IObserver.h"
#include "view/VxEditColours.h"
#include "view/VxEditFontMetrics.h"

#include <QPalette>
#include <QRect>
#include <QSize>

#include <cstdint>

class IVxEditViewportHost;
class QPainter;
class VxEdit;
class VxEditController;
class VxEditLangConfig;

// Draws a text model onto any QPainter (a window, an image, a printer page):
// the visible lines in their colour groups, the selection, visible
// whitespace, the cells past the end of lines, the area below the last line
// and the left margin with its line marks. It keeps the scroll origin (whole
// characters and lines) and the document's extent, observes the model and
// tells its host what to repaint.
class VxEditViewport : public tarrow::foundation::IObserver {
public:
    explicit VxEditViewport(VxEdit& model);
    ~VxEditViewport() override;
    VxEditViewport(const VxEditViewport&) = delete;
    VxEditViewport& operator=(const VxEditViewport&) = delete;

    void SetHost(IVxEditViewportHost* host) { host_ = host; }
    void SetController(VxEditController* controller) { controller_ = controller; }

    VxEdit& GetModel() const { return model_; }
    const VxEditFontMetrics& GetMetrics() const { return metrics_; }
    VxEditController* GetController() const { return controller_; }
    VxEditLangConfig* GetLangConfig() const;

    // The scroll origin in document pixels, rounded down to whole character
    // widths and line heights.
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void SetScrollOrigin(int x, int y);
    // Widest line seen in display columns × character width, lines × line
    // height.
    QSize DocumentExtent();
    int LongestLineColumns();
    int MarginWidth() const;

    // Paints the part of the window inside clip (window coordinates, the
    // margin at x = 0) with the palette's automatic colours.
    void Draw(QPainter& painter, const QRect& clip, const QPalette& palette);

    void Update(tarrow::foundation::ISubject* subject, tarrow::foundation::IMessage* message) override;

protected:
    // Margin hooks; a derived view replaces the breakpoint glyph and the
    // line number.
    virtual void DrawMarginBackground(QPainter& painter, const QRect& rect, const QPalette& palette);
    virtual void DrawMarkA(std::int32_t line, QPainter& painter, const QRect& rect);
    virtual void DrawMarkB(std::int32_t line, QPainter& painter, const QRect& rect);
    virtual void DrawMarkC(std::int32_t line, QPainter& painter, const QRect& rect) {}
    virtual void DrawLineNumber(std::int32_t line, QPainter& painter, const QRect& rect) {}
    void DrawLineMarks(std::int32_t line, QPainter& painter, const QRect& rect);
    void DrawLineLabel(std::int32_t line, QPainter& painter, const QRect& rect, const QPalette& palette);

private:
    struct LineSelection {
        bool selected = false;
        std::int32_t start = 0;  // byte columns; may lie past the line's end
        std::int32_t end = 0;
        bool column = false;
        bool beforeEndLine = false;
    };

    LineSelection SelectionOn(std::int32_t line, std::int32_t length) const;
    void DrawLine(QPainter& painter, std::int32_t line, int y, int left, int right,
                  const VxEditColours& colours);
    void DrawMatchedBraces(QPainter& painter, std::int32_t line, int y, int left);
    void DrawBlankCells(QPainter& painter, std::int32_t line, int x, int y, int right,
                        std::int32_t length, const LineSelection& selection,
                        const VxEditColourPair& firstRun, const VxEditColours& colours);
    int DrawChunk(QPainter& painter, int x, int y, const char* text, int length, std::int32_t column,
                  const VxEditColourPair& pair, bool showWhitespace, const LineSelection& selection,
                  int origin, const VxEditColours& colours);
    int DrawPlain(QPainter& painter, int x, int y, const char* text, int length, std::int32_t column,
                  const VxEditColourPair& pair, const LineSelection& selection, int origin,
                  const VxEditColours& colours);
    void DrawMargin(QPainter& painter, std::int32_t first, std::int32_t last, const QPalette& palette);
    void FollowTextCommand(tarrow::foundation::IMessage* message);

    VxEdit& model_;
    IVxEditViewportHost* host_ = nullptr;
    VxEditController* controller_ = nullptr;
    VxEditFontMetrics metrics_;
    int scrollX_ = 0;
    int scrollY_ = 0;
    // Notes the width of a line that is painted or edited.
    void NoteWidth(std::int32_t line);

    // The widest line painted or edited so far, in display columns: lines
    // never shown are never measured, so opening a text of millions of
    // lines measures only a screenful. It starts afresh when the whole text
    // or the metrics change.
    int longestColumns_ = 0;
    bool widthGrew_ = false;
};
