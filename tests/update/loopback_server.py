"""A web server on 127.0.0.1 for the update tests: serves the files of a folder, stalls on
paths below /stall/, cuts the body short below /cut/, answers /redirect/PATH with a redirect
to /PATH and /status/CODE/... with that status and a page. Prints its port, then serves
until it is stopped."""
import http.server
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path.startswith("/stall/"):
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"x" * 10)
            self.wfile.flush()
            time.sleep(60)
            return
        if self.path.startswith("/cut/"):
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(b"y" * 5000)
            self.wfile.flush()
            self.close_connection = True
            return
        if self.path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", self.path[len("/redirect"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path.startswith("/status/"):
            code = int(self.path.split("/")[2])
            page = b"<html>status %d</html>" % code
            self.send_response(code)
            self.send_header("Content-Length", str(len(page)))
            self.end_headers()
            self.wfile.write(page)
            return
        super().do_GET()


def main():
    os.chdir(sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


main()
