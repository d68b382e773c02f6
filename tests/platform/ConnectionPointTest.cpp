#include "platform/com/ConnectionPoint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace com;

namespace {

// Records "name:dispid" into a shared log, then runs an optional action.
class Sink : public IEventSink {
public:
    Sink(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void Invoke(DISPID id, std::span<const Variant> args) override {
        log_.push_back(name_ + ":" + std::to_string(id) +
                       (args.empty() ? "" : "/" + std::to_string(args.size())));
        if (action) action(id);
    }
    std::function<void(DISPID)> action;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

using Log = std::vector<std::string>;

} // namespace

TEST(ConnectionPointFire, EverySinkHearsInAdviseOrder) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log), b("b", log), c("c", log);
    const std::uint32_t ca = cp.Advise(&a), cb = cp.Advise(&b), cc = cp.Advise(&c);
    EXPECT_NE(ca, 0u);
    EXPECT_NE(ca, cb);
    EXPECT_NE(cb, cc);
    const Variant args[] = {Variant::I4(1), Variant::Str("x")};
    cp.Fire(7, args);
    EXPECT_EQ(log, (Log{"a:7/2", "b:7/2", "c:7/2"}));
    EXPECT_EQ(cp.size(), 3u);
}

TEST(ConnectionPointAdvise, NullSinksAndUnknownCookies) {
    ConnectionPoint cp;
    EXPECT_EQ(cp.Advise(nullptr), 0u);
    EXPECT_EQ(cp.size(), 0u);
    Log log;
    Sink a("a", log);
    const std::uint32_t cookie = cp.Advise(&a);
    EXPECT_FALSE(cp.Unadvise(0));
    EXPECT_FALSE(cp.Unadvise(cookie + 1));
    EXPECT_TRUE(cp.Unadvise(cookie));
    EXPECT_FALSE(cp.Unadvise(cookie));
    cp.Fire(1, {});
    EXPECT_TRUE(log.empty());
}

TEST(ConnectionPointAdvise, SameSinkTwiceHearsTwiceUntilEachIsUnadvised) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log);
    const std::uint32_t first = cp.Advise(&a);
    cp.Advise(&a);
    cp.Fire(1, {});
    cp.Unadvise(first);
    cp.Fire(2, {});
    EXPECT_EQ(log, (Log{"a:1", "a:1", "a:2"}));
}

TEST(ConnectionPointFire, SinkUnadvisingItselfHearsNoMore) {
    Log log;
    ConnectionPoint cp;
    auto a = std::make_unique<Sink>("a", log);
    Sink b("b", log);
    const std::uint32_t ca = cp.Advise(a.get());
    cp.Advise(&b);
    a->action = [&](DISPID) { cp.Unadvise(ca); };
    // A host may drop a handler as soon as it is unadvised, even mid-delivery.
    b.action = [&](DISPID) { a.reset(); };
    cp.Fire(1, {});
    cp.Fire(2, {});
    EXPECT_EQ(log, (Log{"a:1", "b:1", "b:2"}));
    EXPECT_EQ(cp.size(), 1u);
}

TEST(ConnectionPointFire, SinkUnadvisingAnotherDuringDelivery) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log), b("b", log), c("c", log);
    const std::uint32_t ca = cp.Advise(&a);
    cp.Advise(&b);
    const std::uint32_t cc = cp.Advise(&c);
    b.action = [&](DISPID id) {
        if (id != 1) return;
        cp.Unadvise(cc); // not yet reached: must not hear this event
        cp.Unadvise(ca); // already reached
    };
    cp.Fire(1, {});
    EXPECT_EQ(cp.size(), 1u);
    cp.Fire(2, {});
    EXPECT_EQ(log, (Log{"a:1", "b:1", "b:2"}));
}

TEST(ConnectionPointFire, SinkAdvisedDuringDeliveryHearsFromTheNextEvent) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log);
    std::vector<std::unique_ptr<Sink>> added;
    cp.Advise(&a);
    a.action = [&](DISPID) {
        // Enough sinks to make the vector grow while it is being walked.
        for (int i = 0; i < 20 && added.size() < 20; ++i) {
            // Appended rather than "n" + ...: GCC 12 at -O3 reports a false -Wrestrict
            // overlap inside that concatenation.
            std::string name = "n";
            name += std::to_string(added.size());
            added.push_back(std::make_unique<Sink>(name, log));
            cp.Advise(added.back().get());
        }
    };
    cp.Fire(1, {});
    EXPECT_EQ(log, (Log{"a:1"}));
    log.clear();
    cp.Fire(2, {});
    ASSERT_EQ(log.size(), 21u);
    EXPECT_EQ(log.front(), "a:2");
    EXPECT_EQ(log.back(), "n19:2");
}

TEST(ConnectionPointFire, ThrowingSinkDoesNotStopDelivery) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log), b("b", log), c("c", log);
    cp.Advise(&a);
    cp.Advise(&b);
    cp.Advise(&c);
    a.action = [](DISPID) { throw std::runtime_error("handler failed"); };
    b.action = [](DISPID) { throw 42; };
    EXPECT_NO_THROW(cp.Fire(3, {}));
    EXPECT_EQ(log, (Log{"a:3", "b:3", "c:3"}));
    log.clear();
    cp.Fire(4, {});
    EXPECT_EQ(log, (Log{"a:4", "b:4", "c:4"}));
}

TEST(ConnectionPointFire, ReentrantFireDeliversTheInnerEventToEveryone) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log), b("b", log);
    cp.Advise(&a);
    cp.Advise(&b);
    a.action = [&](DISPID id) {
        if (id == 1) cp.Fire(2, {});
    };
    cp.Fire(1, {});
    EXPECT_EQ(log, (Log{"a:1", "a:2", "b:2", "b:1"}));
}

TEST(ConnectionPointFire, UnadviseInsideNestedDeliveryWaitsForTheOutermost) {
    Log log;
    ConnectionPoint cp;
    Sink a("a", log), b("b", log), c("c", log);
    cp.Advise(&a);
    const std::uint32_t cb = cp.Advise(&b);
    cp.Advise(&c);
    a.action = [&](DISPID id) {
        if (id == 1) cp.Fire(2, {});
    };
    b.action = [&](DISPID id) {
        if (id == 2) cp.Unadvise(cb);
    };
    cp.Fire(1, {});
    // b left during the inner event; the outer one still reaches c, and only c.
    EXPECT_EQ(log, (Log{"a:1", "a:2", "b:2", "c:2", "c:1"}));
    EXPECT_EQ(cp.size(), 2u);
    log.clear();
    cp.Fire(3, {});
    EXPECT_EQ(log, (Log{"a:3", "c:3"}));
}
