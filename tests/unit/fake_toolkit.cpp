#include "tests/unit/fake_toolkit.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "shell/frm_quor6.h"
#include "tray/notify_icon_record.h"

namespace quor6::fake {

namespace {

std::string_view requestName(std::uint32_t request) {
    constexpr std::array<std::string_view, 3> kNames = {"add", "modify", "delete"};
    return request < kNames.size() ? kNames[request] : "request?";
}

TrayIcon iconOfHandle(Handle32 handle) {
    for (const int frame : kIconFrameSizes) {
        for (int i = 0; i < kIconHolderCount; ++i) {
            if (fakeIconHandle(static_cast<IconHolder>(i), frame) == handle)
                return {static_cast<IconHolder>(i), frame};
        }
    }
    return {};
}

// The one way the program fills in its record, which the shell reads as raw bytes.
bool isWellFormed(const NotifyIconRecord& record) {
    const bool noTip =
        std::all_of(record.szTip.begin(), record.szTip.end(), [](char c) { return c == 0; });
    return record.cbSize == 89 && record.uFlags == 7 && record.uCallbackMessage == 0x200 && noTip &&
           record.uID >= 1 && record.uID <= 5 &&
           record.hWnd == fakeTextBoxHandle(static_cast<int>(record.uID));
}

}  // namespace

// --- Scripting and delivery ---------------------------------------------------------------

void FakeToolkit::schedule(Trigger trigger, std::uint64_t nth, const Event& event) {
    const std::uint64_t at = trigger == Trigger::DoEvents      ? doEvents_ + nth
                             : trigger == Trigger::TrayRequest ? trayRequests_ + nth
                                                               : nth;
    const auto later = std::find_if(scheduled_.begin(), scheduled_.end(),
                                    [at](const Scheduled& other) { return other.at > at; });
    scheduled_.insert(later, {trigger, at, event});
}

void FakeToolkit::deliver(const Event& event) {
    log(CallKind::Deliver, event.describe());
    if (event.newTray)
        trayIcons_.clear();
    placementSeen_ = placementSeen_ || event.readsIconPlaces;
    ++delivering_;
    event.run(*form_);
    --delivering_;
    if (observer_)
        observer_();
    // Back in the message loop: what the shell held during a request comes now.
    if (delivering_ == 0)
        deliverAll(sent_);
}

void FakeToolkit::takeDue(Trigger trigger, std::uint64_t count, std::deque<Event>& queue) {
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        if (it->trigger == trigger && it->at <= count) {
            // The shell's tray is created anew when the moment comes, whenever the program
            // gets to hear of it.
            Event event = it->event;
            if (std::exchange(event.newTray, false))
                trayIcons_.clear();
            queue.push_back(event);
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
}

void FakeToolkit::deliverAll(std::deque<Event>& queue) {
    // One at a time from the shared queue: a handler that waits in a tray request or in a
    // doEvents of its own takes the rest, as the real message loop would. Sent messages go
    // before each posted one, as they do when a message loop looks for the next message.
    while (!queue.empty() || !sent_.empty()) {
        std::deque<Event>& from = sent_.empty() ? queue : sent_;
        const Event event = from.front();
        from.pop_front();
        deliver(event);
    }
}

void FakeToolkit::doEvents() {
    log(CallKind::DoEvents);
    if (++doEvents_ > static_cast<std::uint64_t>(doEventsLimit_))
        throw std::logic_error("doEvents called too often: a loop that never ends");
    // Sent messages still waiting (their handler's predecessor is running below us) go first.
    deliverAll(sent_);
    takeDue(Trigger::DoEvents, doEvents_, posted_);
    takeDue(Trigger::Time, now_, posted_);
    const bool idle = posted_.empty() && !hasScheduledEvents();
    idleRun_ = idle ? idleRun_ + 1 : 0;
    if (idle && idleEvent_ && idleRun_ >= idlePatience_) {
        idleRun_ = 0;
        posted_.push_back(*idleEvent_);
    }
    deliverAll(posted_);
}

TrayMenuOutcome FakeToolkit::popupTrayMenu() {
    TrayMenuOutcome outcome;
    if (!popupChoices_.empty()) {
        outcome = popupChoices_.front();
        popupChoices_.pop_front();
    }
    log(CallKind::PopupTrayMenu,
        outcome.rightDoubleClick ? "rightDoubleClick" : menuCommandName(outcome.command));
    popupOpen_ = true;
    popupClosed_ = false;
    // The menu's own message loop: what the shell held back comes too.
    std::deque<Event> during = std::exchange(duringPopup_, {});
    deliverAll(during);
    popupOpen_ = false;
    return popupClosed_ ? TrayMenuOutcome{} : outcome;
}

// --- Observation ---------------------------------------------------------------------------

std::string FakeToolkit::log(std::string_view kind, std::string detail) const {
    if (ended_)
        ++callsAfterEnd_;
    calls_.push_back({kind, detail});
    return detail;
}

std::vector<std::string> FakeToolkit::trace(std::initializer_list<std::string_view> kinds,
                                            std::size_t from) const {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < calls_.size(); ++i) {
        if (kinds.size() == 0 ||
            std::find(kinds.begin(), kinds.end(), calls_[i].kind) != kinds.end())
            lines.push_back(calls_[i].describe());
    }
    return lines;
}

std::optional<TrayIcon> FakeToolkit::trayIcon(int slot) const {
    const auto it = trayIcons_.find({fakeTextBoxHandle(slot), slot});
    return it == trayIcons_.end() ? std::nullopt : std::optional<TrayIcon>(it->second);
}

std::string FakeToolkit::trayPicture() const {
    constexpr std::string_view kPictureChars = "0123456789SBOKNG_@";
    static_assert(kPictureChars.size() == static_cast<std::size_t>(kIconHolderCount));
    std::string picture;
    for (int slot = 1; slot <= 5; ++slot) {
        const auto icon = trayIcon(slot);
        picture += !icon         ? '-'
                   : icon->image ? kPictureChars[static_cast<std::size_t>(*icon->image)]
                                 : '?';
    }
    return picture;
}

std::string FakeToolkit::screenPicture() const {
    const std::string bySlot = trayPicture();
    if (screenOrder_.empty())
        return bySlot;
    std::string picture;
    for (const char slot : screenOrder_)
        picture += bySlot.at(static_cast<std::size_t>(slot - '1'));
    return picture;
}

// --- Toolkit -------------------------------------------------------------------------------

bool FakeToolkit::shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) {
    const NotifyIconRecord received = record;
    const TrayIcon icon = iconOfHandle(record.hIcon);
    log(CallKind::ShellNotifyIcon,
        std::string(requestName(request)) + ' ' + std::to_string(record.uID) + ' ' +
            (icon.image ? iconHolderName(*icon.image) : hexText(record.hIcon)) +
            (icon.frame != 16 ? ' ' + std::to_string(icon.frame) + "px" : ""));
    if (!isWellFormed(record))
        throw std::logic_error("malformed tray record");
    const std::uint64_t number = ++trayRequests_;
    const std::pair<Handle32, int> key{record.hWnd, static_cast<int>(record.uID)};
    const bool known = trayIcons_.count(key) != 0;
    const bool accepted = !shellRefuses_ && request <= kNimDelete && (request == kNimAdd) != known;
    if (accepted && request == kNimDelete)
        trayIcons_.erase(key);
    else if (accepted)
        trayIcons_[key] = icon;

    // The shell sends its messages while the program still waits for the answer, or after it.
    takeDue(Trigger::TrayRequest, number, sent_);
    if (!deliverAfterRequests_)
        deliverAll(sent_);
    // The record belongs to the shell until the call returns: no handler may rewrite it.
    if (std::memcmp(&received, &record, sizeof record) != 0)
        throw std::logic_error("the tray record was rewritten while the shell was using it");
    return accepted;
}

std::int32_t FakeToolkit::trayIconPlace(Handle32 host, std::uint32_t id, ScreenRect& place) {
    log(CallKind::TrayIconPlace, std::to_string(id));
    constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001);
    constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005);
    if (screenOrder_.empty())
        return kNotImplemented;
    if (placeFailure_ != 0)
        return placeFailure_;
    const char slot = static_cast<char>('0' + id);
    const std::size_t index = screenOrder_.find(slot);
    if (trayIcons_.count({host, static_cast<int>(id)}) == 0 || index == std::string::npos)
        return kFailed;  // the shell knows no such icon
    // 16-pixel cells 24 pixels apart, in a taskbar at the foot of a 1024 x 768 screen or at
    // its right edge; the overflow's icons all report the chevron's cell.
    const auto offset = static_cast<std::int32_t>(24 * index);
    place = layout_ == Layout::Row ? ScreenRect{800 + offset, 744, 816 + offset, 760}
                                   : ScreenRect{1000, 400 + offset, 1016, 416 + offset};
    if (overflow_.find(slot) != std::string::npos)
        place = {776, 744, 792, 760};
    return 0;
}

bool FakeToolkit::placementKnown() const {
    if (!placementSeen_ || screenOrder_.empty() || placeFailure_ != 0)
        return false;
    for (int slot = 1; slot <= 4; ++slot) {
        if (!trayIcon(slot) || overflow_.find(static_cast<char>('0' + slot)) != std::string::npos)
            return false;
    }
    return true;
}

}  // namespace quor6::fake
