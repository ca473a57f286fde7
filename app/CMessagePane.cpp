#include "app/CMessagePane.h"

#include <QStatusBar>

CMessagePane::CMessagePane(QStatusBar& bar) : QLabel(&bar)
{
    // A long message is cut at the pane's edge instead of widening the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
    bar.addPermanentWidget(this, 1);
    connect(&bar, &QStatusBar::messageChanged, this, &CMessagePane::Follow);
    Follow(bar.currentMessage());
}

void CMessagePane::Follow(const QString& message)
{
    setText(message);
    setAccessibleName(message);
}
