#include "mvc/IMessage.h"
#include "mvc/IObserver.h"
#include "mvc/ISubject.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarrow::foundation;

namespace {

class NumberedMessage : public CRefCounted<IMessage> {
public:
    explicit NumberedMessage(int id) : id_(id) {}
    int GetId() const override { return id_; }
    std::string GetDescription() const override { return std::to_string(id_); }

private:
    int id_;
};

struct Recorder : IObserver {
    std::vector<int> seen;
    std::function<void()> onUpdate;
    void Update(ISubject*, IMessage* message) override
    {
        seen.push_back(message->GetId());
        if (onUpdate)
            onUpdate();
    }
};

}  // namespace

TEST(Subject, SenderIsSkippedAndDetachDuringDeliveryIsHonoured)
{
    ISubject subject;
    Recorder a, b, c;
    subject.Attach(&a);
    subject.Attach(&b);
    subject.Attach(&c);
    subject.Attach(&a);  // attaching twice keeps one entry
    EXPECT_EQ(subject.ObserverCount(), 3u);

    RefPtr<NumberedMessage> message = MakeRef<NumberedMessage>(22585);
    subject.UpdateAllObservers(&b, message.Get());
    EXPECT_EQ(a.seen, std::vector<int>{22585});
    EXPECT_TRUE(b.seen.empty());

    a.onUpdate = [&] { subject.Detach(&c); };
    subject.UpdateAllObservers(nullptr, message.Get());
    EXPECT_EQ(c.seen.size(), 1u);  // removed by a before its turn
    EXPECT_EQ(message->RefCount(), 1);
}
