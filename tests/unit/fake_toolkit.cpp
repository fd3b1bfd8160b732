#include "tests/unit/fake_toolkit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "shell/frm_quor6.h"
#include "tray/notify_icon_record.h"

namespace quor6::fake {

static_assert(sizeof(NotifyIconRecord) == kRecordBytes, "the fake reads the record as raw bytes");

namespace {

constexpr std::string_view kPictureChars = "0123456789SBOKNG_@";
static_assert(kPictureChars.size() == static_cast<std::size_t>(kIconHolderCount));

// Keeps the nesting depth right when a handler leaves by an exception (the process ending).
class DepthGuard {
  public:
    DepthGuard(int& depth, int& maxDepth) : depth_(depth) {
        ++depth_;
        maxDepth = std::max(maxDepth, depth_);
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& depth_;
};

}  // namespace

// --- Scripting ---------------------------------------------------------------------------

void FakeToolkit::onDoEvents(int nth, const Event& event) {
    byDoEvents_.push_back({static_cast<std::uint64_t>(doEventsCount_ + nth), event});
}

void FakeToolkit::atTime(std::uint64_t milliseconds, const Event& event) {
    // Stable order: events for the same moment arrive in the order they were scripted.
    const auto later = std::upper_bound(
        byTime_.begin(), byTime_.end(), milliseconds,
        [](std::uint64_t at, const Scheduled& scheduled) { return at < scheduled.at; });
    byTime_.insert(later, {milliseconds, event});
}

void FakeToolkit::insideTrayRequest(int nth, const Event& event) {
    byTrayRequest_.push_back({static_cast<std::uint64_t>(trayRequestCount_ + nth), event});
}

void FakeToolkit::choosePopupCommand(MenuCommand command) {
    popupChoices_.push_back({command, false});
}

void FakeToolkit::closePopupByRightDoubleClick() {
    popupChoices_.push_back({MenuCommand::None, true});
}

bool FakeToolkit::hasScheduledEvents() const {
    return !byDoEvents_.empty() || !byTime_.empty() || !byTrayRequest_.empty() ||
           !pending_.empty() || !sentPending_.empty();
}

void FakeToolkit::deliver(const Event& event) {
    deliverNow(event);
}

void FakeToolkit::deliverNow(const Event& event) {
    if (form_ == nullptr)
        throw ToolkitFault("no window object attached to the fake toolkit");
    log(CallKind::Deliver, event.describe());
    {
        const DepthGuard guard(depth_, maxDepth_);
        switch (event.kind) {
            case Event::Kind::TrayMouse:
                switch (event.slot) {
                    case 1:
                        form_->text1_MouseMove(event.message);
                        break;
                    case 2:
                        form_->text2_MouseMove(event.message);
                        break;
                    case 3:
                        form_->text3_MouseMove(event.message);
                        break;
                    case 4:
                        form_->text4_MouseMove(event.message);
                        break;
                    case 5:
                        form_->text5_MouseMove(event.message);
                        break;
                    default:
                        form_->onTrayMouse(event.slot, event.message);
                        break;
                }
                break;
            case Event::Kind::Menu:
                form_->runMenuCommand(event.command);
                break;
            case Event::Kind::WindowClose:
                form_->closeByWindowSystem();
                break;
            case Event::Kind::TaskbarCreated:
                if (event.trayRecreated)
                    recreateTray();
                form_->onTaskbarCreated();
                break;
            case Event::Kind::OkButton:
                form_->Command1_Click();
                break;
            case Event::Kind::QuitButton:
                form_->Command2_Click();
                break;
        }
    }
    if (observer_)
        observer_();
}

void FakeToolkit::queueDueEvents() {
    const auto count = static_cast<std::uint64_t>(doEventsCount_);
    for (auto it = byDoEvents_.begin(); it != byDoEvents_.end();) {
        if (it->at <= count) {
            pending_.push_back(it->event);
            it = byDoEvents_.erase(it);
        } else {
            ++it;
        }
    }
    while (!byTime_.empty() && byTime_.front().at <= now_) {
        pending_.push_back(byTime_.front().event);
        byTime_.erase(byTime_.begin());
    }
}

// --- Logging -----------------------------------------------------------------------------

std::size_t FakeToolkit::log(CallKind kind, std::string detail) const {
    if (ended_)
        ++callsAfterEnd_;
    calls_.push_back({kind, std::move(detail), now_, std::nullopt});
    return calls_.size() - 1;
}

std::vector<std::string> FakeToolkit::trace(std::initializer_list<CallKind> kinds,
                                            std::size_t from) const {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < calls_.size(); ++i) {
        if (std::find(kinds.begin(), kinds.end(), calls_[i].kind) != kinds.end()) {
            lines.push_back(calls_[i].describe());
        }
    }
    return lines;
}

std::vector<std::string> FakeToolkit::traceAll(std::size_t from) const {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < calls_.size(); ++i)
        lines.push_back(calls_[i].describe());
    return lines;
}

std::vector<TrayRequest> FakeToolkit::trayRequests(std::size_t from) const {
    std::vector<TrayRequest> requests;
    for (std::size_t i = from; i < calls_.size(); ++i) {
        if (calls_[i].tray)
            requests.push_back(*calls_[i].tray);
    }
    return requests;
}

std::optional<TrayIcon> FakeToolkit::trayIcon(int slot) const {
    const auto it = trayIcons_.find({fakeTextBoxHandle(slot), static_cast<std::uint32_t>(slot)});
    if (it == trayIcons_.end())
        return std::nullopt;
    return it->second;
}

std::string FakeToolkit::trayPicture() const {
    std::string picture;
    for (int slot = 1; slot <= 5; ++slot) {
        const auto icon = trayIcon(slot);
        if (!icon) {
            picture += '-';
        } else if (!icon->image) {
            picture += '?';
        } else {
            picture += kPictureChars[static_cast<std::size_t>(*icon->image)];
        }
    }
    return picture;
}

// --- The window --------------------------------------------------------------------------

double FakeToolkit::formLeft() const {
    log(CallKind::FormLeft);
    return window_.left;
}

double FakeToolkit::formTop() const {
    log(CallKind::FormTop);
    return window_.top;
}

double FakeToolkit::formWidth() const {
    log(CallKind::FormWidth);
    return window_.width;
}

double FakeToolkit::formHeight() const {
    log(CallKind::FormHeight);
    return window_.height;
}

void FakeToolkit::setFormLeft(float twips) {
    log(CallKind::SetFormLeft, std::to_string(twips));
    window_.left = static_cast<double>(twips);
}

void FakeToolkit::setFormTop(float twips) {
    log(CallKind::SetFormTop, std::to_string(twips));
    window_.top = static_cast<double>(twips);
}

double FakeToolkit::screenWidth() const {
    log(CallKind::ScreenWidth);
    return window_.screenWidth;
}

double FakeToolkit::screenHeight() const {
    log(CallKind::ScreenHeight);
    return window_.screenHeight;
}

void FakeToolkit::showForm() {
    log(CallKind::ShowForm);
    window_.visible = true;
}

void FakeToolkit::hideForm() {
    log(CallKind::HideForm);
    window_.visible = false;
}

Handle32 FakeToolkit::formHandle() const {
    log(CallKind::FormHandle);
    return kFormHandle;
}

Handle32 FakeToolkit::textBoxHandle(int slot) const {
    log(CallKind::TextBoxHandle, std::to_string(slot));
    if (slot < 1 || slot > 5)
        throw ToolkitFault("no text box Text" + std::to_string(slot));
    return fakeTextBoxHandle(slot);
}

std::string FakeToolkit::guessText() const {
    log(CallKind::GuessText);
    return window_.guess;
}

void FakeToolkit::setGuessText(std::string_view text) {
    log(CallKind::SetGuessText, std::string(text));
    window_.guess = std::string(text);
}

Handle32 FakeToolkit::iconHandle(IconHolder holder) const {
    log(CallKind::IconHandle, iconHolderName(holder));
    if (static_cast<int>(holder) >= kIconHolderCount)
        throw ToolkitFault("no such icon holder");
    return fakeIconHandle(holder);
}

// --- The tray ----------------------------------------------------------------------------

bool FakeToolkit::shellNotifyIcon(std::uint32_t request, const NotifyIconRecord& record) {
    TrayRequest received;
    received.request = request;
    std::memcpy(received.bytes.data(), &record, kRecordBytes);
    received.image = holderOfIconHandle(received.hIcon());
    const int number = ++trayRequestCount_;
    const std::size_t index = log(CallKind::ShellNotifyIcon, received.describe());

    received.accepted = !shellRefuses_ && applyTrayRequest(received);
    calls_[index].tray = received;

    // The shell sends its messages to the program while the program still waits for the
    // answer; deliver the ones scripted for this request now, straight to the handlers.
    if (request == kNimDelete && !deliverInsideDeletes_) {
        // Held back: the due ones move on to the next request, waiting ones stay queued.
        for (Scheduled& scheduled : byTrayRequest_) {
            if (scheduled.at <= static_cast<std::uint64_t>(number))
                scheduled.at = static_cast<std::uint64_t>(number) + 1;
        }
    } else {
        for (auto it = byTrayRequest_.begin(); it != byTrayRequest_.end();) {
            if (it->at <= static_cast<std::uint64_t>(number)) {
                sentPending_.push_back(it->event);
                it = byTrayRequest_.erase(it);
            } else {
                ++it;
            }
        }
        deliverSentMessages();
    }
    // The record belongs to the shell until the call returns; a handler run in the meantime
    // must not have rewritten it.
    if (std::memcmp(received.bytes.data(), &record, kRecordBytes) != 0) {
        throw ToolkitFault("the tray record was rewritten while the shell was using it");
    }
    return received.accepted;
}

bool FakeToolkit::applyTrayRequest(const TrayRequest& request) {
    const std::pair<Handle32, std::uint32_t> key{request.hWnd(), request.uID()};
    const auto it = trayIcons_.find(key);
    switch (request.request) {
        case kNimAdd:
            if (it != trayIcons_.end())
                return false;
            trayIcons_[key] = {request.hWnd(), request.uID(), request.hIcon(), request.image};
            return true;
        case kNimModify:
            if (it == trayIcons_.end())
                return false;
            it->second.iconHandle = request.hIcon();
            it->second.image = request.image;
            return true;
        case kNimDelete:
            if (it == trayIcons_.end())
                return false;
            trayIcons_.erase(it);
            return true;
        default:
            return false;
    }
}

// --- Lists and menus ---------------------------------------------------------------------

void FakeToolkit::listClear(ListBox list) {
    log(CallKind::ListClear, std::string(listBoxName(list)));
    window_.list(list).clear();
}

void FakeToolkit::listAppend(ListBox list, std::string_view line) {
    log(CallKind::ListAppend, std::string(listBoxName(list)) + " " + std::string(line));
    window_.list(list).emplace_back(line);
}

int FakeToolkit::listCount(ListBox list) const {
    log(CallKind::ListCount, std::string(listBoxName(list)));
    return static_cast<int>(window_.list(list).size());
}

std::string FakeToolkit::listItem(ListBox list, int index) const {
    log(CallKind::ListItem, std::string(listBoxName(list)) + " " + std::to_string(index));
    const auto& lines = window_.list(list);
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) {
        throw ToolkitFault("list index " + std::to_string(index) + " out of range");
    }
    return lines[static_cast<std::size_t>(index)];
}

void FakeToolkit::setListVisible(ListBox list, bool visible) {
    log(CallKind::SetListVisible, std::string(listBoxName(list)) + (visible ? " true" : " false"));
    (list == ListBox::rirekiList ? window_.rirekiListVisible : window_.rirekilist2Visible) =
        visible;
}

void FakeToolkit::setMenuRootVisible(bool visible) {
    log(CallKind::SetMenuRootVisible, visible ? "true" : "false");
    window_.menuRootVisible = visible;
}

HistoryEntry& FakeToolkit::historyEntry(int index) {
    if (index < 0 || index >= kHistoryMenuEntries) {
        throw ToolkitFault("no menu entry rirekimnu(" + std::to_string(index) + ")");
    }
    return window_.historyEntries[static_cast<std::size_t>(index)];
}

void FakeToolkit::setHistoryEntryCaption(int index, std::string_view caption) {
    log(CallKind::SetHistoryEntryCaption, std::to_string(index) + " " + std::string(caption));
    historyEntry(index).caption = std::string(caption);
}

void FakeToolkit::setHistoryEntryVisible(int index, bool visible) {
    log(CallKind::SetHistoryEntryVisible, std::to_string(index) + (visible ? " true" : " false"));
    historyEntry(index).visible = visible;
}

bool FakeToolkit::setForegroundWindow(Handle32 window) {
    log(CallKind::SetForegroundWindow, hexText(window));
    return true;
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
    const std::vector<Event> inside = std::exchange(duringPopup_, {});
    for (const Event& event : inside)
        deliverNow(event);
    popupOpen_ = false;
    return popupClosed_ ? TrayMenuOutcome{} : outcome;
}

void FakeToolkit::closeTrayMenu() {
    log(CallKind::CloseTrayMenu);
    popupClosed_ = popupOpen_;
}

// --- Message handling and time -----------------------------------------------------------

void FakeToolkit::doEvents() {
    log(CallKind::DoEvents);
    ++doEventsCount_;
    if (doEventsCount_ > doEventsLimit_) {
        throw ToolkitFault("doEvents called more than " + std::to_string(doEventsLimit_) +
                           " times: a loop that never ends");
    }
    // Sent messages still waiting (their handler's predecessor is running below us) go first.
    deliverSentMessages();
    queueDueEvents();
    if (pending_.empty() && idleEvent_ && !hasScheduledEvents())
        pending_.push_back(*idleEvent_);
    // A nested doEvents (inside a handler run from here) takes the rest of the queue, as the
    // real message loop would.
    while (!pending_.empty()) {
        const Event event = pending_.front();
        pending_.pop_front();
        deliverNow(event);
    }
}

void FakeToolkit::deliverSentMessages() {
    // Taken one at a time from the shared queue: a handler that waits in a tray request or
    // in doEvents of its own receives the messages sent after the one that started it.
    while (!sentPending_.empty()) {
        const Event event = sentPending_.front();
        sentPending_.pop_front();
        deliverNow(event);
    }
}

void FakeToolkit::sleepMilliseconds(unsigned milliseconds) {
    log(CallKind::SleepMilliseconds, std::to_string(milliseconds));
    now_ += milliseconds;
}

void FakeToolkit::messageBox(std::string_view text) {
    log(CallKind::MessageBox, std::string(text));
    messageBoxes_.emplace_back(text);
    const std::vector<Event> events = std::move(duringMessageBox_);
    duringMessageBox_.clear();
    for (const Event& event : events)
        deliverNow(event);
}

// --- Process services --------------------------------------------------------------------

bool FakeToolkit::previousInstanceRunning() {
    log(CallKind::PreviousInstanceRunning, previousInstance_ ? "true" : "false");
    return previousInstance_;
}

void FakeToolkit::endProcess() {
    log(CallKind::EndProcess);
    ended_ = true;
    throw ProcessEnded{};
}

std::string FakeToolkit::executableDirectory() const {
    log(CallKind::ExecutableDirectory);
    return executableDirectory_;
}

std::string FakeToolkit::windowsDirectory() const {
    log(CallKind::WindowsDirectory);
    return windowsDirectory_;
}

bool FakeToolkit::startProcess(std::string_view program, std::string_view commandLine) {
    log(CallKind::StartProcess, std::string(program) + " | " + std::string(commandLine));
    if (!startProcessSucceeds_)
        return false;
    started_.push_back({std::string(program), std::string(commandLine)});
    return true;
}

std::optional<unsigned> FakeToolkit::fileMajorVersion(std::string_view path) const {
    log(CallKind::FileMajorVersion, std::string(path));
    const auto found = fileMajorVersions_.find(path);
    if (found == fileMajorVersions_.end())
        return std::nullopt;
    return found->second;
}

bool FakeToolkit::openDocument(std::string_view path) {
    log(CallKind::OpenDocument, std::string(path));
    if (!openDocumentSucceeds_)
        return false;
    opened_.emplace_back(path);
    return true;
}

}  // namespace quor6::fake
