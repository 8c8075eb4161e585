"""A small FTP server on 127.0.0.1 for the update tests: anonymous, passive mode only,
read-only, serving the files of a folder; a missing file gets 550. Prints its port, then
serves until it is stopped."""
import os
import socket
import sys
import threading


def serve_client(control, root):
    reader = control.makefile("rb")

    def reply(text):
        control.sendall((text + "\r\n").encode())

    reply("220 ready")
    cwd = "/"
    passive = None
    while True:
        line = reader.readline()
        if not line:
            break
        command, _, argument = line.decode("utf-8", "replace").strip().partition(" ")
        command = command.upper()
        if command == "USER":
            reply("331 any password")
        elif command == "PASS":
            reply("230 logged in")
        elif command == "PWD":
            reply('257 "%s"' % cwd)
        elif command == "CWD":
            target = os.path.normpath(os.path.join(cwd, argument))
            if os.path.isdir(os.path.join(root, target.lstrip("/"))):
                cwd = target
                reply("250 ok")
            else:
                reply("550 no such folder")
        elif command == "TYPE":
            reply("200 ok")
        elif command in ("EPSV", "PASV"):
            passive = socket.socket()
            passive.bind(("127.0.0.1", 0))
            passive.listen(1)
            port = passive.getsockname()[1]
            if command == "EPSV":
                reply("229 passive (|||%d|)" % port)
            else:
                reply("227 passive (127,0,0,1,%d,%d)" % (port >> 8, port & 255))
        elif command in ("SIZE", "RETR", "MDTM"):
            path = os.path.join(root, os.path.normpath(os.path.join(cwd, argument)).lstrip("/"))
            if not os.path.isfile(path):
                reply("550 no such file")
            elif command == "SIZE":
                reply("213 %d" % os.path.getsize(path))
            elif command == "MDTM":
                reply("213 20240315102030")
            elif passive is None:
                reply("425 no data connection")
            else:
                reply("150 sending")
                data, _ = passive.accept()
                with open(path, "rb") as source:
                    data.sendall(source.read())
                data.close()
                passive.close()
                passive = None
                reply("226 done")
        elif command == "QUIT":
            reply("221 bye")
            break
        else:
            reply("502 not here")
    control.close()


def main():
    root = sys.argv[1]
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(5)
    print(server.getsockname()[1], flush=True)
    while True:
        control, _ = server.accept()
        threading.Thread(target=serve_client, args=(control, root), daemon=True).start()


main()
