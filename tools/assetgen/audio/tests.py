"""Checks of the sound generator. Run from tools/assetgen:

    /usr/bin/python3 -m unittest audio.tests
"""

import math
import unittest

import numpy as np

from . import music, render_sound, report, sfx, sound_names, synth


class ScoreTest(unittest.TestCase):
    def test_note_names(self):
        self.assertAlmostEqual(music.note_freq("A4"), 440.0)
        self.assertAlmostEqual(music.note_freq("A3"), 220.0)
        self.assertAlmostEqual(music.note_freq("C#4"), music.note_freq("Db4"))
        self.assertAlmostEqual(music.note_freq("Bb1"), 58.27, places=2)
        with self.assertRaises(ValueError):
            music.note_freq("H4")

    def test_holds_rests_accents_and_bars(self):
        # one bar of four quarter notes at 60 bpm lasts 4 s: each step is 1 s
        events = music.parse("D4! - . F4~ | A4 - - -", 2, 4.0, 10.0)
        self.assertEqual(len(events), 3)
        d, f, a = events
        self.assertEqual((d.time, d.dur, d.vel), (10.0, 2.0, 1.0))
        self.assertEqual((f.time, f.dur, f.vel), (13.0, 1.0, 0.55))
        self.assertEqual((a.time, a.dur), (14.0, 4.0))

    def test_hold_carries_over_the_bar_line_and_patterns_repeat(self):
        events = music.parse("C4 - | - -", 1, 2.0, 0.0)
        self.assertEqual(events[0].dur, 2.0)
        events = music.parse("C4 - - - | - - - -", 2, 2.0, 0.0)
        self.assertEqual(len(events), 1)
        self.assertAlmostEqual(events[0].dur, 4.0)
        events = music.parse("x . x .", 3, 1.0, 0.0, drum=True)
        self.assertEqual([e.time for e in events], [0.0, 0.5, 1.0, 1.5, 2.0, 2.5])

    def test_chords_and_octave_shift(self):
        (ev,) = music.parse("D3+F3+A3", 1, 1.0, 0.0)
        self.assertEqual(len(ev.freqs), 3)
        self.assertEqual(music.transpose("D5! - Bb4 C#5", -12), "D4! - Bb3 C#4")
        with self.assertRaises(ValueError):
            music.transpose("D4", 7)

    def test_every_song_bar_is_a_whole_row(self):
        # a row whose token count does not divide the bar evenly is a typo in the score
        for song in (music.INTRO_SONG, music.SADNESS_SONG):
            for name, bars, _level, parts in song["sections"]:
                for track, pattern in parts.items():
                    self.assertIn(track, song["tracks"], f"{name}: unknown track {track}")
                    rows = [r.split() for r in pattern.split("|") if r.split()]
                    self.assertLessEqual(len(rows), bars, f"{name}/{track}: more bars than the section")
                    for row in rows:
                        self.assertIn(len(row), (1, 2, 4, 8, 16), f"{name}/{track}: {row}")


class SoundTest(unittest.TestCase):
    def test_catalogue_names_and_channels(self):
        names = sound_names()
        self.assertEqual(len(names), 24)
        self.assertEqual(len(set(names)), 24)
        stereo = {name for name, _b, _l, st, _loop in sfx.SOUNDS if st}
        self.assertEqual(stereo, {"introExplosion", "introMissileLaunch"})
        self.assertEqual(sfx.LOOPS, {"abductorLoop", "laserLoop", "shieldLoop", "dazozuzoFlying"})

    def test_renders_are_repeatable_and_within_headroom(self):
        for name in ("photon", "eggHatching", "abductorLoop"):
            a = render_sound(name)
            b = render_sound(name)
            self.assertTrue(np.array_equal(a, b), name)
            self.assertLessEqual(np.max(np.abs(a)), synth.db(-1.5) + 1e-9, name)

    def test_one_shots_start_and_end_silent(self):
        for name, _b, _l, _st, loop in sfx.SOUNDS:
            if loop:
                continue
            x = render_sound(name)
            self.assertEqual(np.max(np.abs(x[0])), 0.0, name)
            self.assertLess(np.max(np.abs(x[-1])), 1e-6, name)

    def test_loops_are_seamless_before_encoding(self):
        for name in sfx.LOOPS:
            x = render_sound(name)
            jump, r1, slope, r2 = report.seam(x)
            self.assertLess(r1, 0.25, name)
            self.assertLess(r2, 1.0, name)

    def test_seam_measure_sees_a_broken_loop(self):
        n = synth.samples(1.0)
        good = np.sin(2.0 * math.pi * 5.0 * synth.times(n))
        bad = np.sin(2.0 * math.pi * 5.25 * synth.times(n))
        # across a perfect seam the step is just one more ordinary step
        self.assertLess(report.seam(good)[1], 1.01)
        self.assertLess(report.seam(good)[3], 1.01)
        self.assertGreater(report.seam(bad)[1], 10.0)

    def test_loudness_target_and_peak_cap(self):
        n = synth.samples(0.5)
        x = 0.1 * np.sin(2.0 * math.pi * 440.0 * synth.times(n))
        y = synth.level_to(x, -20.0)
        self.assertAlmostEqual(20.0 * math.log10(synth.loudness(y)), -20.0, places=1)
        y = synth.level_to(x, 0.0)  # asks for more than the cap allows
        self.assertAlmostEqual(np.max(np.abs(y)), synth.db(-1.5), places=6)


if __name__ == "__main__":
    unittest.main()
