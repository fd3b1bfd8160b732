#include "tests/unit/fake_toolkit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "shell/frm_quor6.h"
#include "tray/notify_icon_record.h"

namespace quor6::fake {

namespace {

std::string_view listName(ListBox list) {
    return list == ListBox::rirekiList ? "rirekiList" : "rirekilist2";
}

std::string_view requestName(std::uint32_t request) {
    constexpr std::array<std::string_view, 3> kNames = {"add", "modify", "delete"};
    return request < kNames.size() ? kNames[request] : "request?";
}

std::optional<IconHolder> holderOfIconHandle(Handle32 handle) {
    for (int i = 0; i < kIconHolderCount; ++i) {
        if (fakeIconHandle(static_cast<IconHolder>(i)) == handle)
            return static_cast<IconHolder>(i);
    }
    return std::nullopt;
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

void FakeToolkit::atTime(std::uint64_t milliseconds, const Event& event) {
    byTime_.push_back({false, milliseconds, event});
    std::stable_sort(byTime_.begin(), byTime_.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.at < b.at; });
}

void FakeToolkit::deliver(const Event& event) {
    log(CallKind::Deliver, event.describe());
    using SlotHandler = void (frmQuor6::*)(std::uint32_t);
    constexpr std::array<SlotHandler, 5> kSlotHandlers = {
        &frmQuor6::text1_MouseMove, &frmQuor6::text2_MouseMove, &frmQuor6::text3_MouseMove,
        &frmQuor6::text4_MouseMove, &frmQuor6::text5_MouseMove};
    switch (event.kind) {
        case Event::Kind::TrayMouse:
            if (event.slot >= 1 && event.slot <= 5)
                (form_->*kSlotHandlers[static_cast<std::size_t>(event.slot - 1)])(event.message);
            else
                form_->onTrayMouse(event.slot, event.message);
            break;
        case Event::Kind::Menu:
            form_->runMenuCommand(event.command);
            break;
        case Event::Kind::WindowClose:
            form_->closeByWindowSystem();
            break;
        case Event::Kind::TaskbarCreated:
            if (event.trayRecreated)
                trayIcons_.clear();
            form_->onTaskbarCreated();
            break;
        case Event::Kind::OkButton:
            form_->Command1_Click();
            break;
        case Event::Kind::QuitButton:
            form_->Command2_Click();
            break;
    }
    if (observer_)
        observer_();
}

void FakeToolkit::takeDue(bool byTrayRequest, std::uint64_t count, std::deque<Event>& queue) {
    for (auto it = byCount_.begin(); it != byCount_.end();) {
        if (it->byTrayRequest == byTrayRequest && it->at <= count) {
            queue.push_back(it->event);
            it = byCount_.erase(it);
        } else {
            ++it;
        }
    }
}

void FakeToolkit::deliverAll(std::deque<Event>& queue) {
    // One at a time from the shared queue: a handler that waits in a tray request or in a
    // doEvents of its own takes the rest, as the real message loop would.
    while (!queue.empty()) {
        const Event event = queue.front();
        queue.pop_front();
        deliver(event);
    }
}

void FakeToolkit::doEvents() {
    log(CallKind::DoEvents);
    if (++doEvents_ > static_cast<std::uint64_t>(doEventsLimit_))
        throw ToolkitFault("doEvents called too often: a loop that never ends");
    // Sent messages still waiting (their handler's predecessor is running below us) go first.
    deliverAll(sent_);
    takeDue(false, doEvents_, posted_);
    for (; !byTime_.empty() && byTime_.front().at <= now_; byTime_.erase(byTime_.begin()))
        posted_.push_back(byTime_.front().event);
    if (posted_.empty() && idleEvent_ && !hasScheduledEvents())
        posted_.push_back(*idleEvent_);
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
    for (const Event& event : std::exchange(duringPopup_, {}))
        deliver(event);
    popupOpen_ = false;
    return popupClosed_ ? TrayMenuOutcome{} : outcome;
}

void FakeToolkit::closeTrayMenu() {
    log(CallKind::CloseTrayMenu);
    popupClosed_ = popupOpen_;
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
        if (std::find(kinds.begin(), kinds.end(), calls_[i].kind) != kinds.end())
            lines.push_back(calls_[i].describe());
    }
    return lines;
}

std::vector<std::string> FakeToolkit::traceAll(std::size_t from) const {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < calls_.size(); ++i)
        lines.push_back(calls_[i].describe());
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

// --- Toolkit -------------------------------------------------------------------------------

Handle32 FakeToolkit::textBoxHandle(int slot) const {
    log(CallKind::TextBoxHandle, std::to_string(slot));
    if (slot < 1 || slot > 5)
        throw ToolkitFault("no text box Text" + std::to_string(slot));
    return fakeTextBoxHandle(slot);
}

Handle32 FakeToolkit::iconHandle(IconHolder holder) const {
    log(CallKind::IconHandle, iconHolderName(holder));
    return fakeIconHandle(holder);
}

bool FakeToolkit::setForegroundWindow(Handle32 window) {
    log(CallKind::SetForegroundWindow, hexText(window));
    return true;
}

bool FakeToolkit::shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) {
    const NotifyIconRecord received = record;
    const std::optional<IconHolder> image = holderOfIconHandle(record.hIcon);
    log(CallKind::ShellNotifyIcon, std::string(requestName(request)) + ' ' +
                                       std::to_string(record.uID) + ' ' +
                                       (image ? iconHolderName(*image) : hexText(record.hIcon)));
    if (!isWellFormed(record))
        throw ToolkitFault("malformed tray record");
    const std::uint64_t number = ++trayRequests_;
    const std::pair<Handle32, int> key{record.hWnd, static_cast<int>(record.uID)};
    const bool known = trayIcons_.count(key) != 0;
    const bool accepted = !shellRefuses_ && request <= kNimDelete && (request == kNimAdd) != known;
    if (accepted && request == kNimDelete)
        trayIcons_.erase(key);
    else if (accepted)
        trayIcons_[key].image = image;

    // The shell sends its messages to the program while the program still waits for the answer.
    if (request == kNimDelete && !deliverInsideDeletes_) {
        // Held back: the due ones move on to the next request, waiting ones stay queued.
        for (Scheduled& scheduled : byCount_) {
            if (scheduled.byTrayRequest && scheduled.at <= number)
                scheduled.at = number + 1;
        }
    } else {
        takeDue(true, number, sent_);
        deliverAll(sent_);
    }
    // The record belongs to the shell until the call returns: no handler may rewrite it.
    if (std::memcmp(&received, &record, sizeof record) != 0)
        throw ToolkitFault("the tray record was rewritten while the shell was using it");
    return accepted;
}

void FakeToolkit::listClear(ListBox list) {
    log(CallKind::ListClear, std::string(listName(list)));
    window_.list(list).clear();
}

void FakeToolkit::listAppend(ListBox list, std::string_view line) {
    log(CallKind::ListAppend, std::string(listName(list)) + ' ' + std::string(line));
    window_.list(list).emplace_back(line);
}

int FakeToolkit::listCount(ListBox list) const {
    log(CallKind::ListCount, std::string(listName(list)));
    return static_cast<int>(window_.list(list).size());
}

std::string FakeToolkit::listItem(ListBox list, int index) const {
    log(CallKind::ListItem, std::string(listName(list)) + ' ' + std::to_string(index));
    return window_.list(list).at(static_cast<std::size_t>(index));  // throws when out of range
}

void FakeToolkit::setListVisible(ListBox list, bool visible) {
    log(CallKind::SetListVisible, std::string(listName(list)) + (visible ? " true" : " false"));
    (list == ListBox::rirekiList ? window_.rirekiListVisible : window_.rirekilist2Visible) =
        visible;
}

void FakeToolkit::setHistoryEntryCaption(int index, std::string_view caption) {
    log(CallKind::SetHistoryEntryCaption, std::to_string(index) + ' ' + std::string(caption));
    window_.historyEntries.at(static_cast<std::size_t>(index)).caption = std::string(caption);
}

void FakeToolkit::setHistoryEntryVisible(int index, bool visible) {
    log(CallKind::SetHistoryEntryVisible, std::to_string(index) + (visible ? " true" : " false"));
    window_.historyEntries.at(static_cast<std::size_t>(index)).visible = visible;
}

void FakeToolkit::endProcess() {
    log(CallKind::EndProcess);
    ended_ = true;
    throw ProcessEnded{};
}

bool FakeToolkit::startProcess(std::string_view program, std::string_view commandLine) {
    log(CallKind::StartProcess, std::string(program) + " | " + std::string(commandLine));
    return startProcessSucceeds_;
}

std::optional<unsigned> FakeToolkit::fileMajorVersion(std::string_view path) const {
    log(CallKind::FileMajorVersion, std::string(path));
    const auto found = versions_.find(path);
    return found == versions_.end() ? std::nullopt : std::optional<unsigned>(found->second);
}

bool FakeToolkit::openDocument(std::string_view path) {
    log(CallKind::OpenDocument, std::string(path));
    return openDocumentSucceeds_;
}

}  // namespace quor6::fake
