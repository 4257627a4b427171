"""Shared helpers of the web tests: a demo working folder, the program's commands, and
`zentoria serve` started on a free loopback port and stopped even on failure."""
import contextlib
import os
import select
import signal
import subprocess
import tempfile

BIN = os.environ.get("ZENTORIA_BIN", "zentoria")
PASSWORD = "segreta"


def environment(**extra):
    """The program's environment: Italian, no display, the figures in the folder's files."""
    e = dict(os.environ, LANG="it_IT.UTF-8", LC_ALL="", **extra)
    for name in ("DISPLAY", "ZENTORIA_FIGURES_DB"):
        e.pop(name, None)
    return e


def run(folder, *args, stdin=""):
    """Runs the program on the folder; returns the finished process (text)."""
    return subprocess.run([BIN, "--dir", folder, *args], input=stdin, capture_output=True, text=True,
                          env=environment(ZENTORIA_PASSWORD=PASSWORD), timeout=120)


@contextlib.contextmanager
def demo(password=False):
    """Yields a new demo working folder (with PASSWORD set if asked); removes it at the end."""
    with tempfile.TemporaryDirectory(prefix="zentoria-web-") as folder:
        subprocess.run([BIN, "demo", folder, "--force"], check=True, capture_output=True, timeout=120)
        if password:
            r = run(folder, "passwd", stdin=f"{PASSWORD}\n{PASSWORD}\n")
            assert r.returncode == 0, r.stderr
        yield folder


def sql(path, statement):
    subprocess.run(["sqlite3", path, statement], check=True, timeout=60)


def grid(folder, hotel, stat, detail, year):
    r = run(folder, "grid", "--hotel", str(hotel), "--year", year, "--stat", stat, "--detail", detail)
    assert r.returncode == 0, r.stderr
    return r.stdout.splitlines()


def italian(text):
    """A number as the grid writes it in Italian ("1.234,50")."""
    return float(text.replace(".", "").replace(",", "."))


@contextlib.contextmanager
def server(folder, *extra, listen="127.0.0.1:0"):
    """Starts `zentoria serve` and yields (base URL, process); stops it at the end."""
    p = subprocess.Popen([BIN, "--dir", folder, "serve", "--listen", listen, *extra], stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, text=True, env=environment(QT_QPA_PLATFORM="offscreen"))
    try:
        ready, _, _ = select.select([p.stdout], [], [], 60)
        line = p.stdout.readline() if ready else ""
        if not line.startswith("In ascolto su "):
            raise RuntimeError("the server did not start: " + line + p.stderr.read() if p.poll() is not None else line)
        yield line.split()[-1].rstrip("/"), p
    finally:
        p.send_signal(signal.SIGTERM)
        try:
            p.wait(timeout=20)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
        p.err_text = p.stderr.read()
        p.stdout.close()
        p.stderr.close()
