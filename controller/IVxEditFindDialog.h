#pragma once

// The open find or replace dialog as the controller sees it: the F3 keys
// only bring it to the front while it is open.
class IVxEditFindDialog {
public:
    virtual void Activate() = 0;

protected:
    virtual ~IVxEditFindDialog() = default;
};
