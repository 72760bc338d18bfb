"""Reads what a running Qt application's windows show, over the accessibility bus.

Qt exposes its widgets to the accessibility bus when QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1: every
widget becomes a node with a role ("label", "push button", "frame"...), a name (a label's
text, a button's caption, a window's title), states and a screen rectangle; text boxes also
give their text. Child windows of a work area are not X windows, so this is the only way to
read them from outside the process.

Each query walks the live tree again: nothing read earlier is trusted, since the application
changes it all the time and this process runs no event loop that would keep a cache up to date.
"""
from dataclasses import dataclass, field
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402  (the version is chosen before the import)

# A call the application does not answer in this many milliseconds fails instead of hanging
# the run: a program that stopped serving its window thread is a finding, not a reason to wait.
CALL_TIMEOUT_MS = 10000
Atspi.set_timeout(CALL_TIMEOUT_MS, CALL_TIMEOUT_MS)

# Nodes below these roles are never needed and make every walk slower: the item lists of
# combo boxes, the entries of closed menus and the rows of a file dialog's folder views.
SKIPPED_ROLES = {"list", "popup menu", "table", "tree table", "tree"}


class QueryError(Exception):
    """A query the application did not answer: it ended, hangs, or a window went away while
    it was being read."""


def _asked(call, *arguments):
    try:
        return call(*arguments)
    except GLib.GError as error:
        raise QueryError(error.message) from None


@dataclass
class Node:
    """One widget as the accessibility bus shows it, read at one moment."""
    role: str
    name: str
    showing: bool
    focused: bool
    editable: bool
    handle: Atspi.Accessible = field(repr=False)
    children: list = field(default_factory=list, repr=False)

    def text(self):
        """The whole text of a text box; None for nodes without text."""
        if "Text" not in _asked(self.handle.get_interfaces):
            return None
        return _asked(Atspi.Text.get_text, self.handle, 0, -1)

    def checked(self):
        """Whether a check box, radio button or toggle button is checked (pressed down)."""
        states = _asked(self.handle.get_state_set)
        return states.contains(Atspi.StateType.CHECKED) or states.contains(
            Atspi.StateType.PRESSED)

    def value(self):
        """(current, maximum) of a slider or scroll bar; None for nodes without a value."""
        if "Value" not in _asked(self.handle.get_interfaces):
            return None
        return (_asked(Atspi.Value.get_current_value, self.handle),
                _asked(Atspi.Value.get_maximum_value, self.handle))

    def extents(self):
        """(x, y, width, height) on the screen."""
        rect = _asked(self.handle.get_extents, Atspi.CoordType.SCREEN)
        return rect.x, rect.y, rect.width, rect.height

    def walk(self):
        """This node and all below it, depth first."""
        yield self
        for child in self.children:
            yield from child.walk()

    def find_all(self, role=None, name=None, showing=None):
        """Every node below (and including) this one with the given role, name and showing
        state (None: any)."""
        return [node for node in self.walk()
                if (role is None or node.role == role) and (name is None or node.name == name)
                and (showing is None or node.showing == showing)]

    def find(self, role=None, name=None, showing=None):
        """The first node find_all finds, or None."""
        found = self.find_all(role, name, showing)
        return found[0] if found else None

    def outline(self, depth=0, limit=400):
        """The tree as indented lines, for failure messages."""
        lines = []
        for node, level in self._levels(depth):
            if len(lines) >= limit:
                lines.append("  " * level + "...")
                break
            marks = ("S" if node.showing else "") + ("F" if node.focused else "")
            lines.append(f"{'  ' * level}{node.role} {node.name!r} [{marks}]")
        return "\n".join(lines)

    def _levels(self, depth):
        yield self, depth
        for child in self.children:
            yield from child._levels(depth + 1)


def _read(handle):
    states = handle.get_state_set()
    node = Node(
        role=handle.get_role_name(),
        name=handle.get_name() or "",
        showing=states.contains(Atspi.StateType.SHOWING),
        focused=states.contains(Atspi.StateType.FOCUSED),
        editable=states.contains(Atspi.StateType.EDITABLE),
        handle=handle,
    )
    if node.role not in SKIPPED_ROLES:
        for index in range(handle.get_child_count()):
            child = handle.get_child_at_index(index)
            if child is not None:
                node.children.append(_read(child))
    return node


class Application:
    """One process's accessible tree."""

    def __init__(self, handle):
        self._handle = handle
        self._handle.set_cache_mask(Atspi.Cache.NONE)

    @staticmethod
    def find(pid, timeout, still_running):
        """Waits until the process with this id has registered on the bus; None when it did
        not within timeout seconds or when still_running() turns false."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and still_running():
            desktop = Atspi.get_desktop(0)
            for index in range(desktop.get_child_count()):
                try:
                    handle = desktop.get_child_at_index(index)
                    if handle is not None and handle.get_process_id() == pid:
                        return Application(handle)
                except GLib.GError:
                    pass  # an application that is just leaving the bus
            time.sleep(0.2)
        return None

    def tree(self):
        """The application's whole tree as it is now; its children are the top-level
        windows (the main window, open dialogs and message boxes)."""
        self._handle.clear_cache()
        return _asked(_read, self._handle)


def value_beside(window, caption):
    """The text of the first label right of a caption label in the same row of a window (a
    form of caption / value rows), or None when there is none.

    The row is found on the screen, not in the widget order: the labels whose rectangles hold
    the caption's vertical centre and start right of the caption's left edge; of those the
    leftmost, and of equally far ones the one whose own centre is nearest."""
    labels = [node for node in window.find_all(role="label") if node.showing]
    anchor = next((node for node in labels if node.name.strip() == caption), None)
    if anchor is None:
        return None
    left, top, _, height = anchor.extents()
    centre = top + height / 2
    candidates = []
    for node in labels:
        x, y, _, node_height = node.extents()
        if x > left and y <= centre < y + node_height:
            candidates.append((x, abs(y + node_height / 2 - centre), node.name))
    return min(candidates)[2] if candidates else None
