"""Waiting on a condition in the tests that drive real programs: look again every 50 ms until it holds or
the time is up, never a fixed sleep."""

import time


def wait_for(what, find, fail, seconds=20):
    """Returns what `find` found first; calls `fail` with a message when nothing was found in time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    return fail(f"no {what} within {seconds} s")
