#!/usr/bin/python3
"""Tests of tools/editor-standin: its wire format against literal bytes, its
clip naming, and the running process over loopback with a plug-in side made of
plain pyzmq sockets."""

import os
import queue
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import types
import unittest

import numpy
import soundfile
import zmq

HERE = os.path.dirname(os.path.abspath(__file__))
STANDIN = os.path.normpath(os.path.join(HERE, "..", "..", "tools", "editor-standin", "editor-standin"))


def load_standin():
    # The tool has no .py suffix, so it is run as a module by hand.
    module = types.ModuleType("editor_standin")
    module.__file__ = STANDIN
    sys.modules["editor_standin"] = module
    with open(STANDIN, encoding="utf-8") as source:
        exec(compile(source.read(), STANDIN, "exec"), module.__dict__)
    return module


standin = load_standin()

ENUM_1 = bytes.fromhex("9302ce3355463001")
REPLY_TRUE = bytes.fromhex("91c3")
REPLY_FALSE = bytes.fromhex("91c2")


def enum_body(value_hex):
    return bytes.fromhex("9302ce33554630" + value_hex)


class WireFormat(unittest.TestCase):
    def test_bodies_match_the_documented_bytes(self):
        cases = [
            (standin.encode_enum(1), "9302ce3355463001"),
            (standin.encode_enum(4), "9302ce3355463004"),
            (standin.encode_enum(-33), "9302ce33554630d0df"),
            (standin.encode_enum(300), "9302ce33554630cd012c"),
            (standin.encode_uint(0, 20), "9402ce335546300014"),
            (standin.encode_uint(0, 0xFFFFFFFF), "9402ce3355463000ceffffffff"),
            (standin.encode_reply(True), "91c3"),
            (standin.encode_reply(False), "91c2"),
        ]
        for encoded, golden in cases:
            self.assertEqual(encoded.hex(), golden)

    def test_requests_are_understood_only_when_exactly_right(self):
        cases = [
            ([b"IPC_EnumMessage", ENUM_1], True),
            ([b"IPC_UIntMessage", bytes.fromhex("9402ce335546300003")], True),
            ([b"IPC_EnumMessage", bytes.fromhex("9303ce3355463001")], False),   # version 3
            ([b"IPC_EnumMessage", bytes.fromhex("9302ce3355463101")], False),   # other tag
            ([b"IPC_EnumMessage", bytes.fromhex("9302ce33554630")], False),     # short array
            ([b"IPC_EnumMessage", bytes.fromhex("93c1")], False),               # malformed
            ([b"IPC_EnumMessage", ENUM_1 + b"\x00"], False),                    # trailing byte
            ([b"IPC_EnumMessage", bytes.fromhex("9302ce33554630c3")], False),   # boolean value
            ([b"IPC_Hello", ENUM_1], False),
            ([b"IPC_EnumMessage"], False),
            ([b"IPC_EnumMessage", ENUM_1, b"x"], False),
        ]
        for frames, handled in cases:
            self.assertEqual(standin.describe(frames)[0], handled, frames)


class ClipNames(unittest.TestCase):
    def test_captured_clips_and_their_repaired_names(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        names = {
            "Pro Tools 2 [tw-relay] 2 captured.wav": "Pro Tools",
            "Wavelab 1 (1) [tw-relay] 1 captured.wav": "Wavelab",
            "VST Bridge 32 10 [tw-relay] 10 captured.wav": "VST Bridge 32",
            "Clip 1 [tw-relay] 1 reference.wav": None,
            "Clip 1 [tw-relay] 1 ready.wav": None,
            "Pro Tools 1 [tw-relay] 1 repaired.wav": None,
            "Pro Tools 1 [tw-relay] 2 captured.wav": None,   # numbers differ
            "notes.txt": None,
        }
        for name in names:
            open(os.path.join(folder, name), "w").close()
        found = dict(standin.captured_clips(folder))
        self.assertEqual(found, {n: h for n, h in names.items() if h})
        self.assertEqual(standin.repaired_name("Wavelab 1 (1) [tw-relay] 1 captured.wav"),
                         "Wavelab 1 (1) [tw-relay] 1 repaired.wav")
        self.assertEqual(standin.captured_clips(os.path.join(folder, "missing")), [])


class StandinProcess:
    """The stand-in running on free loopback ports, its log read line by line."""

    def __init__(self, home, *arguments):
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data")
        self.process = subprocess.Popen(
            [STANDIN, "--request-port", "0", "--reply-port", "0", "--push-port", "0", *arguments],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)
        self.lines = queue.Queue()
        self.log = []
        threading.Thread(target=self._read, daemon=True).start()
        ready = self.expect(r"^READY ")
        self.endpoints = dict(re.findall(r"(\w+)=(\S+)", ready))
        self.folder = ready.split(" folder=", 1)[1]

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.decode().rstrip("\n"))

    def expect(self, pattern, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=max(0.0, end - time.monotonic()))
            except queue.Empty:
                break
            self.log.append(line)
            if re.search(pattern, line):
                return line
        raise AssertionError("no line matching %r in:\n%s" % (pattern, "\n".join(self.log)))

    def command(self, line):
        self.process.stdin.write((line + "\n").encode())
        self.process.stdin.flush()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(10)
        self.process.stdin.close()
        self.process.stdout.close()


class PluginSide:
    """The plug-in's three sockets, connected to the stand-in."""

    def __init__(self, endpoints):
        self.context = zmq.Context()
        self.request = self.socket(zmq.REQ, endpoints["request"])
        self.reply = self.socket(zmq.REP, endpoints["reply"])
        self.push = self.socket(zmq.PUSH, endpoints["push"])

    def socket(self, kind, endpoint):
        s = self.context.socket(kind)
        s.setsockopt(zmq.LINGER, 0)
        s.setsockopt(zmq.RCVTIMEO, 10000)
        s.connect(endpoint)
        return s

    def ask(self, frames, timeout_ms=10000):
        self.request.send_multipart(frames)
        if not self.request.poll(timeout_ms):
            return None
        return self.request.recv_multipart()

    def editor_request(self, timeout_ms=10000, answer=True):
        if not self.reply.poll(timeout_ms):
            return None
        frames = self.reply.recv_multipart()
        if answer:
            self.reply.send_multipart([b"IPC_SimpleReply", REPLY_TRUE])
        return frames

    def close(self):
        for s in (self.request, self.reply, self.push):
            s.close(0)
        self.context.term()


class RunningStandin(unittest.TestCase):
    arguments = ()

    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="standin-")
        self.addCleanup(shutil.rmtree, self.home)
        self.folder = os.path.join(self.home, "shuttle")
        os.makedirs(self.folder)
        self.standin = self.start("--folder", self.folder, *self.arguments)
        self.plugin = PluginSide(self.standin.endpoints)
        self.addCleanup(self.plugin.close)

    def start(self, *arguments):
        process = StandinProcess(self.home, *arguments)
        self.addCleanup(process.stop)
        return process

    def capture(self, name, frames=4800, channels=2, rate=48000):
        samples = numpy.random.default_rng(len(name)).uniform(-1, 1, (frames, channels)).astype(numpy.float32)
        soundfile.write(os.path.join(self.folder, name), samples, rate, subtype="FLOAT")
        return samples

    def registry_rows(self):
        path = os.path.join(self.home, "config", "Quillex", "registry.sqlite3")
        if not os.path.exists(path):
            return [], []
        with sqlite3.connect(path) as db:
            keys = sorted(r[0] for r in db.execute("SELECT key FROM registry_keys"))
            values = db.execute("SELECT key, name, type, hex(data) FROM registry_values").fetchall()
        return keys, values


class Repair(RunningStandin):
    def test_captured_clips_are_repaired_at_half_level_and_announced_once_by_message_4(self):
        first = self.capture("Pro Tools 1 [tw-relay] 1 captured.wav")
        second = self.capture("Pro Tools 2 (1) [tw-relay] 2 captured.wav", channels=1, rate=44100)
        reference = "Pro Tools 1 [tw-relay] 1 reference.wav"
        self.capture(reference)

        self.assertEqual(self.plugin.ask([b"IPC_EnumMessage", ENUM_1]), [b"IPC_SimpleReply", REPLY_TRUE])
        self.standin.expect(re.escape("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01"))
        self.assertEqual(self.plugin.editor_request(), [b"IPC_EnumMessage", enum_body("04")])
        self.assertIsNone(self.plugin.editor_request(timeout_ms=300), "one message 4 for one host")

        for name, captured, rate in (("Pro Tools 1 [tw-relay] 1 repaired.wav", first, 48000),
                                     ("Pro Tools 2 (1) [tw-relay] 2 repaired.wav", second, 44100)):
            info = soundfile.info(os.path.join(self.folder, name))
            self.assertEqual((info.format, info.subtype, info.samplerate, info.channels),
                             ("WAV", "FLOAT", rate, captured.shape[1]))
            repaired, _ = soundfile.read(os.path.join(self.folder, name), dtype="float32", always_2d=True)
            numpy.testing.assert_array_equal(repaired, captured * numpy.float32(0.5))
        self.assertEqual(sorted(n for n in os.listdir(self.folder) if "repaired" in n),
                         ["Pro Tools 1 [tw-relay] 1 repaired.wav", "Pro Tools 2 (1) [tw-relay] 2 repaired.wav"])
        self.assertEqual(self.registry_rows(), ([], []))

    def test_a_second_message_1_repairs_only_new_clips(self):
        self.capture("Wavelab 1 [tw-relay] 1 captured.wav")
        self.plugin.ask([b"IPC_EnumMessage", ENUM_1])
        self.assertIsNotNone(self.plugin.editor_request())
        os.remove(os.path.join(self.folder, "Wavelab 1 [tw-relay] 1 repaired.wav"))  # played and deleted
        self.plugin.ask([b"IPC_EnumMessage", ENUM_1])
        self.standin.expect("NOTHING TO REPAIR")
        self.assertIsNone(self.plugin.editor_request(timeout_ms=300))

    def test_a_clip_that_cannot_be_read_is_skipped(self):
        with open(os.path.join(self.folder, "Wavelab 1 [tw-relay] 1 captured.wav"), "wb") as f:
            f.write(b"RIFF\x04\x00\x00\x00WAVE")
        self.assertEqual(self.plugin.ask([b"IPC_EnumMessage", ENUM_1]), [b"IPC_SimpleReply", REPLY_TRUE])
        self.standin.expect(r"^SKIPPED .*Wavelab 1 \[tw-relay\] 1 captured.wav")
        self.assertEqual([n for n in os.listdir(self.folder) if "repaired" in n or n.startswith(".")], [])

    def test_polling_hosts_find_their_request_in_the_settings_store(self):
        self.capture("Audition 1 [tw-relay] 1 captured.wav")
        self.plugin.ask([b"IPC_EnumMessage", ENUM_1])
        self.standin.expect(r"^NOTIFIED store")
        keys, values = self.registry_rows()
        self.assertEqual(values, [("SOFTWARE\\Quillex\\TW6", "SentBackToHost.Audition", 4, "01000000")])
        self.assertEqual(keys, ["SOFTWARE", "SOFTWARE\\Quillex", "SOFTWARE\\Quillex\\TW6"])
        self.assertIsNone(self.plugin.editor_request(timeout_ms=300))


class BadRequests(RunningStandin):
    def test_every_request_is_answered_and_bad_ones_with_false(self):
        cases = [
            ([b"IPC_EnumMessage", bytes.fromhex("93c1")], REPLY_FALSE),
            ([b"IPC_EnumMessage", bytes.fromhex("9303ce3355463001")], REPLY_FALSE),
            ([b"IPC_Hello", ENUM_1], REPLY_FALSE),
            ([b"IPC_EnumMessage", ENUM_1, b"extra"], REPLY_FALSE),
            ([b"IPC_EnumMessage"], REPLY_FALSE),
            ([b"IPC_EnumMessage", enum_body("02")], REPLY_TRUE),
        ]
        for frames, answer in cases:
            self.assertEqual(self.plugin.ask(frames), [b"IPC_SimpleReply", answer], frames)
        self.standin.expect(re.escape("RECV request frames=3 IPC_EnumMessage | 93 02 ce 33 55 46 30 01 | 65 78 74 72 61"))
        self.standin.expect(re.escape("RECV request frames=1 IPC_EnumMessage -- 1 frames, not 2"))

    def test_notices_are_logged_with_their_bytes(self):
        self.plugin.push.send_multipart([b"IPC_EnumMessage", enum_body("05")])
        self.standin.expect(re.escape("RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 05 -- enum 5"))


class Commands(RunningStandin):
    def test_editor_requests_go_out_with_the_documented_bytes(self):
        cases = [
            ("discard", [b"IPC_EnumMessage", enum_body("03")]),
            ("clear", [b"IPC_EnumMessage", enum_body("00")]),
            ("repaired", [b"IPC_EnumMessage", enum_body("04")]),
            ("count 16", [b"IPC_UIntMessage", bytes.fromhex("9402ce335546300010")]),
            ("uint 7 300", [b"IPC_UIntMessage", bytes.fromhex("9402ce3355463007cd012c")]),
            ("enum -1", [b"IPC_EnumMessage", enum_body("ff")]),
        ]
        for line, frames in cases:
            self.standin.command(line)
            self.assertEqual(self.plugin.editor_request(), frames, line)
            self.standin.expect(re.escape("RECV editor-reply frames=2 IPC_SimpleReply | 91 c3"))

    def test_bad_commands_are_reported_and_change_nothing(self):
        for line in ("count", "count many", "fly", "enum 1 2"):
            self.standin.command(line)
            self.standin.expect(r"^BAD COMMAND " + re.escape(line))
        self.assertIsNone(self.plugin.editor_request(timeout_ms=200))

    def test_an_unanswered_editor_request_does_not_stop_the_next_one(self):
        self.standin.stop()
        self.standin = self.start("--folder", self.folder, "--reply-timeout", "0.2")
        self.plugin.close()
        self.plugin = PluginSide(self.standin.endpoints)
        self.addCleanup(self.plugin.close)
        self.standin.command("discard")
        self.assertEqual(self.plugin.editor_request(answer=False), [b"IPC_EnumMessage", enum_body("03")])
        self.standin.expect(r"^TIMEOUT editor-request")
        self.standin.command("clear")
        self.standin.expect(re.escape("SENT editor-request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 00"))
        # The late answer to the first request is dropped; the second one is read.
        self.plugin.reply.send_multipart([b"IPC_SimpleReply", REPLY_FALSE])
        self.assertEqual(self.plugin.editor_request(), [b"IPC_EnumMessage", enum_body("00")])
        self.standin.expect(re.escape("RECV editor-reply frames=2 IPC_SimpleReply | 91 c3"))
        self.assertFalse([line for line in self.standin.log if "91 c2" in line])


class NeverAnswer(RunningStandin):
    arguments = ("--never-answer",)

    def test_requests_are_logged_but_never_answered(self):
        self.capture("Pro Tools 1 [tw-relay] 1 captured.wav")
        self.assertIsNone(self.plugin.ask([b"IPC_EnumMessage", ENUM_1], timeout_ms=300))
        self.standin.expect(re.escape("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01"))
        # The plug-in gives up and comes back with a fresh request socket.
        self.plugin.request.close(0)
        self.plugin.request = self.plugin.socket(zmq.REQ, self.standin.endpoints["request"])
        self.assertIsNone(self.plugin.ask([b"IPC_EnumMessage", ENUM_1], timeout_ms=300))
        self.standin.expect(re.escape("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01"))
        self.assertEqual([n for n in os.listdir(self.folder) if "repaired" in n], [])


class Lifecycle(unittest.TestCase):
    def setUp(self):
        self.home = tempfile.mkdtemp(prefix="standin-")
        self.addCleanup(shutil.rmtree, self.home)

    def test_help_describes_the_options_and_the_commands(self):
        result = subprocess.run([STANDIN, "--help"], capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 0)
        for text in ("--never-answer", "--once", "--folder", "count N", "SentBackToHost", "32-bit float"):
            self.assertIn(text, result.stdout)

    def test_once_mode_stops_after_the_first_repair_is_announced(self):
        folder = os.path.join(self.home, "shuttle")
        os.makedirs(folder)
        soundfile.write(os.path.join(folder, "Pro Tools 1 [tw-relay] 1 captured.wav"),
                        numpy.zeros((10, 2), numpy.float32), 48000, subtype="FLOAT")
        standin = StandinProcess(self.home, "--folder", folder, "--once")
        self.addCleanup(standin.stop)
        plugin = PluginSide(standin.endpoints)
        self.addCleanup(plugin.close)
        plugin.ask([b"IPC_EnumMessage", ENUM_1])
        self.assertIsNotNone(plugin.editor_request())
        self.assertEqual(standin.process.wait(10), 0)

    def test_the_shuttle_folder_follows_the_session_folder_of_the_settings_store(self):
        standin = StandinProcess(self.home, "--max-seconds", "0.1")
        self.assertEqual(standin.folder,
                         self.home + "/data/Quillex/VU 6 Verov Edodod Session Data/Relay")
        standin.stop()
        store = load_standin().SettingsStore(os.path.join(self.home, "config", "Quillex", "registry.sqlite3"))
        connection = store._open()
        connection.execute("INSERT INTO registry_values VALUES (?, ?, 1, ?)",
                           ("software\\quillex\\vo6\\option", "SessionDataFolder",
                            "D:\\Sessions\\".encode("utf-16-le") + b"\0\0"))
        connection.close()
        standin = StandinProcess(self.home, "--max-seconds", "0.1")
        self.assertEqual(standin.folder, "D:/Sessions/Relay")
        standin.stop()

    def test_a_taken_port_is_a_clear_error(self):
        context = zmq.Context()
        self.addCleanup(context.destroy, 0)
        taken = context.socket(zmq.REP)
        self.addCleanup(taken.close, 0)
        port = taken.bind_to_random_port("tcp://127.0.0.1")
        result = subprocess.run([STANDIN, "--request-port", str(port), "--reply-port", "0", "--push-port", "0"],
                                capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot bind the editor endpoints", result.stderr)


if __name__ == "__main__":
    unittest.main()
