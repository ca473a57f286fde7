#include "javatools/output/OutputControlBar.h"

#include "javatools/output/OutputVxEditCtrl.h"

OutputControlBar::OutputControlBar(QWidget* parent)
    : QDockWidget(QString::fromLatin1(kTitle), parent), control_(new OutputVxEditCtrl(this))
{
    setObjectName(QStringLiteral("OutputWindow"));
    setAccessibleName(QString::fromLatin1(kTitle));
    control_->setAccessibleName(QString::fromLatin1(kTitle));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setWidget(control_);
}

void OutputControlBar::ShowOutput(const std::string& text, const std::string& baseDirectory)
{
    if (isHidden())
        show();
    // Tabbed with the console, the compiler's report comes to the front.
    raise();
    control_->ShowText(text, baseDirectory);
    emit OutputShown();
}
