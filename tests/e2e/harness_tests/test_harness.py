"""Checks of the harness itself, without Wine: a reader that misreads would make every
end-to-end verdict worthless."""

import itertools
import unittest

from harness import polling
from harness.probe import unescape
from harness.tray import TrayReader, parse_icon_frames, parse_ppm

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (128, 128, 128)
DIAGONAL = "; a comment\n\n" + "\n".join("".join("#" if x == y else "." for x in range(32))
                                         for y in range(32)) + "\n"


class ReaderTest(unittest.TestCase):
    def test_pixel_maps_give_every_frame_by_its_size_and_bad_ones_are_refused(self):
        frames = parse_icon_frames(DIAGONAL + "; the tray's\n" + "\n".join(["#" * 16] * 16))
        self.assertEqual((frames[32][:2], frames[32][33], set(frames[16])),
                         ((BLACK, WHITE), BLACK, {BLACK}))
        for bad in (DIAGONAL[:-34], DIAGONAL.replace(".", "z", 1), "\n".join(["#" * 16] * 16),
                    DIAGONAL + "\n".join(["#" * 16] * 15), DIAGONAL + DIAGONAL):
            with self.subTest(bad=bad[-40:]), self.assertRaises(ValueError):
                parse_icon_frames(bad)

    def test_a_cell_is_an_icon_only_when_every_pixel_matches(self):
        one = tuple(BLACK if i % 16 == 7 else WHITE for i in range(256))
        references = {"1": one, "blank": (WHITE,) * 256}
        self.assertEqual(TrayReader.classify(one, references), ("1", 0))
        self.assertEqual(TrayReader.classify((GREY,) + one[1:], references), ("1", 1))

    def test_ppm_pixels_are_read_whatever_their_bytes_and_sixteen_bits_refused(self):
        pixels = bytes([10, 32, 9, 4, 5, 6])  # whitespace bytes first: not header
        self.assertEqual(parse_ppm(b"P6\n2 1\n255\n" + pixels), (2, 1, pixels))
        with self.assertRaises(ValueError):
            parse_ppm(b"P6\n1 1\n65535\n" + bytes(6))

    def test_menu_rows_are_the_text_bands_and_separators_are_skipped(self):
        kinds = ["edge"] * 5 + ["text"] * 10 + ["gap"] * 6 + ["line"] + ["gap"] * 6 + \
            ["text"] * 9 + ["edge"] * 5
        colour = {"text": BLACK, "line": GREY}
        screen = TrayReader({}, None)
        screen.pixels = lambda rect: [colour.get(kind, WHITE) if 5 <= x < 95 else WHITE
                                      for kind in kinds for x in range(100)]
        self.assertEqual(screen.menu_rows((100, 50, 200, 50 + len(kinds))),
                         [(150, 50 + 5 + 4), (150, 50 + 28 + 4)])


class PollingAndProbeTest(unittest.TestCase):
    def test_waits_return_what_was_accepted_and_fail_after_their_timeout(self):
        counter = itertools.count()
        self.assertEqual(polling.wait_until(lambda: next(counter), lambda n: n >= 3, "three",
                                            timeout=5, interval=0.01), 3)
        with self.assertRaises(polling.WaitTimeout):
            polling.wait_stable(lambda: next(counter), "a counter", settle=0.3, timeout=0.6)
        self.assertEqual(unescape(r"a\nb\\c\rd"), "a\nb\\c\rd")  # what the probe escapes
