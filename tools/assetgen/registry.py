"""Painters register the picture they make by its path under assets/."""

import functools

PAINTERS = {}


def picture(path):
    def deco(fn):
        cached = functools.lru_cache(maxsize=None)(fn)
        PAINTERS[path] = cached
        return cached
    return deco
