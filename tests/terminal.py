"""Runs deal and its companions on a pseudo-terminal, as a person would: typing
one token at a time, typing Ctrl-D, and closing the terminal under them."""

import fcntl
import os
import select
import subprocess
import sys
import termios
import time
import unittest

DEAL = None
# In CI (.ci/run sets DEAL_REQUIRE_TOOLS=1) what these tests need and lack
# fails them, where elsewhere they are skipped.
REQUIRE_TOOLS = os.environ.get("DEAL_REQUIRE_TOOLS") == "1"
LISTINGS = [b" 0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 \n",
            b" 0  3  4  9 10  1  5  6 11 12  2  7  8 13 14 \n"]
PATIENCE = 20  # seconds before a wait counts as a hang


def quiet_terminal():
    """A pseudo-terminal that neither echoes the typing nor turns \\n into \\r\\n."""
    master, slave = os.openpty()
    attrs = termios.tcgetattr(slave)
    attrs[1] &= ~termios.OPOST
    attrs[3] &= ~termios.ECHO
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    return master, slave


def read_exactly(fd, size):
    data = b""
    deadline = time.monotonic() + PATIENCE
    while len(data) < size and time.monotonic() < deadline:
        if select.select([fd], [], [], 0.1)[0]:
            data += os.read(fd, size - len(data))
    return data


def read_to_end(fd):
    data = b""
    while chunk := os.read(fd, 4096):
        data += chunk
    return data


def unread(fd):
    return int.from_bytes(fcntl.ioctl(fd, termios.FIONREAD, b"\0\0\0\0"), sys.byteorder)


def type_ahead(master, slave, typing):
    """Types before the program starts and waits until the terminal holds every
    byte: the line discipline takes typing in later, so a count of unread bytes
    taken just after a write can be 0 with nothing read at all."""
    os.write(master, typing)
    deadline = time.monotonic() + PATIENCE
    while unread(slave) < len(typing):
        if time.monotonic() > deadline:
            raise AssertionError("the terminal never took the typing in")
        time.sleep(0.001)


def wait_until_waiting_for_input(proc, terminal):
    """Waits until deal has taken every typed byte and sleeps in its next read."""
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        with open(f"/proc/{proc.pid}/stat") as stat:
            state = stat.read().rsplit(")", 1)[1].split()[0]
        if state == "S" and unread(terminal) == 0:
            return
        time.sleep(0.01)
    raise AssertionError("deal never went back to reading its input")


class Terminal(unittest.TestCase):
    def test_each_listing_shows_before_the_next_token(self):
        master, slave = quiet_terminal()
        proc = subprocess.Popen([DEAL], stdin=slave, stdout=slave, stderr=subprocess.PIPE)
        os.close(slave)
        os.write(master, b"3\n")
        for listing in LISTINGS:
            os.write(master, b"1\n")
            self.assertEqual(read_exactly(master, len(listing)), listing)
        os.write(master, b"\x04")  # end of input, typed at the start of a line
        self.assertEqual(proc.wait(timeout=PATIENCE), 0)
        self.assertEqual(proc.stderr.read(), b"")
        proc.stderr.close()
        os.close(master)

    def test_into_a_pipe_the_listings_wait_for_a_block(self):
        master, slave = quiet_terminal()
        out_read, out_write = os.pipe()
        type_ahead(master, slave, b"3\n1\n1\n")
        proc = subprocess.Popen([DEAL], stdin=slave, stdout=out_write)
        os.close(out_write)
        wait_until_waiting_for_input(proc, slave)
        self.assertEqual(unread(out_read), 0, "listings went out before a block was full")
        os.write(master, b"\x04")
        self.assertEqual(proc.wait(timeout=PATIENCE), 0)
        self.assertEqual(read_to_end(out_read), b"".join(LISTINGS))
        for fd in (master, slave, out_read):
            os.close(fd)

    def test_one_ctrl_d_ends_a_run_whose_input_was_empty(self):
        # The end of input, once seen, is not asked for again: a second read
        # would wait for a second Ctrl-D.
        master, slave = quiet_terminal()
        proc = subprocess.Popen([DEAL], stdin=slave, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        os.close(slave)
        os.write(master, b"\x04")
        try:
            out, err = proc.communicate(timeout=PATIENCE)
        finally:
            proc.kill()
            os.close(master)
        self.assertEqual((proc.returncode, out, err), (0, b"", b""))

    def test_listings_made_before_a_read_error_all_go_out_first(self):
        master, slave = quiet_terminal()
        type_ahead(master, slave, b"3\n1\n1\n")
        proc = subprocess.Popen([DEAL], stdin=slave, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        wait_until_waiting_for_input(proc, slave)
        os.close(slave)
        os.close(master)  # the terminal goes away: the next read fails with EIO
        out, err = proc.communicate(timeout=PATIENCE)
        self.assertEqual((proc.returncode, out, err),
                         (1, b"".join(LISTINGS), b"deal: read error: Input/output error\n"))

    def test_deal_after_prints_nothing_for_a_number_cut_short_by_a_read_error(self):
        master, slave = quiet_terminal()
        attrs = termios.tcgetattr(slave)
        attrs[3] &= ~termios.ICANON  # each byte is read as it is typed
        termios.tcsetattr(slave, termios.TCSANOW, attrs)
        type_ahead(master, slave, b"1 12")
        proc = subprocess.Popen([os.path.join(os.path.dirname(DEAL), "deal-after"), "2"],
                                stdin=slave, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        wait_until_waiting_for_input(proc, slave)
        os.close(slave)
        os.close(master)
        out, err = proc.communicate(timeout=PATIENCE)
        self.assertEqual((proc.returncode, out, err),
                         (1, b" 0  2  3  6  7  1  4  5  8  9 \n",
                          b"deal-after: read error: Input/output error\n"))

    def test_deal_picture_will_not_write_onto_a_terminal(self):
        picture = os.path.join(os.path.dirname(DEAL), "deal-picture")
        if not os.path.exists(picture):
            if REQUIRE_TOOLS:
                self.fail("deal-picture was not built, and DEAL_REQUIRE_TOOLS=1 asks for it")
            self.skipTest("deal-picture was not built")
        master, slave = quiet_terminal()
        result = subprocess.run([picture, "2"], stdout=slave, stderr=subprocess.PIPE,
                                timeout=PATIENCE)
        os.close(slave)
        os.close(master)
        self.assertEqual((result.returncode, result.stderr),
                         (1, b"deal-picture: will not write a picture to a terminal; "
                             b"use -o FILE or a redirection\n"))


def exit_if_no_terminal():
    """Where no pseudo-terminal can be had (a chroot without /dev/pts), says so and
    exits with the status that CTest counts as skipped; in CI, with status 1."""
    try:
        master, slave = os.openpty()
    except OSError as error:
        if REQUIRE_TOOLS:
            print(f"no pseudo-terminal can be opened ({error.strerror}), and "
                  f"DEAL_REQUIRE_TOOLS=1 asks for one")
            sys.exit(1)
        print(f"skipped: no pseudo-terminal can be opened ({error.strerror})")
        sys.exit(77)
    os.close(master)
    os.close(slave)


if __name__ == "__main__":
    DEAL = os.path.abspath(sys.argv.pop(1))
    exit_if_no_terminal()
    unittest.main(verbosity=2)
