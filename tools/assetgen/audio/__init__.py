"""Sound effects and songs of The Vevu Zudevur, synthesized from the sources here.

build_all(assets_dir) renders every sound and both songs and writes them as
OGG Vorbis files at the top of assets_dir. The output is the same byte for byte
on every run: all randomness is seeded and the Ogg stream serial is fixed.
"""

import pathlib
import zlib

import numpy as np

from . import encode, music, report, sfx, synth

SFX_QUALITY = 5
LEAD_IN = 128  # samples of silence before each one-shot effect (2.9 ms)
LOOP_QUALITY = 8  # the codec's noise is what is left at a loop's seam: keep it low
SONG_QUALITY = 3  # keeps each song near a megabyte


def _seed(name):
    return zlib.crc32(name.encode("ascii"))


def render_sound(name):
    """Render one catalogue sound to float samples at its final level."""
    for entry_name, builder, loud_db, stereo, loop in sfx.SOUNDS:
        if entry_name == name:
            x = builder(synth.rng(_seed(name)))
            if stereo != (x.ndim == 2):
                raise ValueError(f"{name}: wrong channel count")
            if not loop:
                # a few milliseconds of silence in front give the codec room, so the
                # decoded sound still starts from zero instead of with a step
                lead = np.zeros((LEAD_IN,) + x.shape[1:])
                x = np.concatenate((lead, x))
            return synth.level_to(x, loud_db)
    raise KeyError(name)


def render_song(name):
    for entry_name, builder in music.SONGS:
        if entry_name == name:
            return builder()
    raise KeyError(name)


def sound_names():
    return [entry[0] for entry in sfx.SOUNDS]


def song_names():
    return [entry[0] for entry in music.SONGS]


def build_all(assets_dir: pathlib.Path, report_file=None) -> list:
    """Write every sound effect and both songs into assets_dir; return the paths.

    Afterwards the sound report is written to report_file, by default
    build/assetgen/sound_report.txt beside assets_dir (pass False to skip it).
    """
    assets_dir = pathlib.Path(assets_dir)
    assets_dir.mkdir(parents=True, exist_ok=True)
    written = []
    with encode.temp_dir() as work:
        for name in sound_names():
            x = render_sound(name)
            quality = LOOP_QUALITY if name in sfx.LOOPS else SFX_QUALITY
            written.append(encode.encode(x, assets_dir / f"{name}.ogg", quality, work))
        for name in song_names():
            x = render_song(name)
            written.append(encode.encode(x, assets_dir / f"{name}.ogg", SONG_QUALITY, work))
    if report_file is None:
        report_file = assets_dir.parent / "build" / "assetgen" / "sound_report.txt"
    if report_file:
        report.write_report(written, pathlib.Path(report_file))
    return written


__all__ = ["build_all", "render_sound", "render_song", "sound_names", "song_names"]
