#include "controller/VxEditSearchState.h"

#include <algorithm>

VxEditSearchState::VxEditSearchState()
{
    patternAvailable = replacePattern_.IsCreated();
}

VxEditSearchState& VxEditSearchState::ForThread()
{
    thread_local VxEditSearchState state;
    return state;
}

void VxEditSearchState::AddToHistory(std::vector<std::string>& history, const std::string& text)
{
    if (text.empty())
        return;
    history.erase(std::remove(history.begin(), history.end(), text), history.end());
    history.insert(history.begin(), text);
    if (history.size() > kHistoryLength)
        history.resize(kHistoryLength);
}
