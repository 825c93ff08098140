"""The launcher's help and validation switches, run as an administrator's
script would run them."""
import pathlib
import re
import tempfile
import unittest

import launcher


class Help(unittest.TestCase):
    def test_usage_header_in_the_current_language(self):
        english, german, japanese = "command line syntax", "Befehlszeilensyntax", "コマンド ラインの構文"
        for name, args, locale, heading in [
            ("single_en", ["/?"], None, english),
            ("single_en", ["/h"], None, english),
            ("single_en", ["/z"], None, english),           # a syntax error prints the usage text too
            ("single_en", ["/qb+x"], None, english),
            ("single_de", ["/?"], None, german),            # a single-language build speaks its language
            ("single_en", ["/?"], "de_DE.UTF-8", english),  # ... whatever the user's language
            ("multi", ["/?", "lang=german"], None, german),
            ("multi", ["/?", "lang=Japanese"], None, japanese),
            ("multi", ["/?", "lang=Deutsch"], "ja_JP.UTF-8", english),
            ("multi", ["/?"], "de_CH.UTF-8", german),      # the user's language, by its primary language
            ("multi", ["/?"], "ja_JP.UTF-8", japanese),
            ("multi", ["/?"], "ru_RU.UTF-8", english),
        ]:
            with self.subTest(launcher=name, args=args, locale=locale):
                result = launcher.run(name, *args, locale=locale)
                self.assertEqual(result.code, 0)
                self.assertTrue(result.stdout.startswith(f"\r\n{name}.exe - {heading}\r\n\r\n"), repr(result.stdout))


    def test_full_usage_text_of_a_server_product(self):
        # The golden text was laid out by hand from the layout rules, for a
        # single-language English build of a "Quelto Skedra Server" product.
        golden = (pathlib.Path(__file__).parent / "golden" / "usage_skedra_en.txt").read_bytes().decode("utf-8")
        result = launcher.run("skedra", "/?")
        self.assertEqual(result.code, 0)
        self.assertEqual(result.stdout, golden)


class Properties(unittest.TestCase):
    def test_invalid_port_stops_the_run_with_its_error(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("skedra", "SK_WebServer_Port=80a", "VX_SSLWebServer_Port= 443", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 0)
        self.assertEqual(result.stdout, "\r\nError: Parameter SK_WebServer_Port must be numeric\n\r\n\r\n")
        _, text = launcher.read_log(log)
        self.assertNotIn("Start processing", text)

    def test_unknown_property_is_warned_about_and_the_run_goes_on(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("skedra", "/qn", "FOO=1", "SK_WebServer_Port=8080", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 0)
        self.assertEqual(result.stdout, "Warning: the property 'FOO' specified on the command line is not directly "
                                        "supported by this installer but will be passed on neverthless.\r\n")
        _, text = launcher.read_log(log)
        self.assertIn("Start processing", text)

    def test_service_passwords_are_masked_in_the_log(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("skedra", "/qn", "SK_Service_Password=Geheim 42", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 0)
        _, text = launcher.read_log(log)
        self.assertIn('"SK_Service_Password=***"', text)
        self.assertNotIn("Geheim", text)


class Validation(unittest.TestCase):
    def test_validation_of_the_catalogue_resources(self):
        for name, code in [("single_en", 0), ("multi", 0), ("multi_no_fr", 0),
                           ("multi_no_ja", 1), ("single_no_minmsi", 1)]:
            with self.subTest(launcher=name):
                log = pathlib.Path(tempfile.mkdtemp()) / "validate.log"
                # Without /q a message box would block the run until the timeout.
                result = launcher.run(name, "/v", "/L*v", launcher.windows_path(log))
                self.assertEqual(result.code, code)
                _, text = launcher.read_log(log)
                checking = "Validation if all necessary resources have been compiled into setup."
                self.assertIn(checking, text)
                if code:
                    # Neither line has a line end: the next line follows directly.
                    self.assertIn(checking + "Validation failed!QVR (c): entering ExitInstance \r\n", text)
                else:
                    self.assertNotIn("Validation failed!", text)
                self.assertNotIn("QVR (c): ERROR", text)
                self.assertNotIn("Start processing", text)

    def test_main_path_quiet(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("single_en", "/qn", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 0)
        _, text = launcher.read_log(log)
        self.assertIn("QVR (c): All information collected. Start processing.\r\n", text)
        self.assertTrue(re.search(r"QVR \(c\): entering ExitInstance \r\n(QVR \(c\): [^\r]*\r\n)*=== Orvane stopped: [0-9: -]{19}\r\n$",
                                  text), text)
        # The hidden wizard passes each page in list order: every page is
        # deactivated once when it is made, then each runs in turn; a single
        # package ends at the marker after extraction, without the finish page.
        pages = re.findall(r"QVR \(c\): (Activating|Deactivating) dialog ([^\r]+)\r\n", text)
        self.assertEqual(pages, [("Deactivating", "Welcome"), ("Deactivating", "UnpackMSIFromEXE"), ("Deactivating", "Finish"),
                                 ("Activating", "Welcome"), ("Deactivating", "Welcome"),
                                 ("Activating", "UnpackMSIFromEXE"), ("Deactivating", "UnpackMSIFromEXE")])

    def test_missing_product_name_ends_the_run_as_a_corrupted_installer(self):
        # The missing resource posts a quit request that ends the run early;
        # the exit code says the installer is broken instead of success.
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("single_no_name", "/qn", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 1)
        _, text = launcher.read_log(log)
        self.assertEqual(text.count("QVR (c): ERROR: Installer is corrupted.\r\n"), 1)
        self.assertIn("QVR (c): entering ExitInstance \r\n=== Orvane stopped: ", text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
