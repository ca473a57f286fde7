#include "app/CommandProbe.h"

#include "app/CChildFrame.h"
#include "app/CScrivoDoc.h"

CommandProbe::CommandProbe(std::function<EditViewParts(CScrivoDoc&)> makeView)
    : makeView_(std::move(makeView))
{
}

CommandProbe::~CommandProbe()
{
    // The window goes before the document it shows.
    window_.reset();
    document_.reset();
}

bool CommandProbe::Handles(int id)
{
    auto it = known_.constFind(id);
    if (it != known_.constEnd())
        return *it;
    if (!window_) {
        document_ = std::make_unique<CScrivoDoc>();
        document_->OnNewDocument("Probe");
        EditViewParts view = makeView_(*document_);
        std::vector<tarrow::foundation::ICommandTarget*> route = view.route;
        route.push_back(document_.get());
        window_ = std::make_unique<CChildFrame>(document_.get(), view.widget, route);
    }
    tarrow::foundation::CommandState state;
    const bool handles = window_->OnUpdateCommand(id, state);
    known_.insert(id, handles);
    return handles;
}
