// The application object's part in the last session: what is open when the
// editor closes, and opening it again at the next plain start.
#include "app/CScrivoApp.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoDoc.h"
#include "engine/VxEdit.h"
#include "view/CScrivoView.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <map>

namespace {

constexpr int kMissingNoteMs = 15000;

CScrivoView* EditViewOf(const CChildFrame* child)
{
    return child ? qobject_cast<CScrivoView*>(child->EditView()) : nullptr;
}

// The breakpoint lines of a text, found among its marked lines only.
std::vector<int> BreakpointLines(const VxEdit& model)
{
    std::vector<int> lines;
    std::int32_t line = model.LastLine();
    for (int count = model.CountMarkedLines(VxEdit::kMarkBreakpoint); count > 0; --count) {
        line = model.FindMarkedLine(line, VxEdit::kMarkBreakpoint, true);
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The caret, the first line shown and the breakpoints; the scroll bars are
// laid out once the window shows, so the first line is set again when it
// first has a size.
void PlaceView(CScrivoView& view, const CLastSession::File& file)
{
    for (int line : file.breakpoints)
        view.Model().SetMark(line, VxEdit::kMarkBreakpoint, true);
    const int last = view.Model().LastLine();
    const int line = std::clamp(file.line, 0, last);
    const int topLine = std::clamp(file.topLine, 0, last);
    view.Controller().SetCaret(line, file.column);
    auto scroll = [&view, topLine] {
        QScrollBar* bar = view.verticalScrollBar();
        if (topLine > bar->maximum())
            bar->setMaximum(topLine);
        view.ScrollTo(view.ScrollX(), topLine * view.LineHeight());
    };
    scroll();
    QTimer::singleShot(0, &view, scroll);
}

}  // namespace

CLastSession CScrivoApp::CurrentSession() const
{
    CLastSession session;
    if (!frame_)
        return session;
    const CChildFrame* active = frame_->ActiveChild();
    std::map<const CScrivoDoc*, std::size_t> kept;
    // Creation order is the order of the tabs: moving a tab moves its window.
    for (QMdiSubWindow* window : frame_->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        auto* child = qobject_cast<CChildFrame*>(window);
        CScrivoView* view = EditViewOf(child);
        if (!view || child->Document()->PathName().empty())
            continue;
        CLastSession::File file;
        file.path = child->Document()->PathName();
        file.line = view->Controller().Caret().line;
        file.column = view->Controller().Caret().column;
        file.topLine = view->ScrollY() / std::max(view->LineHeight(), 1);
        file.breakpoints = BreakpointLines(view->Model());
        // A document in several windows is kept once, as its active or first window.
        const auto [at, isNew] = kept.emplace(child->Document(), session.files.size());
        if (isNew)
            session.files.push_back(file);
        else if (child == active)
            session.files[at->second] = file;
        if (child == active)
            session.active = static_cast<int>(at->second);
    }
    return session;
}

QStringList CScrivoApp::ReopenSession(const CLastSession& session)
{
    QStringList missing;
    CChildFrame* activate = nullptr;
    for (std::size_t i = 0; i < session.files.size(); ++i) {
        const CLastSession::File& file = session.files[i];
        const QString path = QString::fromStdString(file.path);
        if (!QFileInfo(path).isFile()) {
            missing << path;
            continue;
        }
        CScrivoDoc* document = OpenDocument(path);
        const std::vector<CChildFrame*> frames = document ? FramesOf(document) : std::vector<CChildFrame*>();
        if (frames.empty())
            continue;
        if (CScrivoView* view = EditViewOf(frames.front()))
            PlaceView(*view, file);
        if (static_cast<int>(i) == session.active)
            activate = frames.front();
    }
    if (activate) {
        frame_->MdiArea()->setActiveSubWindow(activate);
        activate->FocusEditor();
    }
    return missing;
}

void CScrivoApp::ReopenLastSession()
{
    if (!CLastSession::ReopensAtStart(profile_))
        return;
    const QStringList missing = ReopenSession(CLastSession::Read(profile_));
    if (missing.isEmpty())
        return;
    const QString note = missing.size() == 1
                             ? tr("A file of the last session is gone: %1").arg(missing.constFirst())
                             : tr("%1 files of the last session are gone: %2")
                                   .arg(missing.size())
                                   .arg(missing.join(QStringLiteral(", ")));
    frame_->statusBar()->showMessage(note, kMissingNoteMs);
}
