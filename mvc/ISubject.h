#pragma once

#include <vector>

namespace tarrow::foundation {

class IObserver;
class IMessage;

// Keeps a list of observers and sends them messages. Observers may attach or
// detach while a message is being delivered; a detached observer receives no
// further messages, one attached during delivery receives the next one.
class ISubject {
public:
    virtual ~ISubject();

    void Attach(IObserver* observer);
    void Detach(IObserver* observer);
    bool IsAttached(const IObserver* observer) const;
    std::size_t ObserverCount() const { return observers_.size(); }

    // Sends the message to every observer except the sender (which may be null).
    void UpdateAllObservers(IObserver* sender, IMessage* message);

private:
    // The copies of the list being walked by deliveries in progress (nested
    // when an observer sends a message while handling one).
    struct Delivery {
        std::vector<IObserver*>* recipients;
        Delivery* outer;
    };

    std::vector<IObserver*> observers_;
    Delivery* delivering_ = nullptr;
};

}  // namespace tarrow::foundation
