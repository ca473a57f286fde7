#include "javatools/output/OutputVxEditCtrl.h"

#include "engine/VxEdit.h"
#include "javatools/output/OutputController.h"
#include "resources/CommandIds.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The output's own text model, shared by nothing else.
VxEdit& NewOutputModel()
{
    auto* model = new VxEdit;
    model->NewText();
    model->SetLangConfigByName("Default");
    return *model;
}

}  // namespace

OutputVxEditCtrl::OutputVxEditCtrl(QWidget* parent)
    : CScrivoView(NewOutputModel(),
                  [](VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard) {
                      return std::make_unique<OutputController>(model, view, clipboard);
                  },
                  parent)
{
    // The view took its own counted reference; the creation's goes.
    Model().Release();
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Output().SetErrorLineHandler([this](const std::string& file, std::int32_t line,
                                        std::int32_t column) {
        // A file the message names is found as given, or beside the
        // compiled file; else the active window is meant.
        QString found;
        const QFileInfo given(QString::fromStdString(file));
        if (given.isAbsolute() ? given.isFile() : false)
            found = given.absoluteFilePath();
        else if (!given.isAbsolute()) {
            const QFileInfo beside(QString::fromStdString(baseDirectory_ + file));
            if (!baseDirectory_.empty() && beside.isFile())
                found = beside.absoluteFilePath();
        }
        emit ErrorLineRequested(found, line, column);
    });
}

OutputVxEditCtrl::~OutputVxEditCtrl() = default;

OutputController& OutputVxEditCtrl::Output()
{
    return static_cast<OutputController&>(Controller());
}

void OutputVxEditCtrl::ShowText(const std::string& text, const std::string& baseDirectory)
{
    baseDirectory_ = baseDirectory;
    Output().SetText(text);
    viewport()->repaint();
}

std::string OutputVxEditCtrl::Text() const
{
    VxEdit& model = Model();
    std::string text;
    model.CopyText(text, 0, 0, model.LastLine(), model.LineLength(model.LastLine()));
    return text;
}

namespace {

int OwnCommandFor(const QKeyEvent* key)
{
    if (key->matches(QKeySequence::Copy))
        return cmd::kEditCopy;
    if (key->matches(QKeySequence::SelectAll))
        return cmd::kEditSelectAll;
    return 0;
}

}  // namespace

bool OutputVxEditCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && OwnCommandFor(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return CScrivoView::event(event);
}

void OutputVxEditCtrl::keyPressEvent(QKeyEvent* event)
{
    if (const int command = OwnCommandFor(event)) {
        OnCommand(command);
        event->accept();
        return;
    }
    CScrivoView::keyPressEvent(event);
}

void OutputVxEditCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    CScrivoView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Output().OnDoubleClicked();
}

void OutputVxEditCtrl::ShowContextMenu(const QPoint& point)
{
    RunCommandMenu(point, {{cmd::kEditCopy, "&Copy"},
                           {cmd::kEditSelectAll, "Select &All"},
                           {0, nullptr},
                           {cmd::kOutputClear, "C&lear"}});
}
