"""deal on descriptors that misbehave as real ones do: non-blocking pipes that
a slow reader drains or a slow writer feeds, so that writes come back short or
with EAGAIN and reads with EAGAIN; and a write that takes nothing."""

import fcntl
import os
import subprocess
import sys
import threading
import time
import unittest

BUILD = ZERO_WRITE = None


def deal(*args, **kwargs):
    kwargs.setdefault("timeout", 120)
    return subprocess.run([os.path.join(BUILD, "deal")] + list(args), capture_output=True,
                          **kwargs)


def non_blocking(fd):
    fcntl.fcntl(fd, fcntl.F_SETFL, fcntl.fcntl(fd, fcntl.F_GETFL) | os.O_NONBLOCK)


class Descriptors(unittest.TestCase):
    def test_output_a_non_blocking_pipe_drained_slowly(self):
        data = b"60" + b" 1" * 1500  # about 1.8 MB of listings
        want = deal(input=data).stdout
        read_end, write_end = os.pipe()
        non_blocking(write_end)
        proc = subprocess.Popen([os.path.join(BUILD, "deal")], stdin=subprocess.PIPE,
                                stdout=write_end, stderr=subprocess.PIPE)
        os.close(write_end)
        feeder = threading.Thread(target=lambda: (proc.stdin.write(data), proc.stdin.close()))
        feeder.start()
        got = b""
        while chunk := os.read(read_end, 3000):
            got += chunk
            time.sleep(0.0002)
        feeder.join()
        os.close(read_end)
        self.assertEqual((proc.wait(timeout=60), proc.stderr.read()), (0, b""))
        proc.stderr.close()
        self.assertEqual(got, want)

    def test_input_a_non_blocking_pipe_fed_slowly(self):
        data = b"7 " + b"12345 -6 +7\n" * 3000
        want = deal(input=data).stdout
        read_end, write_end = os.pipe()
        non_blocking(read_end)
        proc = subprocess.Popen([os.path.join(BUILD, "deal")], stdin=read_end,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        os.close(read_end)
        out = []
        reader = threading.Thread(target=lambda: out.append(proc.stdout.read()))
        reader.start()
        for at in range(0, len(data), 777):
            os.write(write_end, data[at:at + 777])
            time.sleep(0.001)
        os.close(write_end)
        reader.join()
        self.assertEqual((proc.wait(timeout=60), proc.stderr.read()), (0, b""))
        proc.stdout.close()
        proc.stderr.close()
        self.assertEqual(out[0], want)

    def test_a_write_that_takes_nothing_is_a_write_error(self):
        env = dict(os.environ, LD_PRELOAD=ZERO_WRITE)
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        result = deal(input=b"2 1", env=env, timeout=20)
        self.assertEqual((result.returncode, result.stderr),
                         (1, b"deal: write error: No space left on device\n"))


if __name__ == "__main__":
    BUILD, ZERO_WRITE = (os.path.abspath(a) for a in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
