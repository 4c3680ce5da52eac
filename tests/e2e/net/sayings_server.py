#!/usr/bin/env python3
"""A stand-in for the sayings web site, for the end-to-end scenarios.

Serves one page, /inspiration.html, over HTTP/1.0 and closes each connection
after its response. Every connection's received bytes are kept, exactly as
they arrived, in a file of their own (request-1.bin, request-2.bin, ... in
the log folder), so that a test can compare the request byte for byte.

Standard library only. Meant to run inside a private network namespace where
the site's names resolve to 127.0.0.1 (see in_netns.sh).

Usage: sayings_server.py --log-dir DIR [--address A] [--port P] [--ready FILE]
                         [--trickle SECONDS]
The ready file is written once the socket listens. --trickle: see trickle().
"""

import argparse
import itertools
import os
import select
import socket
import sys
import time

# The page as the site would serve it. The body tag is in capitals and has an
# attribute; the saying stays on the body tag's line and the page ends without
# a line break, so that nothing of the saying depends on how a one-line text
# box treats line breaks. Its saying, worked out by hand:
#   the body tag and the blank after its ">" are cut away;
#   "Work &amp; rest make a " stays as it is (no entity is decoded);
#   each of the eight tag boundaries of <b>, </b>, </body> and </html> gives
#   one blank, and the tag names go;
# giving "Work &amp; rest make a   good   day.    " (three blanks before and
# after "good", four at the end).
PAGE = (
    b"<html>\r\n"
    b"<head><title>Sayings of the day</title></head>\r\n"
    b'<BODY bgcolor="white"> Work &amp; rest make a <b>good</b> day.</body></html>'
)

# How long to keep listening for more request bytes after the blank line that
# ends the header block, and after the response, before the connection is
# closed. A client that sends anything beyond the four lines shows up in the
# log.
LINGER_SECONDS = 0.3
# A request that never completes its header block is given up after this.
REQUEST_TIMEOUT_SECONDS = 10.0


# What a trickling site sends, over and over, a byte at a time: a body tag, a
# line break, plain words. Its saying is what arrived after the first 7 bytes.
TRICKLE = b"<body>\nSlow and steady wins the race. "


def trickle(connection, period, sent_path):
    """Sends TRICKLE a byte every `period` seconds for ever, the first half a
    period after the request (so that a client's time limit counted from then
    never falls on a byte), adding each to `sent_path`, until the client closes."""
    started, wait = time.monotonic(), period / 2
    for byte in itertools.cycle(TRICKLE):
        if select.select([connection], [], [], wait)[0]:  # it sends nothing more: closed
            break
        connection.sendall(bytes([byte]))
        with open(sent_path, "ab") as sent:
            sent.write(bytes([byte]))
        wait = period
    print("sayings_server: the client closed after %.1f s" % (time.monotonic() - started),
          file=sys.stderr)


def response_bytes(request):
    """The whole response for the bytes of one request."""
    first_line = request.split(b"\r\n", 1)[0]
    parts = first_line.split(b" ")
    target = parts[1] if len(parts) >= 2 else b""
    if parts[0] == b"GET" and target.endswith(b"/inspiration.html"):
        status, body = b"200 OK", PAGE
    else:
        status, body = b"404 Not Found", b"<html><body>\r\nNot found\r\n</body></html>\r\n"
    head = (
        b"HTTP/1.0 " + status + b"\r\n"
        b"Content-Type: text/html\r\n"
        b"Content-Length: " + str(len(body)).encode() + b"\r\n"
        b"\r\n"
    )
    return head + body


def receive_until(connection, received, done, timeout):
    """Appends to `received` until done(received) or `timeout` seconds without data
    or the peer closes. Returns False when the peer has closed."""
    while not done(received):
        readable, _, _ = select.select([connection], [], [], timeout)
        if not readable:
            return True
        chunk = connection.recv(65536)
        if not chunk:
            return False
        received += chunk
    return True


def serve_connection(connection, log_path, trickle_period=None):
    received = bytearray()
    connection.setblocking(True)
    try:
        open_ = receive_until(connection, received, lambda r: b"\r\n\r\n" in r,
                              REQUEST_TIMEOUT_SECONDS)
        if open_ and trickle_period:
            trickle(connection, trickle_period, log_path.replace("request-", "sent-"))
            return
        if open_:
            # Anything sent after the blank line belongs to the log as well.
            open_ = receive_until(connection, received, lambda r: False, LINGER_SECONDS)
        if b"\r\n\r\n" in received:
            connection.sendall(response_bytes(bytes(received)))
        try:
            connection.shutdown(socket.SHUT_WR)
        except OSError:
            pass
        if open_:
            receive_until(connection, received, lambda r: False, LINGER_SECONDS)
    except OSError as error:
        print("sayings_server: %s" % error, file=sys.stderr)
    finally:
        connection.close()
        # Written whole and then renamed, so a reader never sees half a log.
        with open(log_path + ".part", "wb") as log:
            log.write(bytes(received))
        os.replace(log_path + ".part", log_path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=80)
    parser.add_argument("--log-dir", required=True)
    parser.add_argument("--ready")
    parser.add_argument("--trickle", type=float, metavar="SECONDS")
    options = parser.parse_args()

    os.makedirs(options.log_dir, exist_ok=True)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((options.address, options.port))
    listener.listen(8)
    if options.ready:
        with open(options.ready, "w") as ready:
            ready.write("%d\n" % listener.getsockname()[1])

    count = 0
    while True:
        connection, _ = listener.accept()
        count += 1
        serve_connection(connection, os.path.join(options.log_dir, "request-%d.bin" % count),
                         options.trickle)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        pass
