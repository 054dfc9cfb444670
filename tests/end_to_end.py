"""Runs the built deal through pipes, as a user would, and checks every byte."""

import os
import signal
import subprocess
import sys
import unittest

DEAL = None
RANGE = "-429496729 to 1010"


def listings(hands, count):
    """The expected output of `count` listings, from the net effect of one round."""
    deck = list(range(5 * hands)) if hands > 0 else []
    out = []
    for _ in range(count):
        out.append("".join("%2d " % c for c in deck) + "\n")
        new = [0] * len(deck)
        for h in range(hands):
            b = 5 * (hands - 1 - h)
            new[b : b + 5] = [deck[hands - 1 - h], deck[3 * hands - 2 - 2 * h],
                              deck[3 * hands - 1 - 2 * h], deck[5 * hands - 2 - 2 * h],
                              deck[5 * hands - 1 - 2 * h]]
        deck = new
    return "".join(out).encode()


def run(data, **kwargs):
    kwargs.setdefault("stdout", subprocess.PIPE)
    return subprocess.run([DEAL], input=data, stderr=subprocess.PIPE, timeout=60, **kwargs)


class Reading(unittest.TestCase):
    def test_table(self):
        table = [
            # input, hand count, listings
            (b"", 0, 0),
            (b"2", 2, 0),
            (b"2 7 7", 2, 2),
            (b"2\n1", 2, 1),
            (b"2 0 -7 1000", 2, 3),
            (b"+2 +1 -1", 2, 2),
            (b"0002 1", 2, 1),
            (b"-0 1", 0, 1),
            (b"2-1+1", 2, 2),
            (b"2 12345678901234567890", 2, 1),
            (b"2 1 x 1", 2, 1),
            (b"2 1 . 1", 2, 1),
            (b"2 1 \0 1", 2, 1),
            (b"2 1 \xff 1", 2, 1),
            (b"2 1 \xa0 1", 2, 1),
            (b"2 1 - 1", 2, 1),
            (b"2 1 +-1 1", 2, 1),
            (b"2 1 -", 2, 1),
            (b"2 1 1x", 2, 2),
            (b"x 1 1", 0, 0),
            (b"- 5 7", 0, 2),
            (b"+", 0, 0),
            (b"--2 1 1", 0, 3),
            (b"2.5 1", 2, 0),
            (b"0 1 1", 0, 2),
            (b"-3 1 1", 0, 2),
            (b"1 1 1 1", 1, 3),
            # Integers longer than the input buffer, and one split across it.
            (b"2 " + b"9" * 200_000 + b" 1", 2, 2),
            (b"0" * 100_000 + b"2 1", 2, 1),
            (b" " * 65_535 + b"2 1", 2, 1),
            (b" " * 65_534 + b"-3 1", 0, 1),
        ] + [(b"2" + ws + b"1" + ws + b"1" + ws, 2, 2) for ws in [bytes([c]) for c in b" \t\n\v\f\r"]]
        for data, hands, count in table:
            with self.subTest(data=data[:40]):
                result = run(data)
                self.assertEqual(result.stdout, listings(hands, count))
                self.assertEqual((result.returncode, result.stderr), (0, b""))


class Listing(unittest.TestCase):
    def test_format(self):
        self.assertEqual(run(b"1 1").stdout, b" 0  1  2  3  4 \n")
        self.assertEqual(run(b"2 1").stdout, b"".join(b"%2d " % c for c in range(10)) + b"\n")
        wide = run(b"21 1").stdout
        self.assertIn(b" 99 100 101 ", wide)
        self.assertTrue(wide.endswith(b" 103 104 \n"))
        for hands, count in [(1, 20), (20, 3), (21, 3), (200, 4), (1010, 3)]:
            with self.subTest(hands=hands):
                self.assertEqual(run(b"%d" % hands + b" 1" * count).stdout,
                                 listings(hands, count))

    def test_many_rounds_in_blocks(self):
        result = run(b"10" + b" 1" * 5000)
        self.assertEqual(result.stdout, listings(10, 5000))


class Failures(unittest.TestCase):
    def test_counts_outside_the_range(self):
        for count, shown in [(b"1011", b"1011"), (b"-429496730", b"-429496730"),
                             (b"2147483648", b"2147483648"), (b"+99999", b"+99999"),
                             (b"9" * 40, b"9" * 24 + b"...")]:
            with self.subTest(count=count):
                result = run(count + b" 1 1")
                self.assertEqual((result.returncode, result.stdout), (1, b""))
                self.assertEqual(result.stderr, b"deal: hand count " + shown +
                                 b" is outside the supported range " + RANGE.encode() + b"\n")

    def test_counts_at_the_edges(self):
        for count, hands in [(b"1010", 1010), (b"-429496729", 0), (b"000001010", 1010)]:
            with self.subTest(count=count):
                result = run(count + b" 1")
                self.assertEqual((result.returncode, result.stderr), (0, b""))
                self.assertEqual(result.stdout, listings(hands, 1))

    def test_full_device(self):
        with open("/dev/full", "wb") as full:
            for data in [b"2 1", b"1010" + b" 1" * 100]:
                with self.subTest(tokens=data.count(b" ")):
                    result = run(data, stdout=full)
                    self.assertEqual(result.returncode, 1)
                    self.assertEqual(result.stderr,
                                     b"deal: write error: No space left on device\n")

    def test_full_device_stops_without_reading_on(self):
        # The input never ends: a program that read on after the failure would hang.
        read_end, write_end = os.pipe()
        with open("/dev/full", "wb") as full:
            proc = subprocess.Popen([DEAL], stdin=read_end, stdout=full, stderr=subprocess.PIPE)
        os.close(read_end)
        os.write(write_end, b"1010 " + b"1 " * 30_000)
        _, err = proc.communicate(timeout=30)
        os.close(write_end)
        self.assertEqual((proc.returncode, err), (1, b"deal: write error: No space left on device\n"))

    def closed_pipe(self, ignore_sigpipe):
        read_end, write_end = os.pipe()
        os.close(read_end)
        pre = (lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN)) if ignore_sigpipe else None
        try:
            return run(b"1010" + b" 1" * 100, stdout=write_end, preexec_fn=pre)
        finally:
            os.close(write_end)

    def test_closed_pipe(self):
        result = self.closed_pipe(ignore_sigpipe=True)
        self.assertEqual((result.returncode, result.stderr), (1, b"deal: write error: Broken pipe\n"))
        result = self.closed_pipe(ignore_sigpipe=False)
        self.assertEqual((result.returncode, result.stderr), (-signal.SIGPIPE, b""))

    def test_closed_output(self):
        result = run(b"2 1", stdout=None, preexec_fn=lambda: os.close(1))
        self.assertEqual((result.returncode, result.stderr),
                         (1, b"deal: write error: Bad file descriptor\n"))
        result = run(b"2", stdout=None, preexec_fn=lambda: os.close(1))
        self.assertEqual((result.returncode, result.stderr), (0, b""))

    def test_unreadable_input(self):
        fd = os.open(".", os.O_RDONLY)
        try:
            result = subprocess.run([DEAL], stdin=fd, capture_output=True, timeout=60)
        finally:
            os.close(fd)
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (1, b"", b"deal: read error: Is a directory\n"))


if __name__ == "__main__":
    DEAL = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
