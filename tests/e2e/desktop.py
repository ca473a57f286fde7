"""A desktop of its own for driving the real quillet program as a person does.

Each Desktop starts a virtual X server (Xvfb) on a free display, the openbox
window manager on it, an accessibility bus of its own and then quillet with
a private home and settings. Tests press keys and click with xdotool and read
what the program shows through the accessibility bus (AT-SPI) and the files
it writes; they never call into the program's code.

Run a test file alone with

    /usr/bin/python3 tests/e2e/test_x.py --program-dir build-test/bin [Class.test_name]

(or QUILLET_PROGRAM_DIR in the environment instead of --program-dir). A test
file runs itself under dbus-run-session, so that the session bus and the
accessibility bus are its own, unless QUILLET_E2E_OWN_BUS=1 says that the
bus it was started with is already private (as under ctest). It exits with
SKIP_RETURN_CODE when a tool it needs is not installed. The system's Python
is needed: pyatspi is a Debian package. A failed test prints quillet's log
(its standard error) and keeps the desktop's files; QUILLET_E2E_KEEP=1 keeps
them always.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SKIP_RETURN_CODE = 77
# Longest wait for anything the program is expected to show.
TIMEOUT = 20.0
POLL = 0.1

_PROGRAM_DIR = None
_Atspi = None


# ----------------------------------------------------------------------------
# Start-up of a test file


def missing_tools():
    """The names of the tools these tests need that are not installed."""
    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "dbus-run-session")
               if shutil.which(tool) is None]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        missing.append("at-spi-bus-launcher (at-spi2-core)")
    # Looked for without importing it: importing connects to an
    # accessibility bus, which must be this desktop's own.
    import importlib.util
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        found = importlib.util.find_spec("pyatspi") is not None
    except Exception:  # no gi, or no Atspi typelib
        found = False
    if not found:
        missing.append("pyatspi (python3-pyatspi, for %s)" % sys.executable)
    return missing


def main():
    """Runs the unittest tests of the calling file.

    Takes --program-dir DIR (else QUILLET_PROGRAM_DIR) out of the arguments,
    skips when tools are missing and starts a private session bus when none
    was made for this run.
    """
    global _PROGRAM_DIR
    argv = list(sys.argv)
    program_dir = os.environ.get("QUILLET_PROGRAM_DIR")
    if "--program-dir" in argv:
        at = argv.index("--program-dir")
        if at + 1 >= len(argv):
            sys.exit("--program-dir needs a directory")
        program_dir = argv[at + 1]
        del argv[at:at + 2]
    missing = missing_tools()
    if missing:
        print("SKIPPED: not installed: " + ", ".join(missing))
        sys.exit(SKIP_RETURN_CODE)
    if not program_dir:
        sys.exit("say where quillet is: --program-dir DIR or QUILLET_PROGRAM_DIR")
    program_dir = os.path.abspath(program_dir)
    # A session bus of our own, so that the accessibility bus and what it
    # lists belong to this run only.
    if os.environ.get("QUILLET_E2E_OWN_BUS") != "1":
        env = dict(os.environ, QUILLET_PROGRAM_DIR=program_dir, QUILLET_E2E_OWN_BUS="1")
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable] + argv, env)
    _PROGRAM_DIR = program_dir
    unittest.main(argv=argv, verbosity=2, warnings="ignore")


def program_dir():
    return _PROGRAM_DIR or os.path.abspath(os.environ.get("QUILLET_PROGRAM_DIR", "."))


# ----------------------------------------------------------------------------
# AT-SPI reading


def atspi():
    """The Atspi module, once the accessibility bus is up."""
    global _Atspi
    if _Atspi is None:
        import importlib
        importlib.import_module("pyatspi")  # sets Atspi up for this process
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        _Atspi = Atspi
    return _Atspi


def _pump():
    """Lets the library take in the events that have arrived."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    for _ in range(50):
        if not context.iteration(False):
            break


def clean(text):
    """A menu or button text as read: mnemonic marks taken out, the
    accelerator after a tab dropped, blanks trimmed."""
    if text is None:
        return ""
    text = text.split("\t")[0]
    text = text.replace("&&", "\0").replace("&", "").replace("\0", "&")
    return text.strip()


def name(acc):
    try:
        return acc.get_name() or ""
    except Exception:
        return ""


def role(acc):
    try:
        return acc.get_role_name() or ""
    except Exception:
        return ""


def children(acc):
    result = []
    try:
        count = acc.get_child_count()
    except Exception:
        return result
    for i in range(count):
        try:
            child = acc.get_child_at_index(i)
        except Exception:
            child = None
        if child is not None:
            result.append(child)
    return result


def has_state(acc, state_name):
    """Whether the accessible has the state, e.g. "enabled", "sensitive",
    "checked", "showing", "active", "focused"."""
    Atspi = atspi()
    state = getattr(Atspi.StateType, state_name.upper())
    try:
        return acc.get_state_set().contains(state)
    except Exception:
        return False


def states(acc):
    try:
        state_set = acc.get_state_set()
    except Exception:
        return []
    return [s.value_nick for s in state_set.get_states()] if state_set else []


def is_enabled(acc):
    return has_state(acc, "enabled") and has_state(acc, "sensitive")


def has_text(acc):
    try:
        return "Text" in acc.get_interfaces()
    except Exception:
        return False


def text_of(acc):
    """The whole text of an accessible with the Text interface, else ""."""
    Atspi = atspi()
    try:
        if "Text" not in acc.get_interfaces():
            return ""
        return Atspi.Text.get_text(acc, 0, -1) or ""
    except Exception:
        return ""


def extents(acc):
    """The accessible's rectangle on the screen: (x, y, width, height)."""
    Atspi = atspi()
    rect = Atspi.Component.get_extents(acc, Atspi.CoordType.SCREEN)
    return rect.x, rect.y, rect.width, rect.height


def centre(acc):
    x, y, w, h = extents(acc)
    return x + w // 2, y + h // 2


def text_range_extents(acc, start, end):
    """The screen rectangle of characters start..end of a text accessible."""
    Atspi = atspi()
    rect = Atspi.Text.get_range_extents(acc, start, end, Atspi.CoordType.SCREEN)
    if rect.width <= 0 or rect.height <= 0:
        rect = Atspi.Text.get_character_extents(acc, start, Atspi.CoordType.SCREEN)
    return rect.x, rect.y, rect.width, rect.height


def _menus(acc):
    return role(acc) == "menu bar"


def walk(root, max_depth=40, prune=None):
    """The accessible and everything below it, depth first; below an
    accessible for which prune(accessible) is true it does not look."""
    stack = [(root, 0)]
    while stack:
        acc, depth = stack.pop()
        yield acc
        if depth < max_depth and not (prune is not None and acc is not root and prune(acc)):
            stack.extend((child, depth + 1) for child in reversed(children(acc)))


def dump(root, max_depth=12, limit=600):
    """The subtree as indented text: role, name, a few states and a short
    text, for messages of failed tests."""
    lines = []

    def visit(acc, depth):
        if len(lines) >= limit:
            return
        shown = [s for s in states(acc)
                 if s in ("active", "focused", "checked", "showing", "modal")]
        if not is_enabled(acc):
            shown.append("DISABLED")
        line = "%s%s %r" % ("  " * depth, role(acc), name(acc))
        if shown:
            line += " [" + ",".join(shown) + "]"
        text = text_of(acc)
        if text and text != name(acc):
            line += " text=%r" % (text[:120] + ("..." if len(text) > 120 else ""))
        lines.append(line)
        if depth < max_depth:
            for child in children(acc):
                visit(child, depth + 1)

    visit(root, 0)
    if len(lines) >= limit:
        lines.append("... (cut at %d lines)" % limit)
    return "\n".join(lines)


def matches(acc, role_name=None, name_is=None, name_re=None, pred=None):
    if role_name is not None:
        roles = (role_name,) if isinstance(role_name, str) else tuple(role_name)
        if role(acc) not in roles:
            return False
    if name_is is not None and clean(name(acc)) != name_is:
        return False
    if name_re is not None and not re.search(name_re, name(acc)):
        return False
    if pred is not None and not pred(acc):
        return False
    return True


def find_all(root, role_name=None, name_is=None, name_re=None, pred=None, max_depth=40):
    return [acc for acc in walk(root, max_depth)
            if matches(acc, role_name, name_is, name_re, pred)]


def wait_until(condition, what, timeout=TIMEOUT, context=None):
    """Polls condition() until it returns something true and returns that;
    fails after timeout with what was awaited and, when given, context()
    (e.g. a dump of the subtree that was searched)."""
    end = time.monotonic() + timeout
    last_error = None
    while True:
        _pump()
        try:
            result = condition()
            if result:
                return result
        except Exception as error:  # an accessible gone while being read
            last_error = error
        if time.monotonic() >= end:
            break
        time.sleep(POLL)
    message = "%s: not seen within %.0f s" % (what, timeout)
    if last_error is not None:
        message += " (last error: %r)" % (last_error,)
    if context is not None:
        try:
            message += "\n" + context()
        except Exception as error:
            message += "\n(could not describe the state: %r)" % (error,)
    raise AssertionError(message)


def wait_find(root, role_name=None, name_is=None, name_re=None, pred=None, timeout=TIMEOUT,
              what=None, max_depth=40):
    """The first accessible under root that matches, once there is one."""
    if what is None:
        what = "accessible role=%s name=%s" % (role_name, name_is if name_is is not None else name_re)

    def look():
        found = find_all(root, role_name, name_is, name_re, pred, max_depth)
        return found[0] if found else None

    return wait_until(look, what, timeout,
                      context=lambda: "searched under:\n" + dump(root, max_depth=max_depth))


# ----------------------------------------------------------------------------
# The desktop


class Desktop:
    """A private X display with a window manager and an accessibility bus,
    on which quillet runs; a context manager that ends all it started."""

    def __init__(self, width=1280, height=1024):
        self.size = "%dx%dx24" % (width, height)
        self.work = tempfile.mkdtemp(prefix="quillet-e2e-")
        self.home = os.path.join(self.work, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.state = os.path.join(self.home, ".local", "state")
        self.cache = os.path.join(self.home, ".cache")
        self.runtime = os.path.join(self.work, "run")
        for folder in (self.config, self.data, self.state, self.cache):
            os.makedirs(folder, exist_ok=True)
        os.makedirs(self.runtime, mode=0o700, exist_ok=True)
        self.display = None
        self._processes = []  # (what, Popen), ended in reverse order
        self.program = None
        self.program_log = os.path.join(self.work, "quillet.log")
        self.starts = 0
        self.app = None
        self.failed = False
        self.keep = os.environ.get("QUILLET_E2E_KEEP") == "1"

    # -- life cycle --------------------------------------------------------

    def __enter__(self):
        try:
            self._start_display()
            self._start_window_manager()
            self._start_accessibility_bus()
            self.write_settings({"Java%20Files": {"Associate": "0"}})
        except BaseException:
            self.close(failed=True)
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        self.close(failed=exc_type is not None)
        return False

    def _spawn(self, what, argv, env=None, log=None, **kwargs):
        out = open(log, "ab") if log else subprocess.DEVNULL
        try:
            process = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                       stderr=out if log else subprocess.DEVNULL,
                                       start_new_session=True, **kwargs)
        finally:
            if log:
                out.close()
        self._processes.append((what, process))
        return process

    def _start_display(self):
        read_end, write_end = os.pipe()
        try:
            self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.size,
                                 "-nolisten", "tcp", "-noreset"],
                        log=os.path.join(self.work, "Xvfb.log"), pass_fds=(write_end,))
        finally:
            os.close(write_end)
        number = b""
        end = time.monotonic() + 30
        os.set_blocking(read_end, False)
        while time.monotonic() < end and not number.endswith(b"\n"):
            try:
                chunk = os.read(read_end, 64)
            except BlockingIOError:
                time.sleep(0.05)
                continue
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise AssertionError("Xvfb reported no display:\n" + self._read(os.path.join(self.work, "Xvfb.log")))
        self.display = ":" + number.decode().strip()

    def _base_env(self):
        env = dict(os.environ)
        for variable in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE",
                         "SESSION_MANAGER", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS"):
            env.pop(variable, None)
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data,
            "XDG_STATE_HOME": self.state,
            "XDG_CACHE_HOME": self.cache,
            "XDG_RUNTIME_DIR": self.runtime,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        return env

    def _start_window_manager(self):
        ready = os.path.join(self.work, "openbox.ready")
        self._spawn("openbox", ["openbox", "--sm-disable", "--startup", "touch " + ready],
                    env=self._base_env(), log=os.path.join(self.work, "openbox.log"))
        wait_until(lambda: os.path.exists(ready), "openbox on " + self.display, timeout=TIMEOUT,
                   context=lambda: self._read(os.path.join(self.work, "openbox.log")))

    @staticmethod
    def _session_call(destination, path, interface, method, parameters=None):
        """Calls a method on the session bus; the reply's values, or raises."""
        from gi.repository import Gio
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        reply = bus.call_sync(destination, path, interface, method, parameters, None,
                              Gio.DBusCallFlags.NONE, 10000, None)
        return reply.unpack() if reply is not None else ()

    def _start_accessibility_bus(self):
        # The session bus starts the launcher of the accessibility bus when
        # it is first asked for its address. The launcher puts the bus's
        # socket under XDG_RUNTIME_DIR, which is made this desktop's own
        # first, so that desktops running side by side never share a bus.
        from gi.repository import GLib
        self._session_call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "UpdateActivationEnvironment",
                           GLib.Variant("(a{ss})", ({"XDG_RUNTIME_DIR": self.runtime,
                                                     "DISPLAY": self.display},)))
        replies = []

        def bus_address():
            address = self._session_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress")[0]
            replies.append(address)
            return address.startswith("unix:")

        wait_until(bus_address, "the accessibility bus", timeout=TIMEOUT,
                   context=lambda: "the last answer: %r" % (replies[-1] if replies else None))
        if self.runtime not in replies[-1]:
            sys.stderr.write("note: an accessibility bus that was running already is used: %s\n" % replies[-1])
        # Programs that ask whether assistive technology runs are told so.
        self._session_call("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                           GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))))
        os.environ["DISPLAY"] = self.display
        self._listen()

    def _listen(self):
        """Keeps the events that tell of popup menus and focus. A popup menu
        is no child of the application in Qt's tree (Qt leaves popup windows
        out), so it is found, as a screen reader finds it, by the event that
        says it is showing."""
        Atspi = atspi()
        self._events = []

        def record(event):
            self._events.append((time.monotonic(), event.type, event.source, event.detail1))
            del self._events[:-400]

        self._listener = Atspi.EventListener.new(record)
        for kind in ("object:state-changed:showing", "focus:"):
            self._listener.register(kind)

    def write_settings(self, sections):
        """Adds values to quillet's settings file before it starts:
        {"Section": {"Key": "value"}}, section names as QSettings writes
        them (a blank is %20)."""
        folder = os.path.join(self.config, "Tarrow Samples")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "Quillet.conf")
        existing = {}
        order = []
        current = None
        if os.path.exists(path):
            for line in self._read(path).splitlines():
                match = re.match(r"^\[(.*)\]$", line)
                if match:
                    current = match.group(1)
                    existing.setdefault(current, {})
                    order.append(current)
                elif "=" in line and current is not None:
                    key, value = line.split("=", 1)
                    existing[current][key] = value
        for section, values in sections.items():
            if section not in existing:
                existing[section] = {}
                order.append(section)
            existing[section].update(values)
        with open(path, "w") as out:
            for section in order:
                out.write("[%s]\n" % section)
                for key, value in existing[section].items():
                    out.write("%s=%s\n" % (key, value))
                out.write("\n")

    def start_program(self, *arguments, cwd=None):
        """Starts quillet on the files given and waits for its main window
        and for it on the accessibility bus; returns the application."""
        path = os.path.join(program_dir(), "quillet")
        if not os.access(path, os.X_OK):
            raise AssertionError("no program at %s (give --program-dir or QUILLET_PROGRAM_DIR)" % path)
        env = self._base_env()
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            # Leak reports at the end of a killed run say nothing here.
            "ASAN_OPTIONS": "detect_leaks=0:abort_on_error=0",
            "UBSAN_OPTIONS": "print_stacktrace=1",
        })
        self.starts += 1
        self.program_log = os.path.join(self.work, "quillet-%d.log" % self.starts)
        with open(self.program_log, "ab") as log:
            log.write(("==== quillet %s\n" % " ".join(arguments)).encode())
        del self._events[:]
        self.program = self._spawn("quillet", [path] + list(arguments), env=env, log=self.program_log,
                                   cwd=cwd or self.work)
        self.app = wait_until(self._find_app, "quillet on the accessibility bus", timeout=TIMEOUT * 2,
                              context=self._startup_context)
        # Read every value fresh: the library's cache of a busy program's
        # tree lags behind it.
        try:
            self.app.set_cache_mask(atspi().Cache.NONE)
        except Exception:
            pass
        self.main_window = wait_until(
            lambda: self._main_frame(), "quillet's main window on the accessibility bus",
            context=lambda: dump(self.app, max_depth=2))
        self.window_id = self.wait_window(r"Quillet", timeout=TIMEOUT)
        self.activate(self.window_id)
        return self.app

    def _startup_context(self):
        lines = []
        if self.program is not None and self.program.poll() is not None:
            lines.append("quillet ended with status %s" % self.program.returncode)
        desktop = atspi().get_desktop(0)
        lines.append("applications on the bus: %r" % [name(a) for a in children(desktop)])
        lines.append("quillet's log:\n" + self._read(self.program_log))
        return "\n".join(lines)

    def _find_app(self):
        if self.program.poll() is not None:
            raise AssertionError("quillet ended with status %s before it showed:\n%s"
                                 % (self.program.returncode, self._read(self.program_log)))
        desktop = atspi().get_desktop(0)
        try:
            desktop.clear_cache()
        except Exception:
            pass
        for app in children(desktop):
            try:
                if app.get_process_id() == self.program.pid:
                    return app
            except Exception:
                continue
        return None

    def _main_frame(self):
        for child in children(self.app):
            if role(child) == "frame" and "Quillet" in name(child):
                return child
        return None

    def stop_program(self, failed=False):
        """Ends quillet (and what it started in its own group). Prints its
        log when failed; fails when it reported a sanitizer error."""
        if self.program is None:
            return
        self._end(self.program)
        self._processes = [(w, p) for (w, p) in self._processes if p is not self.program]
        self.program = None
        self.app = None
        log = self._read(self.program_log)
        sanitizer = re.search(r"ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer", log)
        if failed or sanitizer:
            self.failed = True
            sys.stderr.write("\n---- quillet's log (%s) ----\n%s\n---- end of log ----\n"
                             % (self.program_log, log[-20000:]))
        if sanitizer and not failed:
            raise AssertionError("quillet reported a sanitizer error; its log is above")

    def quit_program(self, timeout=TIMEOUT):
        """Quits quillet with File > Exit, as a person does, so that it
        keeps its settings; fails when it does not end."""
        self.activate(self.window_id)
        self.key("alt+f")
        self.key("x")
        wait_until(lambda: self.program.poll() is not None, "quillet ending after File > Exit", timeout,
                   context=self._window_list)
        self.stop_program()

    def program_log_text(self):
        return self._read(self.program_log)

    def close(self, failed=False):
        """Ends everything the desktop started."""
        try:
            self.stop_program(failed)
        finally:
            for what, process in reversed(self._processes):
                self._end(process)
            self._processes = []
            if self.failed or failed:
                sys.stderr.write("the desktop's files are kept in %s\n" % self.work)
            elif not self.keep:
                shutil.rmtree(self.work, ignore_errors=True)

    @staticmethod
    def _end(process):
        if process.poll() is not None:
            return
        try:
            os.killpg(process.pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait(timeout=5)

    @staticmethod
    def _read(path):
        try:
            with open(path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    # -- X input -----------------------------------------------------------

    def xdo(self, *args, check=True):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                                env=dict(os.environ, DISPLAY=self.display), timeout=30)
        if check and result.returncode != 0 and "search" not in args:
            raise AssertionError("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr))
        return result.stdout

    def key(self, *keys, delay=60):
        """Presses keys as xdotool names them ("ctrl+g", "Return", "F7")."""
        self.xdo("key", "--delay", delay, *keys)

    def type(self, text, delay=30):
        self.xdo("type", "--delay", delay, text)

    def click(self, x, y, button=1, repeat=1):
        self.xdo("mousemove", "--sync", int(x), int(y))
        time.sleep(0.05)
        self.xdo("click", "--repeat", repeat, "--delay", 60, button)

    def click_acc(self, acc, button=1, repeat=1):
        x, y = centre(acc)
        self.click(x, y, button, repeat)

    def windows(self, title_re):
        out = self.xdo("search", "--onlyvisible", "--name", title_re, check=False)
        return [w for w in out.split() if w]

    def wait_window(self, title_re, timeout=TIMEOUT):
        """The id of the first visible window whose title matches."""
        found = wait_until(lambda: self.windows(title_re), "a window titled /%s/" % title_re, timeout,
                           context=self._window_list)
        return found[0]

    def wait_window_gone(self, title_re, timeout=10, what=None):
        wait_until(lambda: not self.windows(title_re), what or "window /%s/ closing" % title_re, timeout,
                   context=self._window_list)

    def _window_list(self):
        ids = self.windows(".")
        lines = ["visible windows:"]
        for window in ids:
            lines.append("  %s %r" % (window, self.xdo("getwindowname", window, check=False).strip()))
        active = self.xdo("getactivewindow", check=False).strip()
        lines.append("active: %s" % active)
        return "\n".join(lines)

    def active_window(self):
        return self.xdo("getactivewindow", check=False).strip()

    def activate(self, window):
        """Makes the window the active one (a person clicks on it)."""
        if self.active_window() != window:
            self.xdo("windowactivate", "--sync", window, check=False)
        wait_until(lambda: self.active_window() == window, "window %s active" % window, timeout=5,
                   context=self._window_list)

    def focus_dialog(self, title_re, timeout=TIMEOUT):
        """Waits for a dialog's window and makes sure keys go to it."""
        window = self.wait_window(title_re, timeout)
        self.activate(window)
        return window

    # -- reading quillet -----------------------------------------------------

    def top_levels(self):
        return children(self.app)

    def dialog(self, name_re, timeout=TIMEOUT):
        """The dialog (a top-level window of quillet) whose name matches."""
        return wait_until(
            lambda: next((w for w in self.top_levels()
                          if role(w) in ("dialog", "frame", "window", "file chooser", "alert")
                          and re.search(name_re, name(w))), None),
            "a dialog named /%s/" % name_re, context=lambda: dump(self.app, max_depth=1))

    def wait_popup(self, since, timeout=TIMEOUT, what="a popup menu"):
        """The popup menu that showed after the time since (time.monotonic())
        and is still showing."""
        def look():
            for at, kind, source, detail in reversed(self._events):
                if (at >= since and kind == "object:state-changed:showing" and detail == 1
                        and role(source) in ("popup menu", "menu") and has_state(source, "showing")):
                    return source
            return None

        def context():
            seen = ["%s%s %s %r %s" % ("" if at >= since else "(before) ", kind, role(source), name(source),
                                       detail)
                    for at, kind, source, detail in self._events[-20:]]
            return "the last events:\n  " + "\n  ".join(seen or ["(none)"])

        return wait_until(look, what, timeout, context=context)

    def popup_entries(self, popup):
        """[(text, enabled)] of a popup menu, separators left out."""
        return [(clean(name(c)), is_enabled(c)) for c in children(popup)
                if role(c) != "separator" and clean(name(c))]

    def find(self, role_name=None, name_is=None, name_re=None, pred=None, root=None, timeout=TIMEOUT,
             what=None):
        return wait_find(root or self.main_window, role_name, name_is, name_re, pred, timeout, what)

    def menu_bar(self):
        return self.find("menu bar", root=self.main_window, what="the main window's menu bar",
                         pred=lambda a: has_state(a, "showing"))

    def menus(self):
        """The menu bar's menus: {title: accessible of the menu title}."""
        return {clean(name(m)): m for m in children(self.menu_bar())}

    def menu_entries(self, menu):
        """The entries of a menu as [(text, accessible)], separators left
        out. Qt lists a menu's entries below its title (in a nameless popup
        menu) without opening it."""
        def entries_of(acc):
            items = []
            for child in children(acc):
                if role(child) in ("menu", "popup menu") and not clean(name(child)) and children(child):
                    # The menu itself, below its title.
                    items.extend(entries_of(child))
                elif role(child) == "separator" or not clean(name(child)):
                    continue
                else:
                    items.append((clean(name(child)), child))
            return items

        return entries_of(menu)

    def submenu_entries(self, item):
        entries = []
        for child in children(item):
            if role(child) in ("menu", "popup menu"):
                entries.extend((clean(name(c)), c) for c in children(child)
                               if role(c) != "separator" and clean(name(c)))
            elif role(child) != "separator" and clean(name(child)):
                entries.append((clean(name(child)), child))
        return entries

    def status_line(self):
        """The line number that the shown child window's status pane says
        ("Line: N"), as an int; None when no pane says one."""
        for acc in walk(self.main_window, prune=_menus):
            if role(acc) in ("label", "status bar", "text") and has_state(acc, "showing"):
                for text in (name(acc), text_of(acc)):
                    match = re.match(r"^\s*Line:\s*(\d+)\s*$", text or "")
                    if match:
                        return int(match.group(1))
        return None

    def wait_status_line(self, expected, timeout=TIMEOUT):
        wait_until(lambda: self.status_line() == expected, "status pane saying Line: %d" % expected,
                   timeout, context=lambda: "the status panes read: %r\n" % (self.status_panes(),))

    def status_panes(self):
        found = []
        for acc in walk(self.main_window, prune=_menus):
            if role(acc) == "status bar":
                for pane in walk(acc):
                    if pane is not acc:
                        found.append((role(pane), name(pane), text_of(pane),
                                      "showing" if has_state(pane, "showing") else "hidden"))
        return found

    def editors(self):
        """The showing edit views (editable multi-line texts) of child windows."""
        return [acc for acc in walk(self.main_window, prune=_menus)
                if role(acc) == "text" and has_state(acc, "showing") and has_state(acc, "multi_line")
                and name(acc) != "Output Window"]

    def console_views(self):
        return [acc for acc in walk(self.main_window, prune=_menus) if role(acc) == "terminal"]

    def wait_console_text(self, pattern, timeout=TIMEOUT):
        """The console view that shows pattern (a regex) and its text."""
        def look():
            for view in self.console_views():
                text = text_of(view)
                # The console's text is its screen: a long line is cut into
                # rows with a line end after each (a blank at a row's end is
                # dropped), so the rows are also searched joined, without
                # and with a blank between them.
                if any(re.search(pattern, t) for t in
                       (text, text.replace("\n", ""), text.replace("\n", " "))):
                    return view, text
            return None

        return wait_until(look, "console text matching /%s/" % pattern, timeout,
                          context=lambda: "console views:\n" + "\n".join(
                              "---- %r %s\n%s" % (name(v), states(v), text_of(v)) for v in self.console_views())
                          or "(no console view)")

    def wait_output_text(self, pattern, timeout=TIMEOUT):
        """The output window's accessible and text, once its text matches."""
        def look():
            acc = next((a for a in walk(self.main_window, prune=_menus)
                        if name(a) == "Output Window" and has_text(a)), None)
            if acc is None:
                return None
            text = text_of(acc)
            return (acc, text) if re.search(pattern, text) else None

        def context():
            acc = next((a for a in walk(self.main_window, prune=_menus)
                        if name(a) == "Output Window" and has_text(a)), None)
            if acc is None:
                return "no output window text; the main window:\n" + dump(self.main_window, max_depth=6)
            return "the output window reads:\n" + text_of(acc)

        return wait_until(look, "output window text matching /%s/" % pattern, timeout, context=context)

    # -- doing what a person does ------------------------------------------

    def message_pane(self):
        """The text of the main status bar's message pane, its description."""
        bar = self.find("status bar", name_is="Status bar", what="the main window's status bar")
        return clean(bar.description or "")

    def wait_message(self, expected, what, timeout=90):
        """Waits until the message pane reads expected."""
        wait_until(lambda: self.message_pane() == expected, what, timeout=timeout,
                   context=lambda: "the message pane reads %r" % self.message_pane())

    def completion_list(self):
        """The showing list of Complete Word, or None."""
        for window in self.top_levels():
            for acc in walk(window, max_depth=4):
                if role(acc) == "list" and name(acc) == "Completions" and has_state(acc, "showing"):
                    return acc
        return None

    def editor(self):
        """The edit view of the active child window."""
        return wait_until(lambda: next(iter(self.editors()), None), "the edit view",
                          context=lambda: dump(self.main_window, max_depth=8))

    def click_into_text(self):
        """Clicks into the middle of the edit view, as a person does before
        typing; the caret moves there."""
        self.activate(self.window_id)
        self.click_acc(self.editor())

    def go_to_line(self, line):
        """Goes to the line with Ctrl+G and the Goto Line dialog; keys must
        reach the edit view."""
        self.key("ctrl+g")
        self.focus_dialog(r"^Goto Line")
        self.type(str(line))
        self.key("Return")
        self.wait_window_gone(r"^Goto Line")
        self.wait_status_line(line)

    def tool_question(self):
        """The shown message box that asks for the Java tools, or None."""
        for window in self.top_levels():
            if has_state(window, "showing") and any(
                    "not defined" in name(a) or "not defined" in text_of(a)
                    for a in walk(window, max_depth=6) if role(a) == "label"):
                return window
        return None

    def answer_tool_question(self):
        """A new user's first Build command asks for the Java tools: Yes,
        then Detect in the Tools dialog, then OK."""
        question = self.tool_question()
        self.focus_dialog("^%s$" % re.escape(name(question)))
        self.key("Return")  # Yes
        tools = self.dialog(r"^Tools Directories$")
        self.focus_dialog(r"^Tools Directories$")
        detect = self.find("push button", name_is="Detect", root=tools)
        self.click_acc(detect)
        wait_until(lambda: any(text_of(f).endswith("/javac") for f in find_all(tools, "text")),
                   "the Java compiler filled in by Detect", context=lambda: dump(tools))
        self.click_acc(self.find("push button", name_is="OK", root=tools))
        self.wait_window_gone(r"^Tools Directories$")

    def accept_tool_dialog(self, title_re, timeout=TIMEOUT):
        """Waits for a Build command's dialog and accepts what it proposes
        with Return; a first question about the Java tools is answered on
        the way."""
        def shown():
            for window in self.top_levels():
                if has_state(window, "showing") and re.search(title_re, name(window)):
                    return "dialog"
            return "question" if self.tool_question() is not None else None

        what = wait_until(shown, "the dialog /%s/" % title_re, timeout,
                          context=lambda: dump(self.app, max_depth=1))
        if what == "question":
            self.answer_tool_question()
            wait_until(shown, "the dialog /%s/ after the Tools settings" % title_re, timeout,
                       context=lambda: dump(self.app, max_depth=1))
        self.focus_dialog(title_re)
        self.key("Return")
        self.wait_window_gone(title_re)

    def console_type(self, view, text):
        """Types a line into a console view; the console whose program
        started last has the focus without a click."""
        wait_until(lambda: has_state(view, "focused"), "the console view focused", timeout=5,
                   context=lambda: dump(view))
        self.type(text)
        self.key("Return")


class DesktopTest(unittest.TestCase):
    """Test cases that share one Desktop (self.desk) and start quillet on it
    themselves; each test's quillet is ended after it, its log printed
    when the test failed."""

    desk = None

    @classmethod
    def setUpClass(cls):
        cls.desk = Desktop()
        cls.desk.__enter__()

    @classmethod
    def tearDownClass(cls):
        if cls.desk is not None:
            cls.desk.close()
            cls.desk = None

    def tearDown(self):
        self.desk.stop_program(failed=self._failed())

    def _failed(self):
        """Whether this test has failed so far (read before its end)."""
        outcome = getattr(self, "_outcome", None)
        if outcome is None:
            return False
        for _, error in getattr(outcome, "errors", None) or []:
            if error is not None:
                return True
        result = getattr(outcome, "result", None)
        reported = (getattr(result, "failures", []) or []) + (getattr(result, "errors", []) or [])
        return any(test is self for test, _ in reported)
