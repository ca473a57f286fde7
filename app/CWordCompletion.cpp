#include "app/CWordCompletion.h"

#include "app/CMainFrame.h"
#include "app/SettingsKeys.h"
#include "engine/VxEdit.h"
#include "javatools/completion/JavaImportPlacer.h"
#include "javatools/completion/JdkClassList.h"
#include "language/VxEditLangConfig.h"
#include "platform/core/Profile.h"
#include "view/CScrivoView.h"
#include "view/VxEditCompletionPopup.h"

#include <QStatusBar>

#include <cstdlib>

namespace {

constexpr int kMessageMs = 5000;

bool IsJava(const VxEdit& model)
{
    const VxEditLangConfig* config = model.GetLangConfig();
    return config && config->GetName() == "Java";
}

}  // namespace

CWordCompletion::CWordCompletion(quillet::platform::Profile& settings, CMainFrame& frame, OpenTexts openTexts,
                                 std::string cacheFolder)
    : settings_(settings), frame_(frame), openTexts_(std::move(openTexts)), cacheFolder_(std::move(cacheFolder)),
      popup_(std::make_unique<VxEditCompletionPopup>())
{
    connect(popup_.get(), &VxEditCompletionPopup::Chosen, this, &CWordCompletion::OnChosen);
    connect(popup_.get(), &VxEditCompletionPopup::KeyPassedOn, this, &CWordCompletion::Narrow);
}

CWordCompletion::~CWordCompletion()
{
    if (reader_.joinable())
        reader_.join();
}

void CWordCompletion::FollowToolSettings()
{
    const std::string compiler = settings_.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
    const char* path = std::getenv("PATH");
    const std::string jdkHome =
        compiler == settings::kNoToolPath ? std::string() : JdkClassList::JdkHomeOfCompiler(compiler, path ? path : "");
    if (jdkHome.empty() || jdkHome == jdkHome_)
        return;
    ReadInBackground(jdkHome);
}

// One reader at a time: a JDK chosen while another is read is read after it.
void CWordCompletion::ReadInBackground(const std::string& jdkHome)
{
    if (reader_.joinable())
        reader_.join();
    jdkHome_ = jdkHome;
    QPointer<CWordCompletion> self(this);
    reader_ = std::thread([this, self, jdkHome, cacheFolder = cacheFolder_] {
        auto index = std::make_shared<JdkClassIndex>();
        std::string failure;
        const bool read = JdkClassList::Load(jdkHome, cacheFolder, *index, failure);
        QMetaObject::invokeMethod(
            this,
            [this, self, index, read, failure] {
                if (!self)
                    return;
                if (read) {
                    std::lock_guard lock(mutex_);
                    classes_ = index;
                } else {
                    Say(tr("The JDK's classes could not be read for completion: %1")
                            .arg(QString::fromStdString(failure)));
                }
                emit JdkClassesRead();
            },
            Qt::QueuedConnection);
    });
}

std::shared_ptr<const JdkClassIndex> CWordCompletion::JdkClasses() const
{
    std::lock_guard lock(mutex_);
    return classes_;
}

std::vector<VxEditCompletion> CWordCompletion::CandidatesAt(CScrivoView& view, VxEditLineCol& start)
{
    VxEdit& model = view.Model();
    VxEditWordCompleter completer(view.Controller().WordBeforeCaret(start));
    if (completer.Prefix().empty())
        return {};
    for (VxEdit* text : openTexts_())
        completer.AddWordsOf(text->TextBuffer());
    if (const VxEditLangConfig* config = model.GetLangConfig())
        completer.AddKeywords(config->GetKeywordTable());
    if (IsJava(model)) {
        if (const std::shared_ptr<const JdkClassIndex> classes = JdkClasses()) {
            for (const JdkClass& jdkClass : classes->WithPrefix(completer.Prefix()))
                completer.AddClass(jdkClass.name, jdkClass.package);
        }
    }
    return completer.Candidates();
}

void CWordCompletion::Insert(CScrivoView& view, const VxEditCompletion& candidate)
{
    VxEditLineCol start;
    view.Controller().WordBeforeCaret(start);
    VxEdit& model = view.Model();
    VxEditController::CompletionImport placeImport;
    if (candidate.IsClass() && IsJava(model)) {
        placeImport = [&model, &candidate](VxEditLineCol& at, std::string& text) {
            const JavaImportEdit edit = JavaImportPlacer::Place(model, candidate.package, candidate.word);
            at = VxEditLineCol(edit.line, edit.column);
            text = edit.text;
            return edit.needed;
        };
    }
    view.Controller().CompleteWord(start, candidate.word, placeImport);
}

void CWordCompletion::Complete(CScrivoView& view)
{
    if (view.Controller().IsReadOnly())
        return;
    VxEditLineCol start;
    const std::vector<VxEditCompletion> candidates = CandidatesAt(view, start);
    if (candidates.empty()) {
        const bool noWord = start == view.Controller().Caret();
        Say(noWord ? tr("Complete Word: there is no word before the caret to complete")
                   : tr("Complete Word: nothing starts with this word"));
        return;
    }
    if (candidates.size() == 1) {
        Insert(view, candidates.front());
        return;
    }
    view_ = &view;
    const int x = view.Viewport().MarginWidth() + view.Controller().PositionX(start) - view.ScrollX();
    const int y = view.Controller().CaretY() - view.ScrollY() + view.LineHeight();
    popup_->Open(&view, candidates, view.viewport()->mapToGlobal(QPoint(x, y)));
}

// A key went to the window under the list: the list follows the word
// before the caret, and closes when nothing is left.
void CWordCompletion::Narrow()
{
    if (!view_) {
        popup_->hide();
        return;
    }
    VxEditLineCol start;
    const std::vector<VxEditCompletion> candidates = CandidatesAt(*view_, start);
    if (candidates.empty()) {
        popup_->hide();
        return;
    }
    popup_->SetCandidates(candidates);
}

void CWordCompletion::OnChosen(const VxEditCompletion& candidate)
{
    if (view_)
        Insert(*view_, candidate);
}

void CWordCompletion::Say(const QString& text)
{
    frame_.statusBar()->showMessage(text, kMessageMs);
}
