#include "app/CommandList.h"

namespace {
constexpr int kSeparator = 0;
}

QList<QPair<int, int>> ShownCommandEntries(const QList<int>& ids,
                                           const std::function<bool(int)>& exists)
{
    QList<QPair<int, int>> shown;
    int pendingSeparator = -1;
    for (int i = 0; i < ids.size(); ++i) {
        const int id = ids[i];
        if (id == kSeparator) {
            if (!shown.isEmpty() && pendingSeparator < 0)
                pendingSeparator = i;
            continue;
        }
        if (id > 0 && !exists(id))
            continue;
        if (pendingSeparator >= 0)
            shown.append({kSeparator, pendingSeparator});
        pendingSeparator = -1;
        shown.append({id, i});
    }
    return shown;
}
