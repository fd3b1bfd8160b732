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

// The shell can deliver a tray message while the program waits inside one of its own tray
// requests. A handler that puts a verdict or a new puzzle into the tray must not be cut in two
// by such a message (a second judging of the same guess, a restore between two verdict
// images), so while one runs the messages are held here; they go to the sink when it has
// finished, in the order they came, exactly as if they had arrived just after it.
class HeldPresses {
  public:
    explicit HeldPresses(TrayPressSink& sink) : sink_(sink) {}

    HeldPresses(const HeldPresses&) = delete;
    HeldPresses& operator=(const HeldPresses&) = delete;

    // Passes the message on at once, or holds it while a handler runs uninterrupted.
    void receive(int slot, std::uint32_t message);

    // Brackets a handler that must run uninterrupted; they nest. The last end lets the held
    // messages through.
    void begin() { ++depth_; }
    void end() {
        close();
        settle();
    }
    // Closes the innermost bracket but leaves the held messages waiting: for a press whose own
    // action must begin before anything that came after it runs.
    void close();
    // Lets the held messages through unless a bracket is open or a release further down is
    // already handing them on (a long run of held presses then does not nest one handler
    // inside the other).
    void settle();

    // Lets the held messages through now: for a loop that yields (a digit being stepped),
    // whose own DoEvents would have delivered them.
    void release();

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
};

}  // namespace quor6
