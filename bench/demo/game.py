"""One whole game, played like a player would on the tray, filmed frame by frame.

The answer comes from the answer box (the 0x206 callback posted to Text5, as the end-to-end
tests do: a real right double-click on the sphere would be swallowed by the menu its first
press opens). The guesses: 1134, refused for its repeated digit (blank N G blank); 1234,
scored; the answer with its last two digits swapped, scored 2 S 2 B; then the answer."""

from pathlib import Path
from typing import Callable, List, Tuple

from harness.player import LEFT, RIGHT
from harness.session import GameSession

from .filmstrip import Filmstrip
from .tray_reading import TrayCells

SPHERE = 5
RIGHT_DOUBLE_CLICK = 0x206

# How long the GIF shows each kind of moment, in seconds.
SHOW_START = 1.5
SHOW_PRESS = 0.3
SHOW_STEP = 0.35
SHOW_VERDICT = 2.0
SHOW_SOLVED = 3.5


def tray_of_guess(guess: str) -> Tuple[str, ...]:
    return tuple(guess) + ("sphere",)


def score(guess: str, answer: str) -> Tuple[int, int]:
    strikes = sum(1 for g, a in zip(guess, answer) if g == a)
    balls = sum(1 for g in guess if g in answer) - strikes
    return strikes, balls


def plan(answer: str) -> List[str]:
    """The guesses in order; none repeats the one before, and only the last is the answer."""
    guesses: List[str] = []
    for guess in ("1134", "1234", answer[:2] + answer[3] + answer[2]):
        if guess != answer and (not guesses or guesses[-1] != guess):
            guesses.append(guess)
    return guesses + [answer]


class DemoGame:
    def __init__(self, session: GameSession, tray: TrayCells, film: Filmstrip,
                 announce: Callable[[str], None]):
        self._session = session
        self._tray = tray
        self._film = film
        self._announce = announce
        self.count = 0  # scored and solving guesses, as the program counts them
        self.stills = {}  # verdict kind ("score", "ng", "ok") -> the cells' pixels

    def _press(self, slot: int, button: int) -> None:
        self._film.add(self._tray.grab(), SHOW_PRESS, slot, button)
        self._session.player.click(self._tray.window, slot, button)

    def read_answer(self) -> str:
        probe = self._session.probe
        posted = probe.run("post", str(SPHERE), hex(RIGHT_DOUBLE_CLICK))
        if not posted.ok or not probe.wait("msgbox", 15):
            raise RuntimeError("the answer box did not open")
        answer = probe.run("msgbox").values.get("text", "")
        if len(answer) != 4 or not answer.isdigit() or len(set(answer)) != 4:
            raise RuntimeError(f"the answer box says {answer!r}")
        probe.run("msgbox-ok")
        if not probe.wait("no-msgbox", 15):
            raise RuntimeError("the answer box stayed open")
        return answer

    def show_start(self) -> None:
        self._film.add(self._tray.wait_for(tray_of_guess("1234")), SHOW_START)

    def step_to(self, current: str, wanted: str) -> None:
        """Clicks the digit icons the short way round until the guess reads `wanted`."""
        guess = current
        for slot in range(1, 5):
            while guess[slot - 1] != wanted[slot - 1]:
                up = (int(wanted[slot - 1]) - int(guess[slot - 1])) % 10
                button, step = (LEFT, 1) if up <= 5 else (RIGHT, -1)
                digit = str((int(guess[slot - 1]) + step) % 10)
                guess = guess[:slot - 1] + digit + guess[slot:]
                self._press(slot, button)
                self._session.wait_guess(guess)
                self._film.add(self._tray.wait_for(tray_of_guess(guess)), SHOW_STEP)

    def judge(self, guess: str, answer: str) -> str:
        """Presses the sphere and waits for the verdict; returns its kind."""
        self._press(SPHERE, LEFT)
        if len(set(guess)) < 4:
            kind, shown = "ng", ("blank", "N", "G", "blank", "sphere")
        elif guess == answer:
            self.count += 1
            kind, shown = "ok", ("O", "K", str(self.count // 10 % 10), str(self.count % 10), "sphere")
        else:
            self.count += 1
            strikes, balls = score(guess, answer)
            kind, shown = "score", (str(strikes), "S", str(balls), "B", "sphere")
        pixels = self._tray.wait_for(shown)
        self._announce(f"{guess}: {' '.join(shown[:4])}")
        self._film.add(pixels, SHOW_SOLVED if kind == "ok" else SHOW_VERDICT)
        self.stills[kind] = pixels  # the last of each kind: 2 S 2 B shows both counts
        return kind

    def bring_guess_back(self, guess: str) -> None:
        """The press after a verdict shows the guess again."""
        self._press(SPHERE, LEFT)
        self._film.add(self._tray.wait_for(tray_of_guess(guess)), SHOW_STEP)

    def play(self) -> str:
        answer = self.read_answer()
        self._announce(f"the answer box says {answer}")
        self.show_start()
        guess = "1234"
        guesses = plan(answer)
        for number, wanted in enumerate(guesses):
            self.step_to(guess, wanted)
            guess = wanted
            self.judge(guess, answer)
            if number < len(guesses) - 1:
                self.bring_guess_back(guess)
        return answer


def save_stills(game: DemoGame, film: Filmstrip, directory: Path) -> List[Path]:
    written = []
    for kind in ("score", "ng", "ok"):
        path = directory / f"verdict-{kind}.png"
        film.write_still(game.stills[kind], path)
        written.append(path)
    return written
