#!/usr/bin/python3
"""A measurement service for the tests: Python's own HTTP server on 127.0.0.1
and an ephemeral port.

Prints "READY port=N", then one JSON line per request it receives (method,
path, version, headers, body), written before it answers. Commands on standard
input, one a line:
  mode reply    answer 200 with a body of --reply-size bytes (the default)
  mode hold     answer only after "release"
  mode silent   never answer; keep the connection open
  mode cut      promise a body, send part of it, close the connection
  mode garbage  answer a line that is no HTTP reply, then close
  mode close    close the connection without a word
  release       let every held request answer
Each command is acknowledged with "OK " and the command once it holds. Ends at the end of its input or on SIGTERM.
"""
import argparse
import http.server
import json
import signal
import sys
import threading


class State:
    def __init__(self, reply_size):
        self.mode = "reply"
        self.reply_size = reply_size
        self.released = threading.Event()
        self.ending = threading.Event()
        self.print_lock = threading.Lock()


def make_handler(state):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def do_POST(self):
            length = int(self.headers.get("Content-Length", "0"))
            body = self.rfile.read(length).decode("utf-8", "replace")
            record = {"method": "POST", "path": self.path, "version": self.request_version,
                      "headers": {k.lower(): v for k, v in self.headers.items()}, "body": body}
            mode = state.mode
            with state.print_lock:
                print(json.dumps(record), flush=True)
            if mode == "hold":
                state.released.wait()
            elif mode == "silent":
                state.ending.wait()
                return
            if mode == "close":
                self.close_connection = True
                return
            if mode == "garbage":
                self.wfile.write(b"this is no reply\r\n\r\n")
                self.close_connection = True
                return
            payload = b"x" * state.reply_size
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(payload)))
            self.end_headers()
            if mode == "cut":
                self.wfile.write(payload[: len(payload) // 10])
                self.wfile.flush()
                self.close_connection = True
                return
            self.wfile.write(payload)

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--reply-size", type=int, default=100000)
    args = parser.parse_args()
    state = State(args.reply_size)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler(state))
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"READY port={server.server_address[1]}", flush=True)
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["mode"] and len(words) == 2:
            state.mode = words[1]
            state.released.clear()
        elif words == ["release"]:
            state.released.set()
        else:
            continue
        with state.print_lock:
            print("OK " + " ".join(words), flush=True)
    state.ending.set()


if __name__ == "__main__":
    main()
