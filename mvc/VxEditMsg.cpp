#include "mvc/VxEditMsg.h"

#include <cstdio>

std::string VxEditMsg::DescriptionOf(int id)
{
    switch (id) {
    case kMsgFontUpdate: return "Font Update Message";
    case kMsgSplitterSync: return "Splitter Synchronization Message";
    case kMsgInitController: return "Initialize the controller";
    case kMsgInvalidateColouring: return "Invalidate the coloring cache and refresh";
    case kMsgInvalidateGutter: return "Invalidate the Gutter Area";
    case kMsgInvalidateLines: return "Invalidate Lines %d to %d";
    default: return {};
    }
}

std::string VxEditMsg::GetDescription() const
{
    return DescriptionOf(id_);
}

std::string VxEditPaintMsg::GetDescription() const
{
    char text[64];
    std::snprintf(text, sizeof text, "Invalidate Lines %d to %d", firstLine_, lastLine_);
    return text;
}
