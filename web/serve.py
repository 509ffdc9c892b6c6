#!/usr/bin/python3
"""Serves the web edition's site on this machine only.

    serve.py DIR [PORT]

Listens on 127.0.0.1, on PORT, or else on the first free port from 8000 to
8019, or else on any free one, and prints the address of the index on one
line. Ctrl-C stops it. --quiet leaves out the line per request.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    # The type that lets a browser compile the module while it downloads.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{'.wasm': 'application/wasm', '.js': 'text/javascript'})
    quiet = False

    def end_headers(self):
        # A rebuilt site is seen at once.
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)


def main():
    args = [a for a in sys.argv[1:] if a != '--quiet']
    Handler.quiet = len(args) != len(sys.argv) - 1
    if not 1 <= len(args) <= 2:
        sys.exit('usage: serve.py DIR [PORT] [--quiet]')
    handler = functools.partial(Handler, directory=args[0])
    ports = [int(args[1])] if len(args) == 2 else list(range(8000, 8020)) + [0]
    for port in ports:
        try:
            server = http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)
            break
        except OSError:
            if port == ports[-1]:
                raise
    print('Serving %s at http://127.0.0.1:%d/ (Ctrl-C to stop)' % (args[0], server.server_port), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
