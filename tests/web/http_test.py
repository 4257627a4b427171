"""`zentoria serve` as an HTTP client sees it: the gate and the session cookie, the
security headers on every answer, escaping, 400s in Italian, listening and TLS rules, a
slow client cut off, the JSON twins against the command line."""
import concurrent.futures
import http.client
import json
import os
import pathlib
import re
import socket
import ssl
import subprocess
import sys
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(__file__))
import webtest  # noqa: E402


def request(base, method, path, body=None, headers=None, context=None, source=None):
    """One request on a connection of its own, from the address `source` if given:
    (status, headers in lower case, Set-Cookie, body)."""
    u = urllib.parse.urlsplit(base)
    if u.scheme == "https":
        c = http.client.HTTPSConnection(u.hostname, u.port, context=context, timeout=60)
    else:
        c = http.client.HTTPConnection(u.hostname, u.port, timeout=60, source_address=(source, 0) if source else None)
    h = dict(headers or {})
    if body is not None:
        h["Content-Type"] = "application/x-www-form-urlencoded"
    c.request(method, path, body=body, headers=h)
    r = c.getresponse()
    text = r.read().decode("utf-8", "replace")
    c.close()
    return r.status, {k.lower(): v for k, v in r.getheaders()}, r.getheader("Set-Cookie"), text


def columns(row):
    """A chain row's fifteen columns as sorted: name, the twelve months, total, change."""
    return [row["nome"], *(m or 0 for m in row["mesi"]), row["totale"], row["variazione"]]


class Demo(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = cls.enterClassContext(webtest.demo())
        webtest.sql(os.path.join(cls.dir, "AnagraficaHotels.mdb"),
                    "UPDATE AnagraficaHotels SET RagioneSociale = '<script>alert(1)</script>' WHERE Numero = 2")
        cls.year = str(time.gmtime().tm_year - 1)
        cls.q = f"statistica=Presenze&dettaglio=Generale&anno={cls.year}"
        cls.base, _ = cls.enterClassContext(webtest.server(cls.dir))

    def json(self, path):
        return json.loads(request(self.base, "GET", path)[3])

    def test_every_answer_carries_the_security_headers(self):
        for path in ["/grid", "/chain", "/api/grid", "/stile.css", "/grid?x=1", "/nessuna", "/login",
                     f"/report?hotel=1&anno={self.year}"]:
            status, h, _, _ = request(self.base, "GET", path)
            csp = h.get("content-security-policy", "")
            with self.subTest(path=path, status=status):
                self.assertIn("default-src 'none'", csp)
                self.assertIn("frame-ancestors 'none'", csp)
                self.assertNotIn("unsafe-inline", csp)
                self.assertNotIn("http", csp)
                self.assertEqual(h.get("x-content-type-options"), "nosniff")

    def test_a_hostile_hotel_name_shows_as_text(self):
        for path in [f"/grid?hotel=2&{self.q}", f"/chain?{self.q}", f"/grid?hotel=2&{self.q}&confronto=2024"]:
            status, _, _, body = request(self.base, "GET", path)
            self.assertEqual(status, 200, path)
            self.assertNotIn("<script>", body)
            self.assertIn("&lt;script&gt;alert(1)&lt;/script&gt;", body)
        _, _, _, body = request(self.base, "GET", f"/api/chain?{self.q}")
        self.assertNotIn("<script>", body)
        self.assertEqual(json.loads(body)["righe"][1]["nome"], "  2 <script>alert(1)</script>")

    def test_wrong_parameters_get_400_in_italian_never_500(self):
        q = self.q
        cases = [
            (f"/grid?hotel=abc&{q}", "hotel"), (f"/grid?hotel=99&{q}", "Nessun albergo"),
            ("/grid?hotel=1&statistica=%27%3B%20DROP%20TABLE%20Dettaglio--", "Statistica non disponibile"),
            ("/grid?hotel=1&statistica=Presenze&dettaglio=..%2F..%2Fetc%2Fpasswd", "Dettaglio non disponibile"),
            ("/grid?hotel=1&anno=20x4", "Anno non valido"), (f"/grid?hotel=1&{q}&colore=rosso", "Parametro sconosciuto"),
            ("/grid?hotel=1&hotel=2", "Parametro ripetuto"), (f"/grid?hotel=1&{q}&confronto=ieri", "Anno non valido"),
            (f"/grid?hotel=1&{q}&rapporto=Niente", "non disponibile"), (f"/grid?hotel=1&{q}&grafico=12", "grafico"),
            (f"/report?hotel=1&{q}&format=exe", "Formato non valido"), (f"/chain?{q}&ordina=15", "ordina"),
            (f"/chain?{q}&verso=x", "verso"), ("/chain?statistica=Presenze&dettaglio=Nessuno", "Dettaglio sconosciuto"),
            ("/api/grid?hotel=abc", "hotel"), (f"/api/chain?{q}&pagina=2", "Parametro sconosciuto"),
        ]
        for path, words in cases:
            status, h, _, body = request(self.base, "GET", path)
            with self.subTest(path=path):
                self.assertEqual(status, 400, body[-300:])
                self.assertIn(words, body)
        status, _, _, _ = request(self.base, "GET", "/grid?hotel=1&anno=" + "9" * 9000)
        self.assertIn(status, (400, 414))
        status, _, _, _ = request(self.base, "POST", "/login", body="password=" + "x" * 10000)
        self.assertIn(status, (400, 413))

    def test_the_json_twins_hold_what_the_command_line_prints(self):
        production = f"statistica=Produzione&dettaglio=1&anno={self.year}"
        for hotel in (1, 2):
            status, h, _, body = request(self.base, "GET", f"/api/grid?hotel={hotel}&{production}")
            self.assertEqual(status, 200)
            self.assertTrue(h["content-type"].startswith("application/json"))
            g = json.loads(body)
            printed = webtest.grid(self.dir, hotel, "Produzione", "1", self.year)
            self.assertEqual(g["testi"], printed)
            self.assertEqual(g["mesi"], [round(webtest.italian(t), 2) if t != "0" else 0 for t in printed])
        # The chart's coordinates are numbers with "." whatever the server's locale.
        page = request(self.base, "GET", f"/grid?hotel=1&{production}")[3]
        self.assertEqual(len(re.findall(r'<rect x="[0-9.]+" y="[0-9.]+" width="[0-9.]+" height="[0-9.]+"', page)), 12)
        c = self.json(f"/api/chain?{self.q}")
        for m in range(12):
            self.assertEqual(c["totale"]["mesi"][m], sum(r["mesi"][m] or 0 for r in c["righe"]))
        cli = webtest.run(self.dir, "chain", "Presenze", "Generale", self.year).stdout.splitlines()
        self.assertEqual(cli[1].split("\t")[-1], str(round(c["righe"][0]["variazione"])))

    def test_requests_at_once_get_their_own_answers_and_leave_the_folders_report_alone(self):
        # Each answer equals the one given alone; a report never goes to the folder's report file.
        sentinel = pathlib.Path(self.dir, "fd")
        sentinel.write_bytes(b"stampa del direttore\r\n")
        paths = [f"/api/grid?hotel={h}&statistica={s}&dettaglio={d}&anno={self.year}"
                 for h in (1, 2) for s, d in (("Produzione", "1"), ("Presenze", "Generale"))]
        paths += [f"/api/chain?{self.q}", f"/report?hotel=1&{self.q}",
                  f"/report?hotel=2&statistica=Produzione&dettaglio=1&anno={self.year}&format=csv"]
        alone = {p: request(self.base, "GET", p)[3] for p in paths}
        with concurrent.futures.ThreadPoolExecutor(12) as pool:
            answers = list(pool.map(lambda p: (p, request(self.base, "GET", p)), paths * 8))
        for path, (status, _, _, body) in answers:
            self.assertEqual(status, 200, path)
            if not path.startswith("/report"):
                self.assertEqual(body, alone[path], path)
            else:  # the title line carries the time to the minute
                self.assertEqual(body.splitlines()[2:], alone[path].splitlines()[2:], path)
        self.assertIn("Presenze", alone[paths[-2]])
        self.assertEqual(sentinel.read_bytes(), b"stampa del direttore\r\n")
        self.assertEqual([n for n in os.listdir(self.dir) if n.lower() == "fd.csv"], [])

    def test_the_chain_sorts_on_the_server_by_any_column(self):
        for column in range(15):
            for verso, reverse in (("su", False), ("giu", True)):
                rows = self.json(f"/api/chain?{self.q}&ordina={column}&verso={verso}")["righe"]
                keys = [columns(r)[column] for r in rows]
                self.assertEqual(keys, sorted(keys, reverse=reverse), (column, verso))

    def test_a_slow_client_is_cut_off(self):
        with webtest.server(self.dir, "--timeout", "1") as (base, _):
            u = urllib.parse.urlsplit(base)
            # Silent after half a request: the server ends the connection.
            with socket.create_connection((u.hostname, u.port), timeout=60) as s:
                s.sendall(b"GET /grid HTTP/1.1\r\nHost: x\r\n")
                data = b"".join(iter(lambda: s.recv(4096), b""))
            self.assertNotIn(b"200 OK", data)
            # A header line every 0.2 s, never ending the request: cut off long before 200 lines (40 s).
            with socket.create_connection((u.hostname, u.port), timeout=60) as s, \
                    self.assertRaises(OSError, msg="a client trickling its headers was never cut off"):
                s.sendall(b"GET /grid HTTP/1.1\r\n")
                for _ in range(200):
                    time.sleep(0.2)
                    s.sendall(b"X-Lento: 1\r\n")

class Gate(unittest.TestCase):
    def test_login_cookie_and_logout(self):
        with webtest.demo(password=True) as d, webtest.server(d) as (base, _):
            for path in ["/grid", "/chain", "/api/grid", "/api/chain", "/report?hotel=1"]:
                self.assertEqual(request(base, "GET", path)[0], 401, path)
            status, _, cookie, body = request(base, "POST", "/login", body="password=sbagliata")
            self.assertEqual(status, 403)
            self.assertIsNone(cookie)
            self.assertIn("Password errata", body)
            status, h, cookie, _ = request(base, "POST", "/login", body="password=" + webtest.PASSWORD)
            self.assertEqual(status, 303)
            self.assertIn("HttpOnly", cookie)
            self.assertIn("SameSite=Strict", cookie)
            self.assertNotIn("Secure", cookie)
            session = {"Cookie": cookie.split(";")[0]}
            self.assertEqual(request(base, "GET", "/grid", headers=session)[0], 200)
            self.assertEqual(request(base, "GET", "/grid", headers={"Cookie": "zt_sessione=" + "0" * 64})[0], 401)
            request(base, "POST", "/logout", headers=session)
            self.assertEqual(request(base, "GET", "/grid", headers=session)[0], 401)

    def test_wrong_passwords_slow_down_per_address(self):
        # After the free tries an address is told at once to wait (429), its try unchecked; another is still checked.
        with webtest.demo(password=True) as d, webtest.server(d) as (base, _):
            wrong = "password=sbagliata"
            for _ in range(3):
                self.assertEqual(request(base, "POST", "/login", body=wrong)[0], 403)
            status, h, cookie, body = request(base, "POST", "/login", body="password=" + webtest.PASSWORD)
            self.assertEqual(status, 429)
            self.assertIsNone(cookie)
            self.assertGreaterEqual(int(h["retry-after"]), 1)
            self.assertIn("riprovare tra", body)
            status, _, _, body = request(base, "POST", "/login", body=wrong, source="127.0.0.2")
            self.assertEqual(status, 403, body[-200:])
            time.sleep(int(h["retry-after"]) + 1)
            self.assertEqual(request(base, "POST", "/login", body="password=" + webtest.PASSWORD)[0], 303)

    def test_beyond_loopback_only_with_a_password_and_tls_warns_or_serves(self):
        with webtest.demo() as d:
            r = webtest.run(d, "serve", "--listen", "0.0.0.0:0")
            self.assertEqual(r.returncode, 1)
            self.assertIn("rifiuto di ascoltare su 0.0.0.0", r.stderr)
            self.assertEqual(r.stdout, "")
        with webtest.demo(password=True) as d:
            with webtest.server(d, listen="0.0.0.0:0") as (base, p):
                time.sleep(0.2)
                port = base.rsplit(":", 1)[1]
                self.assertEqual(request(f"http://127.0.0.1:{port}", "GET", "/grid")[0], 401)
            self.assertIn("senza TLS", p.err_text)
            key, cert = os.path.join(d, "k.pem"), os.path.join(d, "c.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                            "-days", "1", "-subj", "/CN=127.0.0.1"], check=True, capture_output=True, timeout=120)
            with webtest.server(d, "--tls-cert", cert, "--tls-key", key) as (base, p):
                self.assertTrue(base.startswith("https://"))
                ctx = ssl.create_default_context(cafile=cert)
                ctx.check_hostname = False
                status, _, cookie, _ = request(base, "POST", "/login", body="password=" + webtest.PASSWORD, context=ctx)
                self.assertEqual(status, 303)
                self.assertIn("Secure", cookie)


if __name__ == "__main__":
    unittest.main()
