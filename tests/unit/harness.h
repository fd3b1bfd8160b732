#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "shell/frm_quor6.h"
#include "tests/unit/fake_toolkit.h"
#include "tests/unit/scripted_random.h"
#include "tray/tray_dispatch.h"

namespace quor6::fake {

// An event scripted for the nth doEvents, the nth tray request, or the moment nth ms.
struct Arrival {
    FakeToolkit::Trigger where;
    std::uint64_t nth;
    Event event;
};

inline constexpr auto kInDoEvents = FakeToolkit::Trigger::DoEvents;
inline constexpr auto kInRequest = FakeToolkit::Trigger::TrayRequest;
inline constexpr auto kAtTime = FakeToolkit::Trigger::Time;
inline const Event kJudge = Event::mouse(5, kLeftButtonDown);

// For the tray layer on its own: messages that are let through go nowhere.
struct IgnoredMessages final : MessageSink {
    void handleMessage(const WindowMessage&) override {}
};

// The window object wired to the fake toolkit and a scripted random source.
struct Harness {
    FakeToolkit toolkit;
    ScriptedRandom random;
    frmQuor6 form{toolkit, random};

    Harness() { toolkit.attach(form); }

    // Form_Load, with `secret` as the first hidden number.
    void start(std::string_view secret = "5139") {
        random.queueSecret(secret);
        form.Form_Load();
        toolkit.deliverHeldBack();
    }

    void mouse(int slot, std::uint32_t message) { toolkit.deliver(Event::mouse(slot, message)); }

    // A press on a digit icon whose release arrives at the first doEvents of the loop.
    void clickUp(int slot) {
        toolkit.onDoEvents(1, Event::mouse(slot, kLeftButtonUp));
        mouse(slot, kLeftButtonDown);
    }
    void judge() { mouse(5, kLeftButtonDown); }
    void script(const std::vector<Arrival>& arrivals) {
        for (const Arrival& a : arrivals)
            toolkit.schedule(a.where, a.nth, a.event);
    }

    const PuzzleState& state() const { return form.state(); }
    std::string_view guess() const { return toolkit.window().guess; }
};

}  // namespace quor6::fake
