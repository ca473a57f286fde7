#include "mvc/ISubject.h"

#include "mvc/IMessage.h"
#include "mvc/IObserver.h"

#include <algorithm>

namespace tarrow::foundation {

ISubject::~ISubject() = default;

void ISubject::Attach(IObserver* observer)
{
    if (observer && !IsAttached(observer))
        observers_.push_back(observer);
}

void ISubject::Detach(IObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    for (Delivery* d = delivering_; d; d = d->outer)
        std::replace(d->recipients->begin(), d->recipients->end(), observer,
                     static_cast<IObserver*>(nullptr));
}

bool ISubject::IsAttached(const IObserver* observer) const
{
    return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
}

void ISubject::UpdateAllObservers(IObserver* sender, IMessage* message)
{
    if (message)
        message->AddRef();  // an observer may drop the last other reference
    std::vector<IObserver*> recipients = observers_;
    Delivery delivery{&recipients, delivering_};
    delivering_ = &delivery;
    for (IObserver*& observer : recipients) {
        if (observer && observer != sender)
            observer->Update(this, message);
    }
    delivering_ = delivery.outer;
    if (message)
        message->Release();
}

}  // namespace tarrow::foundation
