"""The base of every end-to-end test: a fresh session per test, the game started in it."""

import subprocess
import unittest
from typing import Sequence

from harness.config import Config
from harness.session import GameSession
from harness.tray import TrayWindow

START_TRAY = ("1", "2", "3", "4", "sphere")


class GameCase(unittest.TestCase):
    config: Config

    @classmethod
    def setUpClass(cls):
        cls.config = Config.from_environment()

    def setUp(self):
        self.session = GameSession(self.config, self.id())
        self.addCleanup(self.session.close)
        self.session.start()
        self.addCleanup(self.session.save_evidence, self.config.artifacts / self.id())

    def start_game(self) -> "tuple[subprocess.Popen, TrayWindow]":
        """Launches the program and waits until its five icons show the start position."""
        program = self.session.launch()
        tray = self.session.find_tray()
        self.session.wait_tray(tray, START_TRAY)
        return program, tray

    def assert_tray(self, tray: TrayWindow, symbols: Sequence[str]) -> None:
        reading = self.session.read_tray(tray)
        self.assertEqual(reading.symbols, tuple(symbols), f"tray reads {reading}")

    def assert_running(self, program: subprocess.Popen) -> None:
        self.assertIsNone(program.poll(), "the program ended")
