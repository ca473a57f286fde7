// The application object's part in Find in Files: the open documents'
// texts to search and showing a match that was chosen.
#include "app/CScrivoApp.h"

#include "app/CChildFrame.h"
#include "app/CFindInFiles.h"
#include "app/CMainFrame.h"
#include "app/CScrivoDoc.h"
#include "engine/VxScrivo.h"
#include "engine/VxEditLineColPair.h"
#include "view/CScrivoView.h"

#include <QFileInfo>
#include <QMdiArea>

void CScrivoApp::CreateFindInFiles()
{
    CFindInFiles::Hooks hooks;
    hooks.activeFolder = [this] {
        const CScrivoDoc* document = ActiveDocument();
        return document && !document->PathName().empty()
                   ? QFileInfo(QString::fromStdString(document->PathName())).absolutePath()
                   : QString();
    };
    hooks.openTexts = [this] { return OpenTexts(); };
    hooks.showMatch = [this](const QString& path, int line, int column, int length) {
        ShowFileMatch(path, line, column, length);
    };
    findInFiles_ = new CFindInFiles(*frame_, std::move(hooks));
}

std::map<std::string, std::string> CScrivoApp::OpenTexts() const
{
    std::map<std::string, std::string> texts;
    for (const auto& document : documents_) {
        VxScrivo* model = document->Model();
        if (document->PathName().empty() || !model)
            continue;
        const char* text = nullptr;
        std::int64_t length = 0;
        const std::int32_t last = model->LastLine();
        if (model->TextSpan(VxEditLineColPair(0, 0, last, model->LineLength(last)), text, length) && text)
            texts.emplace(document->PathName(), std::string(text, static_cast<std::size_t>(length)));
    }
    return texts;
}

void CScrivoApp::ShowFileMatch(const QString& path, int line, int column, int length)
{
    CScrivoDoc* document = OpenDocument(path);
    const std::vector<CChildFrame*> frames = document ? FramesOf(document) : std::vector<CChildFrame*>();
    auto* view = frames.empty() ? nullptr : qobject_cast<CScrivoView*>(frames.front()->EditView());
    if (!view)
        return;
    frame_->MdiArea()->setActiveSubWindow(frames.front());
    frames.front()->FocusEditor();
    // Result lines count from 1, the model's from 0.
    const VxEditLineCol start(line - 1, column);
    const VxEditLineCol end(line - 1, column + length);
    view->Controller().SetCaret(end.line, end.column);
    view->Controller().SetSelection(start, end, VxEditSelection::kStream);
    view->Controller().RevealCaret();
}
