#!/usr/bin/python3
"""Reads the running program's accessibility tree over AT-SPI, as a screen reader would: the tab list with its
three tabs, the 42 named day cells of a month, and a press on the stopwatch's start button that starts it.
Argument: the program's process id. Exits non-zero with a message on the first thing that is wrong."""

import os
import re
import sys

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Support"))
import waiting  # noqa: E402

DAY_NAME = re.compile(r"^\d{4}年\d{1,2}月\d{1,2}日 星期[一二三四五六日]( \S+)*( 农历闰?\S+月\S+)?$")


def fail(message):
    sys.exit(f"accessibility-tree: {message}")


def wait_for(what, find, seconds=20):
    return waiting.wait_for(what, find, fail, seconds)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def with_role(app, role, name=None):
    return [n for n in walk(app) if n.getRole() == role and (name is None or n.name == name)]


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names and "press" not in names:
        sys.exit(f"accessibility-tree: {node.name} has no press action ({names})")
    action.doAction(names.index("Press") if "Press" in names else names.index("press"))


def main():
    pid = int(sys.argv[1])
    app = wait_for("application", lambda: application(pid))

    tabs = wait_for("page tabs", lambda: with_role(app, pyatspi.ROLE_PAGE_TAB))
    names = [tab.name for tab in tabs]
    if names != ["时钟", "日历", "计时器"]:
        sys.exit(f"accessibility-tree: tabs {names}")
    if len(with_role(app, pyatspi.ROLE_PAGE_TAB_LIST)) != 1:
        sys.exit("accessibility-tree: no single page tab list")

    press(tabs[1])
    tables = wait_for("month tables", lambda: with_role(app, pyatspi.ROLE_TABLE))
    for table in tables:
        cells = [c for c in table if c is not None and c.getRole() == pyatspi.ROLE_TABLE_CELL]
        if len(cells) != 42:
            sys.exit(f"accessibility-tree: {table.name} has {len(cells)} cells")
        bad = [c.name for c in cells if not DAY_NAME.match(c.name)]
        if bad:
            sys.exit(f"accessibility-tree: {table.name} has cells named {bad[:3]}")
        grid = table.queryTable()
        if grid.nRows * grid.nColumns != 42:
            sys.exit(f"accessibility-tree: {table.name} is {grid.nRows} x {grid.nColumns}")

    for name in ("上个月", "下个月"):
        if len(with_role(app, pyatspi.ROLE_PUSH_BUTTON, name)) != len(tables):
            sys.exit(f"accessibility-tree: no button {name} in each month")
    focused = [n.name for n in tables + [tables[0].parent] if n.getState().contains(pyatspi.STATE_FOCUSED)]
    if len(focused) > 1:
        sys.exit(f"accessibility-tree: {focused} all say they have the focus")

    press(tabs[2])
    start = wait_for("start button", lambda: with_role(app, pyatspi.ROLE_PUSH_BUTTON, "开始"))[0]
    press(start)
    wait_for("running stopwatch", lambda: with_role(app, pyatspi.ROLE_PUSH_BUTTON, "暂停"), 5)
    print(f"accessibility-tree: {len(tables)} months of 42 named days with named paging buttons, 3 tabs, the stopwatch started")


main()
