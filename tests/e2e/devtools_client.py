#!/usr/bin/python3
"""A tiny DevTools protocol client for the end-to-end tests (standard library only).

Usage:
  devtools_client.py PORT wait-pages N            wait until N page targets have loaded
  devtools_client.py PORT open URL                opens one more page
  devtools_client.py PORT eval TITLE EXPRESSION   evaluate in the page whose title starts
                                                  with TITLE; prints the JSON value
  devtools_client.py PORT frame-eval TITLE EXPR  the same in that page's first out-of-process frame
  devtools_client.py PORT frame-url-eval TITLE URLPART EXPR
                                                  the same in the frame of that page whose address
                                                  holds URLPART, of whatever origin or process
  devtools_client.py PORT crash-frames TITLE      crashes the renderer of the out-of-process
                                                  frames of that page
Talks to 127.0.0.1 only.
"""
import base64
import json
import os
import socket
import struct
import sys
import time
import urllib.request

HOST = "127.0.0.1"


def targets(port):
    with urllib.request.urlopen("http://%s:%d/json/list" % (HOST, port), timeout=5) as r:
        return json.loads(r.read().decode("utf-8"))


class Socket:
    def __init__(self, port, path, timeout=10):
        self.s = socket.create_connection((HOST, port), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self.s.sendall(("GET %s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\n"
                        "Connection: Upgrade\r\nSec-WebSocket-Key: %s\r\n"
                        "Sec-WebSocket-Version: 13\r\n\r\n" % (path, HOST, port, key)).encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.s.recv(1)
            if not chunk:
                raise IOError("handshake failed")
            head += chunk
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise IOError("handshake refused: %r" % head)
        self.next_id = 0
        self.events = []

    def _exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.s.recv(n - len(data))
            if not chunk:
                raise IOError("closed")
            data += chunk
        return data

    def send(self, text):
        payload = text.encode("utf-8")
        head = bytes([0x81])
        n = len(payload)
        if n < 126:
            head += bytes([0x80 | n])
        elif n < 65536:
            head += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            head += bytes([0x80 | 127]) + struct.pack(">Q", n)
        mask = os.urandom(4)
        self.s.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def receive(self):
        message = b""
        while True:
            b0, b1 = self._exact(2)
            n = b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exact(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exact(8))[0]
            data = self._exact(n)
            if (b0 & 0x0F) == 8:
                raise IOError("closed by the browser")
            message += data
            if b0 & 0x80:
                return json.loads(message.decode("utf-8"))

    def call(self, method, params=None, session=None):
        self.next_id += 1
        msg = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            msg["sessionId"] = session
        self.send(json.dumps(msg))
        while True:
            reply = self.receive()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise IOError("%s: %s" % (method, reply["error"]))
                return reply["result"]
            if "method" in reply:
                self.events.append(reply)


def page(port, title):
    for t in targets(port):
        if t.get("type") == "page" and t.get("title", "").startswith(title):
            path = "/" + t["webSocketDebuggerUrl"].split("/", 3)[3]
            return Socket(port, path)
    raise IOError("no page titled %r" % title)


def main():
    port = int(sys.argv[1])
    command = sys.argv[2]
    if command == "wait-pages":
        want = int(sys.argv[3])
        deadline = time.time() + 30
        while time.time() < deadline:
            try:
                pages = [t for t in targets(port) if t.get("type") == "page"]
                if len(pages) >= want and all(
                        page(port, p["title"]).call("Runtime.evaluate", {
                            "expression": "document.readyState", "returnByValue": True
                        })["result"]["value"] == "complete" for p in pages):
                    return 0
            except (IOError, OSError, ValueError, KeyError):
                pass
            time.sleep(0.2)
        return 1
    if command == "open":
        request = urllib.request.Request("http://%s:%d/json/new?%s" % (HOST, port, sys.argv[3]), method="PUT")
        with urllib.request.urlopen(request, timeout=5) as r:
            r.read()
        return 0
    if command == "eval":
        ws = page(port, sys.argv[3])
        result = ws.call("Runtime.evaluate", {"expression": sys.argv[4], "returnByValue": True})
        print(json.dumps(result["result"].get("value"), ensure_ascii=False))
        return 0
    if command == "frame-eval":
        ws = page(port, sys.argv[3])
        ws.call("Target.setAutoAttach",
                {"autoAttach": True, "waitForDebuggerOnStart": False, "flatten": True})
        session = [e["params"]["sessionId"] for e in ws.events
                   if e.get("method") == "Target.attachedToTarget"][0]
        result = ws.call("Runtime.evaluate", {"expression": sys.argv[4], "returnByValue": True}, session)
        print(json.dumps(result["result"].get("value"), ensure_ascii=False))
        return 0
    if command == "frame-url-eval":
        ws = page(port, sys.argv[3])
        ws.call("Target.setAutoAttach",
                {"autoAttach": True, "waitForDebuggerOnStart": False, "flatten": True})
        sessions = [None] + [e["params"]["sessionId"] for e in ws.events
                             if e.get("method") == "Target.attachedToTarget"]

        def find(tree):
            if sys.argv[4] in tree["frame"].get("url", "") and tree["frame"].get("parentId"):
                return tree["frame"]["id"]
            for child in tree.get("childFrames", []):
                found = find(child)
                if found:
                    return found
            return None

        for session in sessions:
            frame = find(ws.call("Page.getFrameTree", {}, session)["frameTree"])
            if frame:
                world = ws.call("Page.createIsolatedWorld", {"frameId": frame}, session)
                result = ws.call("Runtime.evaluate", {"expression": sys.argv[5], "returnByValue": True,
                                                      "contextId": world["executionContextId"]}, session)
                print(json.dumps(result["result"].get("value"), ensure_ascii=False))
                return 0
        raise IOError("no frame at %r" % sys.argv[4])
    if command == "crash-frames":
        ws = page(port, sys.argv[3])
        ws.call("Target.setAutoAttach",
                {"autoAttach": True, "waitForDebuggerOnStart": False, "flatten": True})
        # The attach events of the frames that exist come before the reply.
        sessions = [e["params"]["sessionId"] for e in ws.events
                    if e.get("method") == "Target.attachedToTarget"]
        for session in sessions:
            ws.next_id += 1
            ws.send(json.dumps({"id": ws.next_id, "method": "Page.crash", "sessionId": session}))
        time.sleep(1)
        print(len(sessions))
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
