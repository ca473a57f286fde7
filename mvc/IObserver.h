#pragma once

namespace tarrow::foundation {

class ISubject;
class IMessage;

class IObserver {
public:
    // Called by a subject for every message it sends.
    virtual void Update(ISubject* subject, IMessage* message) = 0;

protected:
    virtual ~IObserver() = default;
};

}  // namespace tarrow::foundation
