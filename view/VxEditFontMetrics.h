#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <string>

class QPainter;
class QPaintDevice;
class QColor;
class VxEdit;

// The measures a view draws a model's text with: the configuration's font
// (a fixed-pitch face when the named one is missing), the line height and
// average character width that scrolling counts in, the widths of a space and
// of the visible-tab glyph, and the tab stop width. Text is UTF-8; tabs
// expand to stops counted from an origin, the text area's left edge. A CR
// inside a line (one that ends no line) is drawn as a mark one cell wide, so
// the user sees it and the text after it.
class VxEditFontMetrics {
public:
    VxEditFontMetrics();
    // Measures again from the model's display metrics and configuration.
    void Rebuild(VxEdit& model);
    // Measures for printing on a device: the configuration's point size at
    // the device's vertical resolution, lines as high as the font's
    // character height plus its external leading, and tab stops of TabSize
    // spaces whether or not whitespace is shown.
    void RebuildForPrinter(VxEdit& model, const QPaintDevice& device);

    const QFont& Font() const { return font_; }
    int LineHeight() const { return lineHeight_; }
    int Ascent() const { return ascent_; }
    int CharWidth() const { return charWidth_; }
    bool FixedPitch() const { return fixedPitch_; }
    // The advance of one cell in a monospaced face, in fractions of a
    // pixel (a face may advance 7.75 pixels a character); 0 for a
    // proportional face.
    double CellAdvance() const { return cellAdvance_; }
    // The painter's visible area in its own coordinates.
    static QRect VisibleRect(const QPainter& painter);
    int SpaceWidth() const { return spaceWidth_; }
    int TabGlyphWidth() const { return tabGlyphWidth_; }
    int TabStopWidth() const { return tabStop_; }
    const QString& SpaceGlyph() const { return spaceGlyph_; }
    const QString& TabGlyph() const { return tabGlyph_; }

    // Width of text[0, length) starting at pixel x, where origin is the x of
    // the first tab stop's start.
    int Extent(const char* text, int length, int x = 0, int origin = 0) const;
    // Draws text[0, length) at (x, y) (y is the line's top) on an opaque
    // background; returns the width drawn.
    int Draw(QPainter& painter, int x, int y, const char* text, int length, int origin,
             const QColor& foreground, const QColor& background) const;

private:
    void Measure(VxEdit& model, const QFont& font, const QPaintDevice* device);
    int NextTabStop(int x, int origin) const;
    // The width a tab or CR at x takes.
    int SpecialWidth(char special, int x, int origin) const;
    void DrawCarriageMark(QPainter& painter, int x, int y, const QColor& foreground,
                          const QColor& background) const;
    int Advance(const char* text, int length) const;
    // Draws tab-free text from pen on, as far as it can be seen; returns
    // the pen after it.
    int DrawVisible(QPainter& painter, int pen, int y, const char* text, int length,
                    const QRect& visible) const;

    QFont font_;
    QFontMetrics metrics_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    int charWidth_ = 1;
    int spaceWidth_ = 1;
    int tabGlyphWidth_ = 1;
    int tabStop_ = 4;
    int carriageWidth_ = 1;
    QFont carriageFont_;
    bool fixedPitch_ = false;
    double cellAdvance_ = 0;
    QString spaceGlyph_;
    QString tabGlyph_;
};
