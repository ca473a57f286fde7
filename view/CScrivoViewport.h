#pragma once

#include "view/VxEditViewport.h"

class CScrivoCtlr;

// The viewport of a document's edit view: while line numbers are shown, the
// margin carries them ("%04d") instead of the breakpoint glyph, a breakpoint
// line's number on dark red and an error line's number in blue.
class CScrivoViewport : public VxEditViewport {
public:
    explicit CScrivoViewport(VxEdit& model) : VxEditViewport(model) {}

    void SetScrivoController(CScrivoCtlr* controller);

protected:
    void DrawMarkA(std::int32_t line, QPainter& painter, const QRect& rect) override;
    void DrawLineNumber(std::int32_t line, QPainter& painter, const QRect& rect) override;

private:
    bool LineNumbersShown() const;

    CScrivoCtlr* scrivo_ = nullptr;
};
