#include "app/CommandIcons.h"

#include "resources/CommandIds.h"

#include <QFile>
#include <QHash>

namespace {

struct IconName {
    const char* theme;  // freedesktop name, or null for the program's own commands
    const char* file;   // the drawing under :/icons/
};

const QHash<int, IconName>& IconNames()
{
    static const QHash<int, IconName> names = {
        {cmd::kFileNew, {"document-new", "document-new"}},
        {cmd::kFileOpen, {"document-open", "document-open"}},
        {cmd::kFileSave, {"document-save", "document-save"}},
        {cmd::kFilePrintPreview, {"document-print-preview", "document-print-preview"}},
        {cmd::kFilePrint, {"document-print", "document-print"}},
        {cmd::kEditCut, {"edit-cut", "edit-cut"}},
        {cmd::kEditCopy, {"edit-copy", "edit-copy"}},
        {cmd::kEditPaste, {"edit-paste", "edit-paste"}},
        {cmd::kEditUndo, {"edit-undo", "edit-undo"}},
        {cmd::kEditRedo, {"edit-redo", "edit-redo"}},
        {cmd::kEditFind, {"edit-find", "edit-find"}},
        {cmd::kEditReplace, {"edit-find-replace", "edit-find-replace"}},
        {cmd::kHelpContents, {"help-contents", "help-contents"}},
        {cmd::kAppAbout, {"help-about", "help-about"}},
        {cmd::kBuildCompile, {nullptr, "quillet-compile"}},
        {cmd::kBuildExecute, {nullptr, "quillet-execute"}},
        {cmd::kBuildDebug, {nullptr, "quillet-debug"}},
        {cmd::kBuildStop, {nullptr, "quillet-stop-build"}},
        {cmd::kBuildAll, {nullptr, "quillet-build-all"}},
        {cmd::kInsertClass, {nullptr, "quillet-new-class"}},
        {cmd::kInsertInterface, {nullptr, "quillet-new-interface"}},
        {cmd::kInsertMethod, {nullptr, "quillet-add-method"}},
        {cmd::kInsertMemberVariable, {nullptr, "quillet-add-variable"}},
        // A page of the web or the JDK's API pages, usually.
        {cmd::kHelpCustom, {"internet-web-browser", "quillet-custom-help"}},
    };
    return names;
}

// The drawings are made on a 16-pixel grid. The vector icon engine renders
// each size from them when a toolbar first asks for it, rather than every
// size of every icon at start-up.
QIcon Drawing(const QString& file)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(file);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace

QIcon CommandIcon(int id)
{
    static QHash<int, QIcon> cache;
    auto cached = cache.constFind(id);
    if (cached != cache.constEnd())
        return *cached;
    QIcon icon;
    auto it = IconNames().constFind(id);
    if (it != IconNames().constEnd()) {
        const QString file = QString::fromLatin1(it->file);
        icon = it->theme ? QIcon::fromTheme(QString::fromLatin1(it->theme), Drawing(file)) : Drawing(file);
    }
    cache.insert(id, icon);
    return icon;
}
