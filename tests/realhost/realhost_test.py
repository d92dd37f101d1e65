#!/usr/bin/python3
"""The real-host test: the Windows module in the real host under Wine.

For each architecture given (x64=BUILD_DIR, x86=BUILD_DIR, the cross-build
trees of .ci/windows) it unpacks the host from the host archives into a
temporary folder, installs the distribution zip into Plugins\\vemlo\\, puts the
demo project (settings file, tables, help base) on the Wine drive and the
plug-in options into the Wine registry under the key the host gives its 1.x
plug-ins, starts the host's editor on the demo's main program in tmux and
drives it: the plug-in menu, completion, the parameter hint, F1 help in the
host's help viewer, the procedure list, the formatter and the configuration.
Keys a terminal cannot send (Ctrl+Space, Ctrl+Shift+Space) are put into the
host's console by vemlo-sendkey. Each step's screen goes to the log.

  realhost_test.py x64=build-win64 [x86=build-win]

An architecture whose host cannot run here is reported SKIPPED with the
reason, never as passed. Exit status 1 when a step failed.

Environment: VEMLO_REALHOST (the folder of far-x86.tar.xz and
far-x64.tar.xz, default ../shared/realhost beside the checkout, then
/work/shared/realhost), VEMLO_WINEPREFIX_X64 / VEMLO_WINEPREFIX_X86 (the Wine
prefix, default BUILD_DIR/wine-prefix; made on first use and kept).
"""

import difflib
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 120, 40
CODEPAGE = "cp866"
DEMO_DIR = "VEMLO-DEMO"  # C:\VEMLO-DEMO on the Wine drive

ARCHES = {
    "x64": {"loader": "/usr/lib/wine/wine64", "server": "/usr/lib/wine/wineserver64", "winearch": "win64"},
    "x86": {"loader": "/usr/lib/wine/wine", "server": "/usr/lib/wine/wineserver32", "winearch": "win32"},
}


class StepFailed(Exception):
    pass


def log(text=""):
    print(text, flush=True)


def host_archives():
    for d in (os.environ.get("VEMLO_REALHOST"), os.path.join(os.path.dirname(REPO), "shared", "realhost"),
              "/work/shared/realhost"):
        if d and os.path.isfile(os.path.join(d, "far-x64.tar.xz")):
            return d
    return None


def messages(lng_path):
    """The quoted strings of a language file, from message 0 on."""
    out = []
    with open(lng_path, "rb") as f:
        for raw in f.read().decode(CODEPAGE).splitlines():
            if raw.startswith('"'):
                out.append(raw[1:raw.rfind('"')])
    return out


class Wine:
    """One architecture's Wine: its loader, server and prefix."""

    def __init__(self, arch, prefix):
        a = ARCHES[arch]
        self.loader, self.server = a["loader"], a["server"]
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEARCH=a["winearch"], WINEDEBUG="-all", DISPLAY="",
                        WINELOADER=a["loader"], WINEDLLOVERRIDES="mscoree,mshtml=")
        self.prefix = prefix

    def cannot_run(self):
        if not os.access(self.loader, os.X_OK):
            return "Wine's loader %s is not installed" % self.loader
        try:
            subprocess.run([self.loader, "--version"], env=self.env, capture_output=True, check=True, timeout=30)
        except (OSError, subprocess.SubprocessError) as e:
            return "Wine's loader %s cannot start here (%s)" % (self.loader, e)
        return None

    def run(self, args, timeout=60, check=True):
        r = subprocess.run([self.loader] + args, env=self.env, capture_output=True, timeout=timeout)
        if check and r.returncode != 0:
            raise StepFailed("%s failed (%d): %s" % (" ".join(args), r.returncode,
                                                    r.stderr.decode(errors="replace").strip()))
        return r

    def ensure_prefix(self):
        marker = os.path.join(self.prefix, ".vemlo-ready")
        if os.path.exists(marker):
            return 0.0
        start = time.time()
        shutil.rmtree(self.prefix, ignore_errors=True)
        log("creating the Wine prefix %s" % self.prefix)
        self.run(["wineboot", "--init"], timeout=300)
        subprocess.run([self.server, "-w"], env=self.env, timeout=120)
        open(marker, "w").close()
        return time.time() - start

    def stop(self):
        subprocess.run([self.server, "-k"], env=self.env, capture_output=True)

    def dos(self, path):
        """A POSIX path as Wine's drive Z: shows it."""
        return "Z:" + os.path.abspath(path).replace("/", "\\")


class Screen:
    """The host's console in a tmux session of its own server."""

    def __init__(self, name):
        self.socket = name
        self.session = name

    def tmux(self, *args, check=True):
        return subprocess.run(["tmux", "-L", self.socket] + list(args), capture_output=True, check=check)

    def start(self, command):
        self.tmux("new-session", "-d", "-s", self.session, "-x", str(WIDTH), "-y", str(HEIGHT), command)

    def text(self):
        r = self.tmux("capture-pane", "-p", "-t", self.session, check=False)
        return r.stdout.decode("utf-8", errors="replace")

    def rows(self):
        rows = self.text().split("\n")
        return (rows + [""] * HEIGHT)[:HEIGHT]

    def keys(self, *keys):
        self.tmux("send-keys", "-t", self.session, *keys)

    def type(self, text):
        self.tmux("send-keys", "-t", self.session, "-l", text)

    def stop(self):
        self.tmux("kill-server", check=False)


def box(rows, title):
    """The inside rows of the framed window whose top edge holds `title`:
    each row's text between the frame's sides, separators as "-"; None
    until the window is drawn down to its bottom edge."""
    for r, row in enumerate(rows):
        left = row.find("╔")
        if left < 0 or title not in row[left:]:
            continue
        right = row.find("╗", left)
        inside = []
        for below in rows[r + 1:]:
            edge = below[left:left + 1]
            if edge == "╚":
                return inside
            if edge == "╟":
                inside.append("-")
            elif edge == "║":
                inside.append(below[left + 1:right].strip())
            else:
                return None
        return None
    return None


def help_shows(rows, title, texts):
    """Whether the host's help window shows the topic `title` as its fixed
    header and each of `texts` in its lines."""
    inside = box(rows, "Help")
    if not inside:
        return False
    header = inside[0].split()
    return header[:1] == [title] and header[-1:] == ["Function"] and all(
        any(t in line for line in inside[1:]) for t in texts)


class Run:
    """One run of the host with the module, step by step."""

    def __init__(self, arch, build, archives, wine):
        self.arch, self.build, self.wine = arch, build, wine
        self.archives = archives
        self.tmp = tempfile.mkdtemp(prefix="vemlo-realhost-%s-" % arch)
        self.user = "vemlo-rh-%d" % os.getpid()
        self.key = "HKCU\\Software\\Far Manager\\Users\\%s\\Plugins\\VEM-LO" % self.user
        self.screen = Screen("vemlo-rh-%d-%s" % (os.getpid(), arch))
        self.demo = os.path.join(wine.prefix, "drive_c", DEMO_DIR)
        self.steps = 0

    # ---- waiting and reporting ----
    def show(self, title):
        log("---- screen: %s" % title)
        for row in self.screen.rows():
            log("| " + row.rstrip())
        log("----")

    def wait(self, what, test, timeout=15.0):
        end = time.time() + timeout
        while True:
            rows = self.screen.rows()
            result = test(rows)
            if result:
                return result
            if time.time() > end:
                self.show("while waiting for %s" % what)
                raise StepFailed("timed out waiting for %s" % what)
            time.sleep(0.1)

    def wait_text(self, text, timeout=15.0):
        return self.wait('"%s"' % text, lambda rows: any(text in r for r in rows), timeout)

    def wait_gone(self, text, timeout=15.0):
        return self.wait('"%s" to go' % text, lambda rows: not any(text in r for r in rows), timeout)

    def expect(self, what, test, timeout=10.0):
        """A check on the screen: `test` must come true within the timeout
        (the host may still be drawing); the screen is shown when it does not."""
        end = time.time() + timeout
        while not test(self.screen.rows()):
            if time.time() > end:
                self.show("check failed")
                raise StepFailed(what)
            time.sleep(0.1)
        log("  ok    %s" % what)

    def check(self, ok, what):
        if not ok:
            self.show("check failed")
            raise StepFailed(what)
        log("  ok    %s" % what)

    def step(self, title):
        self.steps += 1
        log("== %s step %d: %s" % (self.arch, self.steps, title))

    def inject(self, *keys):
        """Keys into the host's console, as the console would report them."""
        self.wine.run([os.path.join(self.build, "win", "vemlo-sendkey.exe"), "--process", self.far_exe] + list(keys))

    def cursor_line(self, rows=None):
        """The editor's cursor line (1-based) from its status line."""
        m = re.search(r"Ln\s+(\d+)/", (rows or self.screen.rows())[0])
        return int(m.group(1)) if m else None

    def saved(self):
        """The lines of MAIN.PRG on the Wine drive; none while the host is
        replacing the file by its saved copy."""
        try:
            with open(os.path.join(self.demo, "MAIN.PRG"), "rb") as f:
                return f.read().decode(CODEPAGE).split("\r\n")
        except OSError:
            return []

    def saved_line(self, n):
        lines = self.saved()
        return lines[n] if n < len(lines) else None

    # ---- setting up ----
    def install(self):
        subprocess.run(["tar", "-xJf", os.path.join(self.archives, "far-%s.tar.xz" % self.arch), "-C", self.tmp],
                       check=True)
        self.far_dir = os.path.join(self.tmp, "far-%s" % self.arch)
        with zipfile.ZipFile(os.path.join(self.build, "vemlo-%s.zip" % self.arch)) as z:
            z.extractall(os.path.join(self.far_dir, "Plugins"))
        plugin = os.path.join(self.far_dir, "Plugins", "vemlo")
        self.check(sorted(os.listdir(plugin)) == ["FoxKeys.dbf", "vemlo.dll", "vemlo_en.hlf", "vemlo_en.lng",
                                                 "vemlo_ru.hlf", "vemlo_ru.lng"],
                   "the distribution is installed into Plugins\\vemlo\\ of the host")
        self.far_exe = self.wine.dos(os.path.join(self.far_dir, "Far.exe"))
        self.menu_texts = messages(os.path.join(plugin, "vemlo_en.lng"))

        shutil.rmtree(self.demo, ignore_errors=True)
        shutil.copytree(os.path.join(self.build, "demo"), self.demo)
        for table in ("vemlo.ini", "HELP\\FOXHELP.DBF", "HELP\\FOXHELP.FPT", "DICT\\KDF_BASES.DBF"):
            self.check(self.find(table) is not None, "the demo project on C:\\%s holds %s" % (DEMO_DIR, table))
        self.original = self.saved()
        help_base = "C:\\%s\\HELP\\FOXHELP.DBF" % DEMO_DIR
        reg = os.path.join(self.tmp, "options.reg")
        with open(reg, "w", newline="\r\n") as f:
            f.write("REGEDIT4\n\n[%s]\n" % self.key.replace("HKCU", "HKEY_CURRENT_USER"))
            for name, value in (("FoxHelpBases", "Demo help base > " + help_base), ("FoxHelpBaseParams", help_base),
                                ("FmtTextInlineCommentPos", "41, 61")):
                f.write('"%s"="%s"\n' % (name, value.replace("\\", "\\\\")))
        self.wine.run(["reg", "import", self.wine.dos(reg)])
        self.check(self.reg_value("FoxHelpBaseParams") == help_base,
                   "the options are in the Wine registry under %s" % self.key)

    def find(self, rel):
        """A file of the demo by its path in any letter case."""
        path = self.demo
        for part in rel.split("\\"):
            names = {n.lower(): n for n in os.listdir(path)} if os.path.isdir(path) else {}
            if part.lower() not in names:
                return None
            path = os.path.join(path, names[part.lower()])
        return path

    def reg_value(self, name):
        r = self.wine.run(["reg", "query", self.key, "/v", name], check=False)
        for line in r.stdout.decode(errors="replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0] == name and parts[1] == "REG_SZ":
                return parts[2] if len(parts) > 2 else ""
        return None

    def start(self, line):
        script = os.path.join(self.tmp, "far.sh")
        env = " ".join("%s='%s'" % (k, self.wine.env[k]) for k in ("WINEPREFIX", "WINEARCH", "WINEDEBUG",
                                                                     "WINELOADER", "WINEDLLOVERRIDES"))
        with open(script, "w") as f:
            f.write("env %s DISPLAY= %s '%s' -s '%s' -u %s -set:Editor.AutoDetectCodePage=false "
                    "-set:Editor.DefaultCodePage=866 -e%d:1 'C:\\%s\\MAIN.PRG' 2>/dev/null\n"
                    "echo \"[far exited: $?]\"\nsleep 600\n"
                    % (env, self.wine.loader, self.far_exe, self.wine.dos(os.path.join(self.tmp, "profile")),
                       self.user, line, DEMO_DIR))
        self.screen.start("bash '%s'" % script)

    def cleanup(self):
        self.screen.stop()
        self.wine.run(["reg", "delete", "HKCU\\Software\\Far Manager\\Users\\%s" % self.user, "/f"], check=False)
        shutil.rmtree(self.demo, ignore_errors=True)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def plugin_commands(self):
        """F11: the host's menu of plug-in commands, its rows."""
        self.screen.keys("F11")
        return self.wait("the plug-in commands", lambda rows: box(rows, "Plugin commands"))

    def main_menu(self):
        """The plug-in's main menu, chosen from the host's plug-in commands."""
        self.plugin_commands()
        self.screen.keys("Enter")
        return self.wait("the VEM-LO menu", lambda rows: box(rows, " VEM-LO "))

    # ---- the steps ----
    def run(self):
        self.step("install the host, the module and the demo project")
        self.install()
        # The empty line after the #DEFINE block: completion and help are tried there.
        target = self.original.index("SET TALK OFF") - 1
        self.check(self.original[target] == "", "the demo's main program has an empty line before SET TALK OFF")
        self.temp_before = self.temp_files()
        self.start(target + 1)
        self.wait("the editor on MAIN.PRG", lambda rows: "MAIN.PRG" in rows[0] and "Ln" in rows[0], 30)
        self.check(self.cursor_line() == target + 1, "the host's editor shows C:\\%s\\MAIN.PRG at line %d" % (DEMO_DIR, target + 1))
        self.show("the editor")

        self.step("F11: the plug-in commands list VEM-LO, its menu has fifteen items")
        self.plugin_commands()
        self.expect("the host's plug-in menu lists VEM-LO",
                    lambda rows: any(r.endswith("VEM-LO") for r in box(rows, "Plugin commands") or []))
        self.main_menu()
        expected = [" ".join(("-" if t.startswith("-") else t.replace("&", "")).split()) for t in self.menu_texts[1:16]]
        self.expect("the main menu has fifteen items: messages 1 to 15 of vemlo_en.lng, the \"-\" one a separator",
                    lambda rows: [" ".join(i.split()) for i in box(rows, " VEM-LO ") or []] == expected)
        self.show("the main menu")
        self.screen.keys("Escape")
        self.wait_gone(" VEM-LO ")

        self.step("Ctrl+Space: the list of names, filtered as typed; Enter inserts the name")
        self.screen.type("x = APP_V")
        self.wait_text("x = APP_V")
        self.inject("Ctrl+Space")
        self.wait_text("#defines")
        self.expect("the list shows the #define APP_VERSION with its value, not the names that do not fit \"APP_V\"",
                    lambda rows: any(" APP_VERSION    │\"2.3.1\"" in r for r in rows)
                    and not any(" APP_TITLE      │" in r for r in rows))
        self.show("the completion list")
        self.screen.type("E")
        self.expect("a typed letter goes into the text and the list stays open",
                    lambda rows: any(r.startswith("x = APP_VE ") or r.rstrip() == "x = APP_VE" for r in rows)
                    and any(" APP_VERSION    │" in r for r in rows))
        self.screen.keys("Enter")
        self.wait_gone("#defines")
        self.wait_text("x = APP_VERSION")
        self.screen.keys("F2")
        self.wait("the file to be saved", lambda rows: self.saved_line(target) == "x = APP_VERSION")
        self.check(self.saved_line(target) == "x = APP_VERSION", "the saved file holds the inserted name")
        self.show("after Enter and F2")

        self.step("Ctrl+Shift+Space: the parameter hint of SUBSTR( from the help base")
        self.screen.type(" + SUBSTR(")
        self.wait_text("x = APP_VERSION + SUBSTR(")
        self.inject("Ctrl+Shift+Space")
        self.expect("the hint under the cursor line shows the syntax line of SUBSTR() from the help base",
                    lambda rows: any(r.startswith("x = APP_VERSION + SUBSTR(") and
                                     "(<expC>, <expN1> [, <expN2>])" in below for r, below in zip(rows, rows[1:])))
        self.show("the parameter hint")
        self.screen.keys("Escape")
        self.wait_gone("<expC>, <expN1>")

        self.step("F1 on SUBSTR: the topic menu, then the topic in the host's help viewer")
        self.screen.keys("Left", "Left")
        self.screen.keys("F1")
        self.expect("the menu lists the topics of the help base C:\\%s\\HELP\\FOXHELP.DBF" % DEMO_DIR,
                    lambda rows: {"SUBSTR()", "■ Functions"} <= set(box(rows, "FOXHELP.DBF") or []))
        self.screen.keys("Enter")
        self.expect("the topic chosen by the word at the cursor opens in the host's help viewer, its framed title "
                    "the fixed header, its See Also names below", lambda rows: help_shows(rows, "SUBSTR()", (
                        "SUBSTR(<expC>, <expN1>", "See Also:", "LEFT()")))
        self.show("the host's help viewer")
        self.screen.keys("Enter")  # the viewer opens with the first link selected
        self.expect("the first See Also name is a link to its topic, written into the same help file",
                    lambda rows: help_shows(rows, "LEFT()", ("LEFT(<expC>, <expN>)",)))
        self.show("the first See Also link followed")
        self.screen.keys("Escape")
        self.wait("the topic menu again", lambda rows: box(rows, "FOXHELP.DBF"))
        self.screen.keys("Escape")
        self.wait_gone("FOXHELP.DBF")

        self.step("Ctrl+Shift+Up: the procedure list jumps to CloseDay")
        self.screen.keys("C-S-Up")
        procs = self.wait("the procedure list", lambda rows: box(rows, "Procedures"))
        self.show("the procedure list")
        index = next((i for i, p in enumerate(procs) if "CloseDay" in p), -1)
        self.check(index > 0, "the list holds the procedure CloseDay")
        first = int(procs[index].lstrip("► ").split()[0])
        decl = self.original.index("PROCEDURE CloseDay") + 1
        self.screen.keys(*(["Down"] * index))
        self.screen.keys("Enter")
        self.wait_gone("Procedures")
        self.expect("the cursor is on the PROCEDURE line, the comment above it from line %d at the top" % first,
                    lambda rows: self.cursor_line(rows) == decl and rows[1].rstrip() == self.original[first - 1].rstrip())
        self.show("after the jump")

        self.step("the formatter (F11, Service, Indent the current procedure) re-indents CloseDay")
        self.main_menu()
        self.screen.keys("Down", "Down", "Down", "Enter")
        self.wait_text("Indent the current procedure")
        self.screen.keys("Up", "Enter")
        self.wait_text("Indent the procedure")
        self.show("the formatter's question")
        self.screen.keys("Enter")
        self.wait_gone("Indent the procedure")
        self.screen.keys("F2")
        expected = self.expected_after_format(target)
        try:
            self.wait("the formatted file to be saved", lambda rows: self.saved() == expected)
        except StepFailed:
            log("".join(difflib.unified_diff([l + "\n" for l in expected], [l + "\n" for l in self.saved()],
                                             "expected MAIN.PRG", "saved MAIN.PRG")))
            raise
        self.show("after the formatter and F2")
        self.check(self.saved() == expected,
                   "the saved file equals the demo program with the two edits and CloseDay re-indented")

        self.step("the plug-in configuration (F11, Shift+F9): an option changed and stored")
        self.plugin_commands()
        self.screen.keys("S-F9")
        groups = self.wait("the option groups", lambda rows: box(rows, "VEM-LO"))
        self.check(groups == ["General", "Formatter", "Structure review"], "the configuration offers three groups")
        self.screen.keys("Enter")
        self.wait_text("[x] Sound signals")
        self.screen.keys("Down", "Space")
        self.wait_text("[ ] Sound signals")
        self.show("the General options, Sound signals switched off")
        self.screen.keys("Enter")
        self.wait_gone("[ ] Sound signals")
        self.screen.keys("Escape")
        self.wait("the plug-in commands again", lambda rows: box(rows, "Plugin commands"))
        self.screen.keys("Escape")
        self.wait_gone("Plugin commands")
        self.check(self.reg_value("SoundSignals") == "", "the Wine registry holds \"SoundSignals\" switched off")
        self.check(self.reg_value("InsightHeight") == "40%" and
                   self.reg_value("FoxHelpBases") == "Demo help base > C:\\%s\\HELP\\FOXHELP.DBF" % DEMO_DIR,
                   "the group's other options are stored as they were")

        self.step("F10 closes the editor and the host")
        self.screen.keys("F10")
        self.wait_text("[far exited: 0]")
        self.check(self.temp_files() <= self.temp_before, "no temporary file or folder of the plug-in (VL~) is left")
        return self.steps

    def temp_files(self):
        return set(glob.glob(os.path.join(self.wine.prefix, "drive_c", "users", "*", "Temp", "VL~*")))

    def expected_after_format(self, target):
        with open(os.path.join(HERE, "CloseDay.formatted"), "rb") as f:
            formatted = f.read().decode(CODEPAGE).split("\r\n")[:-1]
        lines = list(self.original)
        lines[target] = "x = APP_VERSION + SUBSTR("
        start = lines.index("PROCEDURE CloseDay")
        lines[start:start + len(formatted)] = formatted
        return lines


def main(argv):
    builds = {}
    for arg in argv:
        arch, _, build = arg.partition("=")
        if arch not in ARCHES or not build:
            print(__doc__)
            return 2
        builds[arch] = os.path.abspath(build)
    archives = host_archives()
    failed = False
    for arch in ("x64", "x86"):
        if arch not in builds:
            continue
        build = builds[arch]
        if not archives:
            log("realhost %s: SKIPPED - the host archives are not there (set VEMLO_REALHOST)" % arch)
            continue
        if not os.path.isfile(os.path.join(build, "vemlo-%s.zip" % arch)):
            log("realhost %s: FAILED - no distribution %s/vemlo-%s.zip" % (arch, build, arch))
            failed = True
            continue
        prefix = os.environ.get("VEMLO_WINEPREFIX_" + arch.upper(), os.path.join(build, "wine-prefix"))
        wine = Wine(arch, prefix)
        reason = wine.cannot_run()
        if reason:
            if arch == "x86":
                reason += ": this kernel cannot run 32-bit programs"
            log("realhost %s: SKIPPED - %s" % (arch, reason))
            continue
        start = time.time()
        run = None
        try:
            made = wine.ensure_prefix()
            run = Run(arch, build, archives, wine)
            steps = run.run()
            log("realhost %s: PASSED - %d steps in %.0f s (of them %.0f s for a new Wine prefix)"
                % (arch, steps, time.time() - start, made))
        except (StepFailed, subprocess.SubprocessError, OSError, ValueError) as e:
            log("realhost %s: FAILED - %s" % (arch, e))
            failed = True
        finally:
            if run:
                run.cleanup()
            wine.stop()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
