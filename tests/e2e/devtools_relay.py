#!/usr/bin/python3
"""A stand-in for a browser in its own-profile debugging mode, in front of a real one.

Usage: devtools_relay.py BROWSER_PORT COUNT_FILE [DELAY_SECONDS]

Listens on a free port of 127.0.0.1 and prints it. Plain HTTP requests (/json/list,
/json/version) are answered 404, as such a browser answers them. A WebSocket upgrade is
counted (the count is written to COUNT_FILE), held DELAY_SECONDS as the browser holds it
while its user decides, then passed through to BROWSER_PORT byte for byte.
Talks to 127.0.0.1 only; ends when its parent ends it.
"""
import socket
import sys
import threading
import time

HOST = "127.0.0.1"
browser_port = int(sys.argv[1])
count_file = sys.argv[2]
delay = float(sys.argv[3]) if len(sys.argv) > 3 else 0.0
upgrades = 0
lock = threading.Lock()


def pipe(source, sink):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            sink.sendall(data)
    except OSError:
        pass
    for s in (source, sink):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def serve(client):
    global upgrades
    head = b""
    while b"\r\n\r\n" not in head:
        chunk = client.recv(4096)
        if not chunk:
            client.close()
            return
        head += chunk
    if b"upgrade: websocket" not in head.lower():
        client.sendall(b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
        client.close()
        return
    with lock:
        upgrades += 1
        with open(count_file, "w") as f:
            f.write("%d\n" % upgrades)
    time.sleep(delay)
    browser = socket.create_connection((HOST, browser_port))
    browser.sendall(head)
    threading.Thread(target=pipe, args=(browser, client), daemon=True).start()
    pipe(client, browser)


listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind((HOST, 0))
listener.listen(16)
with open(count_file, "w") as f:
    f.write("0\n")
print(listener.getsockname()[1], flush=True)
while True:
    connection, _ = listener.accept()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
