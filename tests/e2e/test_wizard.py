"""The wizard under the virtual display, driven by pressing its real buttons
(process_helper drive): Cancel leads to the finish page of an interrupted run,
Cancel there ends the wizard, Escape and a quit message stop an extraction,
and a quiet run never shows a window. Screenshots go to the build's artifacts
folder."""
import os
import pathlib
import re
import subprocess
import tempfile
import time
import unittest

import launcher

ARTIFACTS = pathlib.Path(os.environ.get("ORVANE_ARTIFACTS", tempfile.mkdtemp()))
STRINGS = pathlib.Path(__file__).resolve().parents[2] / "src" / "res" / "strings"
TITLE = "Quelto Markwell Test - Installer Wizard"
NEXT, CANCEL, BACK = 1, 2, 1000


def strings(language):
    """The UI strings of one language file, by id."""
    table = {}
    for line in (STRINGS / f"{language}.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#") and "\t" in line:
            number, text = line.split("\t", 1)
            table[int(number)] = text.replace("\\n", "\n")
    return table


class Driver:
    """process_helper drive: one command per line, one answer per line."""

    def __init__(self):
        self.process = subprocess.Popen([launcher.WINE_RUN, os.environ["ORVANE_PROCESS_HELPER"], "drive"],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, encoding="utf-8")

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().rstrip("\n")
        assert not answer.startswith("error"), f"{command}: {answer}"
        return answer

    def texts(self):
        self.process.stdin.write("texts\n")
        self.process.stdin.flush()
        found = []
        while (line := self.process.stdout.readline().rstrip("\n")) != "end":
            found.append(line)
        return found

    def wait_for_text(self, wanted, seconds=30):
        """The page's texts once one of them is wanted (the wizard moves on by itself)."""
        deadline = time.monotonic() + seconds
        while True:
            shown = self.texts()
            if wanted in shown or time.monotonic() > deadline:
                return shown
            time.sleep(0.1)

    def screenshot(self, name):
        x, y, width, height = self.ask("rect").split()
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", str(ARTIFACTS / name)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)
        self.process.stdout.close()


class Wizard(unittest.TestCase):
    def start(self, name, *args, locale=None):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        env = dict(os.environ)
        if locale:
            env.update(LANG=locale, LC_ALL=locale)
        process = subprocess.Popen([launcher.WINE_RUN, str(launcher.E2E_DIR / f"{name}.exe"), *args, "/L*v",
                                    launcher.windows_path(log)], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, cwd=tempfile.gettempdir(), env=env)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        driver = Driver()
        self.addCleanup(driver.close)
        return process, driver, log

    def finish(self, driver, process, log, button):
        """Presses button on the finish page of a cancelled run; the wizard
        closes and the run exits 3. Returns the setup log."""
        driver.ask(f"click {button}")
        driver.ask("gone")
        self.assertEqual(process.wait(timeout=60), 3)
        return launcher.read_log(log)[1]

    def test_cancel_on_the_first_page_and_on_the_finish_page(self):
        # A single-language build and a multi-language one in a Japanese session.
        for language, name, locale in [("en", "single_en", None), ("ja", "multi", "ja_JP.UTF-8")]:
            with self.subTest(language=language):
                text = strings(language)
                title = text[1].replace("%s", "Quelto Markwell Test")
                process, driver, log = self.start(name, locale=locale)
                driver.ask(f"wait {title}")
                self.assertEqual(driver.ask(f"item {NEXT}"), text[54])
                self.assertEqual(driver.ask(f"enabled {BACK}"), "0")  # the first page
                driver.screenshot(f"wizard-welcome-{language}.png")

                driver.ask(f"click {CANCEL}")
                # The finish page of an interrupted installation.
                shown = driver.wait_for_text(text[29])
                self.assertEqual(shown, [text[29], text[31].replace("%s", "Quelto Markwell Test"), text[32], text[33]])
                self.assertEqual(driver.ask(f"item {NEXT}"), text[55])
                self.assertEqual(driver.ask(f"enabled {BACK}"), "0")
                driver.screenshot(f"wizard-finish-cancelled-{language}.png")

                log_text = self.finish(driver, process, log, CANCEL)  # Cancel on the finish page ends the wizard
                self.assertIn("QVR (c): ERROR: User cancelled installation. (1602 - ", log_text)
                self.assertIn("QVR (c): Activating dialog Finish\r\n", log_text)
                self.assertNotIn("Activating dialog UnpackMSIFromEXE", log_text)

    def test_choosing_a_language_relabels_the_wizard_at_once(self):
        # A multi-language build on a first installation offers the choice on
        # its first page; the finish page does not.
        english, german = strings("en"), strings("de")
        process, driver, _ = self.start("multi")
        driver.ask(f"wait {english[1].replace('%s', 'Quelto Markwell Test')}")
        self.assertEqual(driver.ask("visible 1015"), "1")
        driver.ask("choose 1015 " + english[51])  # German, as the English list names it
        deadline = time.monotonic() + 30
        while driver.ask(f"item {NEXT}") != german[54] and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual([driver.ask(f"item {i}") for i in (NEXT, CANCEL, BACK)], [german[54], german[57], german[56]])
        driver.screenshot("wizard-welcome-de.png")
        driver.ask(f"click {CANCEL}")
        self.assertIn(german[29], driver.wait_for_text(german[29]))
        self.assertEqual(driver.ask("visible 1015"), "0")
        driver.ask(f"click {CANCEL}")
        self.assertEqual(process.wait(timeout=60), 3)

    def test_escape_during_extraction(self):
        process, driver, log = self.start("big")
        driver.ask("wait Quelto Markwell Big - Installer Wizard")
        driver.ask(f"click {NEXT}")
        self.assertEqual(driver.ask("status"), "Reading contents of package Quelto Markwell Big")
        driver.ask("escape")
        self.assertIn("Setup aborted", driver.wait_for_text("Setup aborted"))
        driver.screenshot("wizard-finish-after-escape-en.png")
        self.assertEqual(driver.ask(f"item {NEXT}"), "&Finish")
        text = self.finish(driver, process, log, NEXT)  # Finish
        self.assertIn("QVR (c): Worker-thread stopped\r\n", text)
        self.assertNotIn("Error extracting cabinet file", text)
        self.assertIn("QVR (c): ERROR: User cancelled installation.\r\n", text)

    def test_quit_message_during_extraction_leaves_the_page_without_advancing(self):
        process, driver, log = self.start("big")
        driver.ask("wait Quelto Markwell Big - Installer Wizard")
        driver.ask(f"click {NEXT}")
        driver.ask("status")
        driver.ask("quit")
        driver.ask("gone")
        process.wait(timeout=60)
        text = launcher.read_log(log)[1]
        after = text[text.index("QVR (c): Received 'quit' message\r\n"):]
        self.assertNotIn("Activating dialog", after)
        self.assertNotIn("Deactivating dialog UnpackMSIFromEXE", after)
        self.assertTrue(re.search(r"=== Orvane stopped: [0-9: -]{19}\r\n$", text), text)

    def test_quiet_runs_pass_the_pages_in_list_order(self):
        # A package of another installer type: after extraction its install
        # page (which has no installer yet, so it passes at once), then the
        # finish page, which a single Windows Installer package never reaches.
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        self.assertEqual(launcher.run("taxonomy", "/qn", "/L*v", launcher.windows_path(log)).code, 0)
        pages = re.findall(r"QVR \(c\): (Activating|Deactivating) dialog ([^\r]+)\r\n", launcher.read_log(log)[1])
        made = [("Deactivating", name) for name in ("Welcome", "UnpackMSIFromEXE", "NonMSIInstall", "Finish")]
        run = [(verb, name) for name in ("Welcome", "UnpackMSIFromEXE", "NonMSIInstall", "Finish")
               for verb in ("Activating", "Deactivating")]
        self.assertEqual(pages, made + run)

    def test_a_quiet_run_never_shows_a_window(self):
        def watch(run):
            watcher = subprocess.Popen([launcher.WINE_RUN, os.environ["ORVANE_PROCESS_HELPER"], "windows", "15"],
                                       stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                       text=True, encoding="utf-8")
            run()
            return watcher.communicate(timeout=60)[0]

        def quiet():
            for args in [("/qn",), ("/qn", "/x")]:
                self.assertEqual(launcher.run("big", *args).code, 0)

        def shown():
            process, driver, _ = self.start("big")
            driver.ask("wait Quelto Markwell Big - Installer Wizard")
            driver.ask(f"click {CANCEL}")
            driver.ask(f"click {CANCEL}")
            process.wait(timeout=60)

        self.assertNotIn("Installer Wizard", watch(quiet))
        # The same watch does see the wizard of a run with its interface.
        self.assertIn("Quelto Markwell Big - Installer Wizard", watch(shown))

if __name__ == "__main__":
    unittest.main(verbosity=2)
