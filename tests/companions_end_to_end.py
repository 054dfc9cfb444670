"""Runs the built companions as a user would, and holds their answers to deal's own listings."""

import os
import subprocess
import sys
import tempfile
import unittest

BUILD = None
RANGE = b" is outside the supported range -429496729 to 1010\n"
COMPANIONS = ["deal-period"]
PROGRAMS = ["deal"] + COMPANIONS
PROGRAM_FILES = [f"bin/{name}" for name in PROGRAMS] + [f"share/man/man1/{name}.1" for name in PROGRAMS]
VERSION = None


def program(name):
    return os.path.join(BUILD, name)


def run(args, data=b"", name="deal-period", **kwargs):
    kwargs.setdefault("stdout", subprocess.PIPE)
    return subprocess.run([program(name)] + args, input=data, stderr=subprocess.PIPE,
                          timeout=60, **kwargs)


class Answers(unittest.TestCase):
    def test_argument_and_input_forms(self):
        table = [
            (["2", "6", "0", "-3", "+0002"], b"", b"2 7\n6 88\n0 1\n-3 1\n2 7\n"),
            (["--", "-1", "1"], b"", b"-1 1\n1 1\n"),
            (["757"], b"", b"757 663815886514363891846858320\n"),
            ([], b" 1\n2\t3 x 4", b"1 1\n2 7\n3 9\n"),
            ([], b"4-5+6", b"4 28\n-5 1\n6 88\n"),
            ([], b"", b""),
        ]
        for args, data, want in table:
            with self.subTest(args=args, data=data):
                result = run(args, data)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (0, want, b""))

    def test_periods_agree_with_deal(self):
        for hands in range(1, 13):
            with self.subTest(hands=hands):
                period = int(run([str(hands)]).stdout.split()[1])
                listings = run([], b"%d" % hands + b" 1" * (period + 1), name="deal").stdout
                lines = listings.splitlines()
                self.assertEqual(len(lines), period + 1)
                self.assertEqual(lines[period], lines[0])
                self.assertNotIn(lines[0], lines[1:period])


class Failures(unittest.TestCase):
    def test_bad_counts(self):
        table = [
            (["2000"], b"", b"", b"deal-period: hand count 2000" + RANGE),
            (["3", "abc"], b"", b"", b"deal-period: 'abc' is not an integer hand count\n"),
            (["3", "-429496730"], b"", b"", b"deal-period: hand count -429496730" + RANGE),
            (["1.5"], b"", b"", b"deal-period: '1.5' is not an integer hand count\n"),
            ([""], b"", b"", b"deal-period: '' is not an integer hand count\n"),
            (["--bogus"], b"", b"", b"deal-period: '--bogus' is not an integer hand count\n"),
            ([], b"2 1011 3", b"2 7\n", b"deal-period: hand count 1011" + RANGE),
        ]
        for args, data, out, err in table:
            with self.subTest(args=args, data=data):
                result = run(args, data)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (1, out, err))


    def test_full_device(self):
        with open("/dev/full", "wb") as full:
            result = run(["2"], stdout=full)
        self.assertEqual((result.returncode, result.stderr),
                         (1, b"deal-period: write error: No space left on device\n"))


class Options(unittest.TestCase):
    def test_help_and_version(self):
        for name in COMPANIONS:
            with self.subTest(name=name):
                result = run(["--help"], name=name)
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertTrue(result.stdout.startswith(b"usage: " + name.encode() + b" "))
                result = run(["--version"], name=name)
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(result.stdout, b"%s (deal) %s\n" % (name.encode(), VERSION))
                with open(os.path.join(BUILD, "man", name + ".1"), "rb") as page:
                    self.assertIn(b'"deal %s"' % VERSION, page.readline())


class Install(unittest.TestCase):
    def test_install_tree(self):
        with tempfile.TemporaryDirectory() as prefix:
            subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True,
                           stdout=subprocess.DEVNULL)
            for path in PROGRAM_FILES + ["share/doc/deal/copyright"]:
                self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
            installed = os.path.join(prefix, "bin")
            self.assertEqual(subprocess.run([os.path.join(installed, "deal-period"), "2"],
                                            capture_output=True).stdout, b"2 7\n")
            self.assertEqual(subprocess.run([os.path.join(installed, "deal")], input=b"1 1",
                                            capture_output=True).stdout, b" 0  1  2  3  4 \n")
            for page in [name + ".1" for name in PROGRAMS]:
                lint = subprocess.run(["groff", "-man", "-ww", "-z",
                                       os.path.join(prefix, "share/man/man1", page)],
                                      capture_output=True)
                self.assertEqual((lint.returncode, lint.stderr), (0, b""), page)

    def test_debian_package(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run(["cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                            "-B", out], check=True, stdout=subprocess.DEVNULL)
            [deb] = [os.path.join(out, f) for f in os.listdir(out) if f.endswith(".deb")]
            arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True,
                                  check=True).stdout.strip()
            self.assertEqual(os.path.basename(deb).encode(), b"deal_%s_%s.deb" % (VERSION, arch))
            listing = subprocess.run(["dpkg-deb", "--contents", deb], capture_output=True,
                                     check=True).stdout.decode()
            for path in PROGRAM_FILES + ["share/doc/deal/copyright"]:
                self.assertIn("./usr/" + path + "\n", listing)
            depends = subprocess.run(["dpkg-deb", "--field", deb, "Depends"], capture_output=True,
                                     check=True).stdout
            self.assertIn(b"libc6", depends)


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    with open(os.path.join(BUILD, "CMakeCache.txt"), "rb") as cache:
        VERSION = next(line.split(b"=")[1].strip() for line in cache
                       if line.startswith(b"CMAKE_PROJECT_VERSION:"))
    unittest.main(verbosity=2)
