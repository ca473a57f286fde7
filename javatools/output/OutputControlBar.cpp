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
    control_->ShowText(text, baseDirectory);
}
