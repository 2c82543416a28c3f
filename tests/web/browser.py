# A static server on 127.0.0.1 and headless Chromium under chromedriver, shared by the browser
# test and bench/web. Run with Debian's /usr/bin/python3, where python3-selenium lives.
import functools
import http.server
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class Server:
    """Serves `root` on a free port of 127.0.0.1 until stop(); .wasm as application/wasm,
    which the browser's streaming compile insists on."""

    def __init__(self, root):
        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              ".wasm": "application/wasm"}

            def log_message(self, *args):
                pass

        class Quiet(http.server.ThreadingHTTPServer):
            def handle_error(self, request, client_address):
                pass  # a browser that quits mid-download; what it got is its own test's

        self.httpd = Quiet(("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def chrome(scale=None, size="800,700"):
    """Headless Debian Chromium with a fresh profile (no service worker or storage left from
    another run) and its console kept for get_log("browser")."""
    profile = tempfile.mkdtemp(prefix="numora-chromium-")
    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
              "--disable-background-networking", "--disable-component-update", "--disable-sync",
              f"--window-size={size}", "--user-data-dir=" + profile]:
        o.add_argument(a)
    if scale:
        o.add_argument(f"--force-device-scale-factor={scale}")
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
    quit_ = d.quit

    def quit_and_forget():
        quit_()
        shutil.rmtree(profile, ignore_errors=True)
    d.quit = quit_and_forget
    return d


def menus_ready(d):
    """The first game can be chosen: its menu item is there and enabled."""
    return d.execute_script(
        "const b = document.getElementById('b1_2');"
        "return !!b && b.getAttribute('aria-disabled') !== 'true' && !b.disabled")


def choose(d, item):
    """Clicks a menu item as a player does: first the menu bar's entry that opens its menu,
    when the item is not already showing."""
    el = d.find_element("id", item)
    if not el.is_displayed():
        d.execute_script(
            "const menu = arguments[0].closest('[role=menu]');"
            "return (menu.id && document.querySelector(`[aria-controls='${menu.id}']`))"
            "  || menu.previousElementSibling || menu.parentElement;", el).click()
    el.click()
