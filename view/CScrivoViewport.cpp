#include "view/CScrivoViewport.h"

#include "controller/CScrivoCtlr.h"
#include "engine/VxEdit.h"

#include <QPainter>

#include <cstdio>
#include <cstring>

void CScrivoViewport::SetScrivoController(CScrivoCtlr* controller)
{
    scrivo_ = controller;
    SetController(controller);
}

bool CScrivoViewport::LineNumbersShown() const
{
    return scrivo_ && scrivo_->LineNumbersShown();
}

void CScrivoViewport::DrawMarkA(std::int32_t line, QPainter& painter, const QRect& rect)
{
    if (!LineNumbersShown())
        VxEditViewport::DrawMarkA(line, painter, rect);
}

void CScrivoViewport::DrawLineNumber(std::int32_t line, QPainter& painter, const QRect& rect)
{
    if (!LineNumbersShown())
        return;
    char number[16];
    std::snprintf(number, sizeof number, "%04d", line + 1);
    const QString text = QString::fromLatin1(number);
    const QRect cell(rect.left(), rect.top(), GetMetrics().Extent(number, static_cast<int>(std::strlen(number))),
                     rect.height());
    const bool breakpoint = GetModel().TestMark(line, VxEdit::kMarkBreakpoint) != 0;
    if (breakpoint)
        painter.fillRect(cell, VxEditColours::FromColorRef(0x000080));
    // White stays readable on the dark red of a breakpoint.
    QColor ink = breakpoint ? QColor(Qt::white) : QColor(Qt::black);
    if (GetModel().TestMark(line, VxEdit::kMarkErrorLine) ||
        GetModel().TestMark(line, VxEdit::kMarkCheckedLine))
        ink = VxEditColours::FromColorRef(0xFF0000);
    painter.setPen(ink);
    painter.setFont(GetMetrics().Font());
    painter.drawText(rect.left(), rect.top() + GetMetrics().Ascent(), text);
}
