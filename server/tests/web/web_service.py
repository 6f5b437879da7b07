"""The real qinglan-caseservice on 127.0.0.1 for the web tests, and the two clients they compare:
the JSON endpoints under /api/ as the page calls them, and the desktop protocol written out
independently (form posts, the double-MD5 digest, "<t>" fields)."""
import hashlib
import http.client
import json
import os
import ssl
import subprocess
import tempfile
import urllib.parse
import urllib.request


def digest(password):
    md5 = lambda text: hashlib.md5(text.encode()).hexdigest().upper()
    return md5(md5(password))


class Reply:
    def __init__(self, status, headers, body):
        self.status, self.headers, self.body = status, headers, body

    def json(self):
        return json.loads(self.body)


class Service:
    """Started on a free port over a fresh SQLite file; stopped by stop()."""

    def __init__(self, binary, cli, tls=False):
        self.cli = cli
        self.dir = tempfile.TemporaryDirectory(prefix="qinglan-web-")
        arguments = [binary, "--listen", "127.0.0.1:0", "--db", os.path.join(self.dir.name, "cases.db"),
                     "--pwhash-limits", "minimum"]
        if tls:  # a certificate of its own for 127.0.0.1
            cert, key = os.path.join(self.dir.name, "cert.pem"), os.path.join(self.dir.name, "key.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                            "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                           check=True, capture_output=True)
            arguments += ["--tls-cert", cert, "--tls-key", key]
        self.process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline()  # the start-up line, once it listens
        if "listening on http" not in line:
            self.stop()
            raise RuntimeError("the service did not start: " + line)
        self.base = line.split("listening on ")[1].split("/ ")[0]

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()
        self.dir.cleanup()

    # The JSON endpoints, without following redirects. OVERSIZED is a POST announcing a body
    # past the service's 1 MiB limit, answered before it is sent.
    def request(self, method, path, body=None, cookie=None, csrf=None, content_type="application/json"):
        host = self.base.split("//")[1]
        if self.base.startswith("https"):
            connection = http.client.HTTPSConnection(host, timeout=30, context=ssl._create_unverified_context())
        else:
            connection = http.client.HTTPConnection(host, timeout=30)
        headers = {}
        data = None if body is None else (body if isinstance(body, bytes) else json.dumps(body).encode())
        if data is not None or method == "OVERSIZED":
            headers["Content-Type"] = content_type
        if cookie:
            headers["Cookie"] = cookie
        if csrf:
            headers["X-CSRF-Token"] = csrf
        if method == "OVERSIZED":
            connection.putrequest("POST", path)
            for name, value in list(headers.items()) + [("Content-Length", str(1024 * 1024 + 1))]:
                connection.putheader(name, value)
            connection.endheaders()
        else:
            connection.request(method, path, body=data, headers=headers)
        answer = connection.getresponse()
        reply = Reply(answer.status, answer.headers, answer.read().decode())
        connection.close()
        return reply

    def web_login(self, name, password):
        """The cookie (name=value) and the CSRF token of a login by the page."""
        reply = self.request("POST", "/api/login", {"name": name, "password": password})
        assert reply.status == 200, reply.body
        return reply.headers["Set-Cookie"].split(";")[0], reply.json()["csrf"]

    # The desktop protocol.
    def post(self, endpoint, fields):
        body = "&".join(name + "=" + urllib.parse.quote(value, safe="") for name, value in fields)
        request = urllib.request.Request(self.base + "/" + endpoint, data=body.encode(), method="POST")
        with urllib.request.urlopen(request, timeout=30, context=ssl._create_unverified_context()) as answer:
            return answer.read().decode(), answer.headers.get("X-Qinglan-Session", "")

    def register(self, name, password):
        reply, _ = self.post("reg.php", [("nm", name), ("pw", digest(password)), ("shouji", "13800000000"),
                                         ("youxiang", "")])
        assert reply == "ok", reply

    def desktop_login(self, name, password):
        reply, token = self.post("login.php", [("nm", name), ("pw", digest(password))])
        assert reply.startswith("ok"), reply
        return token

    def run_cli(self, *args):
        """The standard output of qinglan-cli over a data root of its own."""
        return subprocess.run([self.cli, *args, "--create", "--data-dir", os.path.join(self.dir.name, "cli")],
                              capture_output=True, text=True, check=True).stdout

    def cli_chart(self, case_number):
        return json.loads(self.run_cli("chart", "--json", case_number))

    def cli_report(self, case_number):
        return self.run_cli("analyse", case_number).splitlines()
