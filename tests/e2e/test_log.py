"""The setup log as /L writes it: format, banners, levels, append."""
import pathlib
import re
import tempfile
import unittest

import launcher

TIME = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d"


def fresh_log():
    return pathlib.Path(tempfile.mkdtemp()) / "setup.log"


class SetupLog(unittest.TestCase):
    def test_verbose_log_format(self):
        log = fresh_log()
        # A command line holding printf directives is logged unchanged.
        result = launcher.run("single_en", "/qn", "/L*v", launcher.windows_path(log), "lang=%s%d%n")
        self.assertEqual(result.code, 0)
        data, text = launcher.read_log(log)
        self.assertNotEqual(data[:2], b"\xff\xfe", "the log must have no byte-order mark")
        lines = text.split("\r\n")
        self.assertRegex(lines[0], rf"^=== Orvane started: {TIME} Build type: SHIP ANSI {re.escape(launcher.VERSION)}$")
        command = [l for l in lines if l.startswith("QVR (c): CommandLine: ")]
        self.assertEqual(len(command), 1)
        self.assertTrue(command[0].endswith(f"single_en.exe\" /qn /L*v {launcher.windows_path(log)} lang=%s%d%n"), command[0])
        self.assertRegex(lines[-2], rf"^=== Orvane stopped: {TIME}$")
        self.assertEqual(lines[-1], "", "the last line ends with CR LF")

    def test_levels_of_the_log_letters(self):
        for letters, expect_trace in [("/L*v", True), ("/Li", True), ("/Lw", False), ("/Le", False)]:
            with self.subTest(letters=letters):
                log = fresh_log()
                result = launcher.run("multi_no_ja", "/v", letters, launcher.windows_path(log))
                self.assertEqual(result.code, 1)
                _, text = launcher.read_log(log)
                self.assertIn("Validation failed!", text)  # level 1
                self.assertEqual("Validation if all necessary" in text, expect_trace)
                self.assertEqual("entering ExitInstance" in text, expect_trace)
                self.assertEqual("QVR (c): CommandLine:" in text, letters != "/Le")
                if letters == "/Le":
                    self.assertRegex(text, rf"^=== Orvane started: [^\r]*\r\nValidation failed!=== Orvane stopped: {TIME}\r\n$")

    def test_x_alone_creates_an_empty_file(self):
        log = fresh_log()
        self.assertEqual(launcher.run("single_en", "/qn", "/Lx", launcher.windows_path(log)).code, 0)
        self.assertTrue(log.exists())
        self.assertEqual(log.read_bytes(), b"")

    def test_plus_appends_and_plain_replaces(self):
        log = fresh_log()
        old = "earlier run\r\n".encode("utf-16-le")
        log.write_bytes(old)
        self.assertEqual(launcher.run("single_en", "/qn", "/L+*v", launcher.windows_path(log)).code, 0)
        data, text = launcher.read_log(log)
        self.assertTrue(data.startswith(old))
        self.assertRegex(text, r"^earlier run\r\n=== Orvane started: ")

        self.assertEqual(launcher.run("single_en", "/qn", "/L*v", launcher.windows_path(log)).code, 0)
        _, text = launcher.read_log(log)
        self.assertTrue(text.startswith("=== Orvane started: "))
        self.assertEqual(text.count("=== Orvane started: "), 1)

    def test_missing_log_folder_does_not_stop_the_run(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "missing" / "setup.log"
        self.assertEqual(launcher.run("single_en", "/qn", "/L*v", launcher.windows_path(log)).code, 0)
        self.assertFalse(log.exists())


if __name__ == "__main__":
    unittest.main(verbosity=2)
