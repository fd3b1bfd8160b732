#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quor6 {

// What the window system hands to the program: a tray icon's mouse message, a menu command, a
// button of the window, the window being closed, the taskbar created anew, the tray retry timer.
struct WindowMessage {
    enum class Kind : std::uint8_t {
        TrayMouse,
        MenuCommand,
        OkButton,
        QuitButton,
        Close,
        TaskbarCreated,
        TrayRetryTimer
    };
    Kind kind;
    int slot = 0;             // of a tray mouse message
    std::uint32_t value = 0;  // the mouse message number, or the menu command
};

// Where a message goes once it is let through.
class MessageSink {
  public:
    virtual void handleMessage(const WindowMessage& message) = 0;

  protected:
    ~MessageSink() = default;
};

// The one order of the program's messages. The shell can deliver a message while the program
// waits inside one of its own tray requests (Wine does, and may run any of the window's messages
// there; Windows holds them until the program next looks for messages). So every tray request, and
// every handler that makes several (a verdict, a new puzzle, start-up, putting the icons back,
// quitting), runs uninterrupted: what arrives meanwhile waits here, and so does anything that
// arrives while others still wait, behind them. The waiting messages run in arrival order wherever
// the program yields (a digit being stepped, the tray menu or a message box about to open) and when
// the handler that held them has finished, exactly as if the shell had delivered each of them just
// after the request it fell into. Once quitting has begun, nothing waiting or arriving runs.
class HeldMessages {
  public:
    explicit HeldMessages(MessageSink& sink) : sink_(sink) {}

    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    // Passes the message on at once, or queues it behind those that wait.
    void receive(const WindowMessage& message);

    // Brackets something that must run uninterrupted; they nest.
    void begin() { ++depth_; }
    // Closes the innermost bracket and, if it was the outermost, lets the waiting messages
    // through.
    void end() {
        close();
        release();
    }
    // Closes the innermost bracket but leaves the messages waiting: for a tray request inside a
    // handler, and for a press whose own action must begin before anything that came after it.
    void close() { --depth_; }
    // Lets the waiting messages through now, unless a bracket is open: where the program
    // yields (whose own message pump would otherwise deliver newer messages first) and where
    // a handler has finished. A handler let through may let the rest through itself; they
    // come from the same queue, so the order holds either way.
    void release();
    // Quitting has begun: what arrives from now on is ignored. What already waits never runs:
    // nothing lets it through before the process ends.
    void stop() { stopped_ = true; }

    bool holding() const { return depth_ > 0; }
    std::size_t heldCount() const { return held_.size() - next_; }

  private:
    MessageSink& sink_;
    std::vector<WindowMessage> held_;
    std::size_t next_ = 0;  // the first message of held_ not yet passed on
    int depth_ = 0;
    bool stopped_ = false;
};

}  // namespace quor6
