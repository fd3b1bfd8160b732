"""Checks of the harness itself, without Wine: a reader that misreads would make every
end-to-end verdict worthless."""

import itertools
import unittest

from harness import pixmaps, polling
from harness.menu import MenuRect, text_rows
from harness.probe import _unescape
from harness.tray import CellMatch, TrayReader, _parse_ppm

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (128, 128, 128)


def map_text(char_at) -> str:
    return "; a comment\n\n" + "\n".join(
        "".join(char_at(x, y) for x in range(32)) for y in range(32)) + "\n"


class PixelMapTest(unittest.TestCase):
    def test_parses_palette_characters_and_skips_comments(self):
        picture = pixmaps.parse_pixel_map(map_text(lambda x, y: "#" if x == y else "."))
        self.assertEqual(picture[0], BLACK)
        self.assertEqual(picture[1], WHITE)
        self.assertEqual(picture[33], BLACK)

    def test_rejects_a_short_map_and_a_foreign_character(self):
        with self.assertRaises(ValueError):
            pixmaps.parse_pixel_map("\n".join(["." * 32] * 31))
        with self.assertRaises(ValueError):
            pixmaps.parse_pixel_map(map_text(lambda x, y: "z" if (x, y) == (5, 5) else "."))
        with self.assertRaises(ValueError):  # a second frame one row short
            pixmaps.parse_icon_frames(map_text(lambda x, y: ".") + "\n".join(["#" * 16] * 15))

    def test_reads_every_frame_by_its_size(self):
        frames = pixmaps.parse_icon_frames(map_text(lambda x, y: ".") + "; the tray's\n" +
                                           "\n".join(["#" * 16] * 16))
        self.assertEqual(sorted(frames), [16, 32])
        self.assertEqual(set(frames[16]), {BLACK})
        self.assertEqual(len(frames[16]), 256)


class ClassifierTest(unittest.TestCase):
    def setUp(self):
        self.one = tuple(BLACK if i % 16 == 7 else WHITE for i in range(256))
        self.blank = tuple(WHITE for _ in range(256))
        self.reader = TrayReader({}, {16: {"1": self.one, "blank": self.blank}})

    def test_an_exact_picture_is_recognised(self):
        self.assertEqual(self.reader._classify(self.one, 16), CellMatch("1", "1", 0))

    def test_a_size_without_frames_recognises_nothing(self):
        self.assertIsNone(self.reader._classify(self.one, 24).symbol)

    def test_one_differing_pixel_makes_the_cell_unknown(self):
        smudged = (GREY,) + self.one[1:]
        match = self.reader._classify(smudged, 16)
        self.assertIsNone(match.symbol)
        self.assertEqual((match.nearest, match.differing), ("1", 1))
        self.assertIn("unknown", str(match))


class PpmTest(unittest.TestCase):
    def test_reads_width_height_and_pixels(self):
        data = b"P6\n2 1\n255\n" + bytes([1, 2, 3, 4, 5, 6])
        self.assertEqual(_parse_ppm(data), (2, 1, bytes([1, 2, 3, 4, 5, 6])))

    def test_rejects_sixteen_bit_pictures(self):
        with self.assertRaises(ValueError):
            _parse_ppm(b"P6\n1 1\n65535\n" + bytes(6))


class FakeScreen(TrayReader):
    """A screen of given rows: 'text' rows have black pixels, 'line' rows grey ones."""

    def __init__(self, rows):
        super().__init__({}, {})
        self._rows = rows

    def capture_area(self, x, y, width, height):
        pixels = bytearray()
        for kind in self._rows:
            colour = {"text": BLACK, "line": GREY}.get(kind, WHITE)
            pixels += bytes(WHITE) * 5 + bytes(colour) * (width - 10) + bytes(WHITE) * 5
        return width, height, bytes(pixels)


class MenuRowsTest(unittest.TestCase):
    def test_finds_text_bands_and_skips_separators(self):
        rows = ["edge"] * 5 + ["text"] * 10 + ["gap"] * 6 + ["line"] + ["gap"] * 6 + ["text"] * 9 + ["edge"] * 5
        found = text_rows(FakeScreen(rows), MenuRect(100, 50, 200, 50 + len(rows)))
        self.assertEqual(found, [(150, 50 + 5 + 4), (150, 50 + 28 + 4)])


class PollingTest(unittest.TestCase):
    def test_wait_until_returns_the_accepted_observation(self):
        counter = itertools.count()
        self.assertEqual(polling.wait_until(lambda: next(counter), lambda n: n >= 3, "three",
                                            timeout=5, interval=0.01), 3)

    def test_wait_until_fails_after_the_timeout(self):
        with self.assertRaises(polling.WaitTimeout):
            polling.wait_until(lambda: 0, lambda n: n == 1, "never", timeout=0.2, interval=0.05)

    def test_wait_stable_fails_for_a_value_that_keeps_changing(self):
        counter = itertools.count()
        with self.assertRaises(polling.WaitTimeout):
            polling.wait_stable(lambda: next(counter), "a counter", settle=0.3, timeout=0.6,
                                interval=0.05)


class ProbeOutputTest(unittest.TestCase):
    def test_unescapes_what_the_probe_escapes(self):
        self.assertEqual(_unescape(r"a\nb\\c\rd"), "a\nb\\c\rd")


if __name__ == "__main__":
    unittest.main()
