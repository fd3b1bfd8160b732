#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quor6 {

// Where a tray mouse message goes once it is let through.
class TrayPressSink {
  public:
    virtual void handleTrayPress(int slot, std::uint32_t message) = 0;

  protected:
    ~TrayPressSink() = default;
};

// The one order of the tray's messages. The shell can deliver a message while the program waits
// inside one of its own tray requests (Wine does; Windows holds it until the program next looks
// for messages). So every tray request, and every handler that makes several (a verdict, a new
// puzzle, start-up, putting the icons back, quitting), runs uninterrupted: what arrives
// meanwhile waits here, and so does anything that arrives while others still wait, behind them.
// The waiting messages run in arrival order wherever the program yields (a digit being stepped,
// the tray menu about to open) and when the handler that held them has finished, exactly as if
// the shell had delivered each of them just after the request it fell into. Once quitting has
// begun, nothing waiting or arriving runs.
class HeldPresses {
  public:
    explicit HeldPresses(TrayPressSink& sink) : sink_(sink) {}

    HeldPresses(const HeldPresses&) = delete;
    HeldPresses& operator=(const HeldPresses&) = delete;

    // Passes the message on at once, or queues it behind those that wait.
    void receive(int slot, std::uint32_t message);

    // Brackets something that must run uninterrupted; they nest.
    void begin() { ++depth_; }
    // Closes the innermost bracket and lets the waiting messages through (see settle).
    void end() {
        close();
        settle();
    }
    // Closes the innermost bracket but leaves the messages waiting: for a tray request inside a
    // handler, and for a press whose own action must begin before anything that came after it.
    void close();
    // Lets the waiting messages through, unless a bracket is open or a release further down
    // is already handing them on (a long run of held presses then does not nest one handler
    // inside the other).
    void settle();
    // Lets the waiting messages through now, unless a bracket is open: for a loop that yields,
    // whose own message pump would otherwise deliver newer messages first.
    void release();
    // Quitting has begun: what waits is dropped, and what arrives from now on is ignored.
    void stop();

    bool holding() const { return depth_ > 0; }
    std::size_t heldCount() const { return held_.size() - next_; }

  private:
    struct Press {
        int slot;
        std::uint32_t message;
    };

    TrayPressSink& sink_;
    std::vector<Press> held_;
    std::size_t next_ = 0;  // the first message of held_ not yet passed on
    int depth_ = 0;
    bool releasing_ = false;
    bool stopped_ = false;
};

}  // namespace quor6
