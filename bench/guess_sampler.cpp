// guess_sampler.exe: watches quor6's guess from outside while a player holds a digit icon.
// Usage: guess_sampler <seconds>
//
// Finds the window of class frmQuor6 and its guess box Text1 (control id 1001) and asks for
// the text with WM_GETTEXT every ~2 ms. Prints "ready" once the first answer is in, then one
// line per change (that first value included):
//     <ms> <text> <slack ms>
// <ms> is when the question that first saw the new text was sent, counted from the start.
// The program answers only while it handles messages, not while it sleeps between two steps,
// so answer times can be up to a whole step late. The send time is not: the text changed
// after the previous answer (which still showed the old text, <slack> ms before <ms>) and,
// as the program handles messages right after each step, before the question was sent, or
// at the latest while it was being answered at once.
// Ends after <seconds> with "done questions=<n>".
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kMainClass[] = L"frmQuor6";
constexpr int kGuessBoxId = 1001;
constexpr double kQuestionPeriodMs = 2.0;
constexpr UINT kAnswerTimeoutMs = 5000;

// Millisecond timestamps from the performance counter, counted from construction.
class Stopwatch {
  public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double elapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency_.QuadPart);
    }

  private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

// A 1 ms scheduler tick while sampling, so that short sleeps stay short on Windows too.
class FineTimerResolution {
  public:
    FineTimerResolution() : granted_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    FineTimerResolution(const FineTimerResolution&) = delete;
    FineTimerResolution& operator=(const FineTimerResolution&) = delete;
    ~FineTimerResolution() {
        if (granted_)
            timeEndPeriod(1);
    }

  private:
    bool granted_;
};

// The text of a window of another process; false when it does not answer in time. The guess
// is four ASCII digits; anything else is shown as '?'.
bool readText(HWND window, std::string& text) {
    wchar_t buffer[64] = {};
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXT, sizeof(buffer) / sizeof(buffer[0]),
                            reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, kAnswerTimeoutMs,
                            &copied) == 0) {
        return false;
    }
    text.clear();
    for (DWORD_PTR i = 0; i < copied && buffer[i] != L'\0'; ++i)
        text += buffer[i] < 0x80 ? static_cast<char>(buffer[i]) : '?';
    return true;
}

HWND findGuessBox(const Stopwatch& clock, double deadlineMs) {
    while (clock.elapsedMs() < deadlineMs) {
        if (const HWND main = FindWindowW(kMainClass, nullptr)) {
            if (const HWND box = GetDlgItem(main, kGuessBoxId))
                return box;
        }
        Sleep(50);
    }
    return nullptr;
}

// Sleeps until `dueMs`; returns at once when that has passed, so that a question that had to
// wait is followed by the next one without delay.
void sleepUntil(const Stopwatch& clock, double dueMs) {
    const double leftMs = dueMs - clock.elapsedMs();
    if (leftMs >= 1.0)
        Sleep(static_cast<DWORD>(leftMs));
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc == 2 ? std::atof(argv[1]) : 0.0;
    if (seconds <= 0.0) {
        std::fputs("usage: guess_sampler <seconds>\n", stderr);
        return 2;
    }
    const FineTimerResolution resolution;
    const Stopwatch clock;
    const double endMs = seconds * 1000.0;
    const HWND box = findGuessBox(clock, endMs);
    if (box == nullptr) {
        std::fputs("guess_sampler: no frmQuor6 window with a control 1001\n", stderr);
        return 1;
    }
    std::string last;
    std::string text;
    bool first = true;
    long questions = 0;
    double previousAnswerMs = clock.elapsedMs();
    double askedMs = previousAnswerMs;
    while (askedMs < endMs) {
        if (!readText(box, text)) {
            std::fputs("guess_sampler: the guess box did not answer\n", stderr);
            return 1;
        }
        const double answeredMs = clock.elapsedMs();
        ++questions;
        if (first) {
            // Only now: a press that a harness makes after reading this comes after the
            // first value, which is therefore the guess before the press.
            std::printf("ready\n");
        }
        if (first || text != last) {
            std::printf("%.3f %s %.3f\n", askedMs, text.c_str(), askedMs - previousAnswerMs);
            std::fflush(stdout);
            last = text;
            first = false;
        }
        previousAnswerMs = answeredMs;
        sleepUntil(clock, askedMs + kQuestionPeriodMs);
        askedMs = clock.elapsedMs();
    }
    std::printf("done questions=%ld\n", questions);
    return 0;
}
