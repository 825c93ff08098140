"""The machine checks: the Windows version Wine pretends to be, and a second
setup already running."""
import os
import pathlib
import subprocess
import tempfile
import unittest

import launcher


def set_wine_version(version):
    """Wine's own lever: HKCU\\Software\\Wine, value Version (None removes it)."""
    args = ["reg", "delete", "HKCU\\Software\\Wine", "/v", "Version", "/f"] if version is None else \
        ["reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", version, "/f"]
    subprocess.run([launcher.WINE_RUN, *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


class BoxAnswerer:
    """Watches for the dialog boxes of other programs and presses OK on each
    when told to (see process_helper boxes)."""

    def __init__(self, count):
        self.process = subprocess.Popen([launcher.WINE_RUN, os.environ["ORVANE_PROCESS_HELPER"], "boxes", str(count)],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, encoding="utf-8")

    def next_box(self):
        """(title, text) of the next box shown; the box stays until press()."""
        line = self.process.stdout.readline().rstrip("\n")
        assert "\t" in line, f"no box appeared ({line!r})"
        title, text = line.split("\t", 1)
        return title, text.replace("\\n", "\n")

    def press(self):
        self.process.stdin.write("\n")
        self.process.stdin.flush()

    def close(self):
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdin.close()
        self.process.stdout.close()
        return self.process.returncode


def start_logged(name, *args):
    """Starts a launcher without waiting; returns the process and its log path."""
    log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
    exe = launcher.E2E_DIR / f"{name}.exe"
    process = subprocess.Popen([launcher.WINE_RUN, str(exe), *args, "/L*v", launcher.windows_path(log)],
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               cwd=tempfile.gettempdir())
    return process, log


def run_logged(name, *args):
    log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
    result = launcher.run(name, *args, "/L*v", launcher.windows_path(log))
    return result.code, launcher.read_log(log)[1]


class OsCheck(unittest.TestCase):
    def tearDown(self):
        set_wine_version(None)

    def test_minimum_windows_versions(self):
        for wine_version, launcher_name, code in [("vista", "single_en", 4), ("win7", "single_en", 0),
                                                  ("win10", "single_en", 0), ("winxp", "os_winxp", 0),
                                                  ("win2k", "os_winxp", 4)]:
            with self.subTest(windows=wine_version, launcher=launcher_name):
                set_wine_version(wine_version)
                # /qn: the refusal shows no message box, which would block the run.
                got, text = run_logged(launcher_name, "/qn")
                self.assertEqual(got, code)
                if code:
                    self.assertRegex(text, r"QVR \(c\): Setup not allowed to run on Windows [^\r]+\r\n")
                    self.assertIn("QVR (c): ERROR: Incompatible Windows Version\r\n", text)
                    self.assertNotIn("Start processing", text)
                else:
                    self.assertIn("QVR (c): OS version found to be correct.\r\n", text)

        set_wine_version("vista")
        _, text = run_logged("single_en", "/qn")
        self.assertIn("QVR (c): found Windows Vista ServicePack 2\r\n", text)
        self.assertIn("QVR (c): Expect at least Windows 7 ServicePack 1 \r\n", text)
        self.assertIn("QVR (c): Setup not allowed to run on Windows Vista ServicePack 2\r\n", text)

    def test_without_quiet_switch_both_boxes_are_shown(self):
        set_wine_version("vista")
        answerer = BoxAnswerer(2)
        process, log = start_logged("single_en")
        try:
            title, text = answerer.next_box()
            self.assertEqual(title, "single_en")  # the product name is not read yet
            self.assertEqual(text, "Setup has detected an incompatible version of 'Windows Vista ServicePack 2'. "
                                   "Please click OK and verify that the target system is running "
                                   "'Windows 7 ServicePack 1' or higher, before relaunching the installation.")
            answerer.press()
            _, text = answerer.next_box()
            self.assertEqual(text, "Installation platform not supported.\nInstallation of this version cannot continue.")
            answerer.press()
            self.assertEqual(process.wait(timeout=60), 4)
        finally:
            if process.poll() is None:
                process.kill()
            self.assertEqual(answerer.close(), 0)
        self.assertIn("QVR (c): ERROR: Incompatible Windows Version\r\n", launcher.read_log(log)[1])

    def test_aliases_and_restrictions(self):
        set_wine_version("win7")
        _, text = run_logged("os_winxp", "/qn")
        self.assertIn("QVR (c): Expect at least Windows XP ServicePack 2 \r\n", text)
        self.assertIn("QVR (c): Default text for supported OSes used.\r\n", text)
        code, text = run_logged("os_wsonly", "/qn")
        self.assertEqual(code, 0)
        self.assertIn("QVR (c): Expect at least Windows 7 WSOnly\r\n", text)
        self.assertNotIn("Unsupported OS restriction", text)
        code, text = run_logged("os_other", "/qn")
        self.assertEqual(code, 0)
        self.assertIn("QVR (c): Unsupported OS restriction selection!\r\n", text)


class SecondSetup(unittest.TestCase):
    def test_a_running_setup_refuses_the_next(self):
        holder = subprocess.Popen([launcher.WINE_RUN, os.environ["ORVANE_PROCESS_HELPER"], "mutex",
                                   "Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        try:
            self.assertEqual(holder.stdout.readline().strip(), "ready")
            code, text = run_logged("single_en", "/qn")
            self.assertEqual(code, 6)
            self.assertIn("QVR (c): Setup already in progress.\r\n", text)
        finally:
            holder.kill()
            holder.wait()
            holder.stdout.close()
        code, _ = run_logged("single_en", "/qn")
        self.assertEqual(code, 0)

    def test_a_second_launcher_while_the_first_waits_on_its_box(self):
        # The build without its product code stops on the missing-resource
        # box while reading its catalogue, after it has taken the setup
        # mutex; while that box is open a second launcher must refuse to start.
        answerer = BoxAnswerer(1)
        first, first_log = start_logged("single_no_code")
        try:
            title, text = answerer.next_box()
            self.assertEqual((title, text), ("Quelto Markwell Test - Installer Wizard",
                                             "The required resource PRODUCT_CODE_0 is missing."))
            code, text = run_logged("single_en", "/qn")
            self.assertEqual(code, 6)
            self.assertIn("QVR (c): Setup already in progress.\r\n", text)
            answerer.press()
            self.assertEqual(first.wait(timeout=60), 1)
        finally:
            if first.poll() is None:
                first.kill()
            answerer.close()
        self.assertNotIn("Setup already in progress", launcher.read_log(first_log)[1])
        code, _ = run_logged("single_en", "/qn")
        self.assertEqual(code, 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
