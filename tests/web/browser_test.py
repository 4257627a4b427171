"""`zentoria serve` in a real browser: Debian's chromium, headless, driven through
chromium-driver. Logs in (a wrong password refused), chooses hotel, statistic, detail
and year in the grid page's lists and reads back what `zentoria grid` prints, sees the
chart drawn, downloads the report and finds what `zentoria report` writes, checks the
chain page's total row against the hotels' grids, logs out and is refused.
Exits 77 (skipped) only when chromium, its driver or selenium are not installed.
With ZT_SCREENSHOTS set to a folder it also saves the grid and chain pages there."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import webtest  # noqa: E402

SKIP = 77
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.common.exceptions import StaleElementReferenceException, WebDriverException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    print("skipped: python3-selenium is not installed")
    sys.exit(SKIP)
CHROMIUM = shutil.which("chromium")
DRIVER = shutil.which("chromedriver")
if not CHROMIUM or not DRIVER:
    print("skipped: chromium or chromium-driver is not installed")
    sys.exit(SKIP)


def browser(downloads):
    o = webdriver.ChromeOptions()
    o.binary_location = CHROMIUM
    for a in ["--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
              "--window-size=1280,1000", "--lang=it-IT"]:
        o.add_argument(a)
    o.add_experimental_option("prefs", {"download.default_directory": downloads, "download.prompt_for_download": False})
    d = webdriver.Chrome(service=Service(DRIVER), options=o)
    d.set_page_load_timeout(120)
    d.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return d


def left_document(element):
    """Whether the element's page was replaced. chromedriver may say so with a general
    error ("Node with given id does not belong to the document") instead of a stale one."""
    try:
        element.is_enabled()
        return False
    except StaleElementReferenceException:
        return True
    except WebDriverException as e:
        if "does not belong to the document" in str(e):
            return True
        raise


def click_and_load(b, value, by=By.ID):
    """Clicks a button or link that loads a new page, and waits until it has."""
    old = b.find_element(By.TAG_NAME, "html")
    b.find_element(by, value).click()
    WebDriverWait(b, 120).until(lambda _: left_document(old))
    WebDriverWait(b, 120).until(lambda x: x.execute_script("return document.readyState") == "complete")


class Browser(unittest.TestCase):
    def test_a_manager_reads_the_figures_in_the_browser(self):
        d = self.enterContext(webtest.demo(password=True))
        downloads = self.enterContext(tempfile.TemporaryDirectory(prefix="zentoria-web-"))
        year = str(time.localtime().tm_year - 1)
        base, _ = self.enterContext(webtest.server(d))
        b = browser(downloads)
        self.addCleanup(b.quit)

        # The gate: a wrong password is refused, the right one opens the grid.
        b.get(base + "/grid")
        b.find_element(By.ID, "password").send_keys("sbagliata")
        click_and_load(b, "entra")
        self.assertIn("Password errata", b.find_element(By.ID, "messaggio").text)
        self.assertEqual(b.find_elements(By.ID, "mesi"), [])
        b.find_element(By.ID, "password").send_keys(webtest.PASSWORD)
        click_and_load(b, "entra")
        WebDriverWait(b, 60).until(lambda x: x.find_elements(By.ID, "mesi"))

        # Hotel, statistic (its detail list follows), then detail and year.
        Select(b.find_element(By.ID, "hotel")).select_by_value("2")
        Select(b.find_element(By.ID, "statistica")).select_by_visible_text("Presenze")
        click_and_load(b, "mostra")
        year_field = b.find_element(By.ID, "anno")
        year_field.clear()
        year_field.send_keys(year)
        click_and_load(b, "mostra")
        Select(b.find_element(By.ID, "dettaglio")).select_by_visible_text("Generale")
        click_and_load(b, "mostra-dettaglio")
        WebDriverWait(b, 60).until(lambda x: year in x.find_element(By.ID, "selezione").text)
        shown = [b.find_element(By.ID, f"m{m}").text for m in range(1, 13)]
        self.assertEqual(shown, webtest.grid(d, 2, "Presenze", "Generale", year))
        self.assertIn("hotel=2", b.current_url)  # the state is in the address

        # The chart: an SVG with a bar for each month.
        svg = b.find_element(By.CSS_SELECTOR, "svg.grafico")
        self.assertGreater(svg.size["width"], 100)
        self.assertEqual(len(svg.find_elements(By.TAG_NAME, "rect")), 12)
        if os.environ.get("ZT_SCREENSHOTS"):
            b.save_screenshot(os.path.join(os.environ["ZT_SCREENSHOTS"], "web-grid.png"))

        # The report: the text page holds the lines `zentoria report` writes, the PDF its title.
        click_and_load(b, "report-txt")
        page = b.find_element(By.TAG_NAME, "pre").text if b.find_elements(By.TAG_NAME, "pre") else b.page_source
        r = webtest.run(d, "report", "--hotel", "2", "--year", year, "--stat", "Presenze", "--detail", "Generale")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(r.stdout.strip(), "rb") as f:
            lines = f.read().decode("cp437").split("\r\n")
        for line in lines[2:]:  # below the title line, which carries the time
            self.assertIn(line.strip(), page)
        b.back()
        b.find_element(By.ID, "report-pdf").click()
        # Chromium writes to NAME.crdownload and renames it when the download is whole.
        pdf = WebDriverWait(b, 60).until(lambda _: glob.glob(os.path.join(downloads, "*.pdf")), "no PDF downloaded")[0]
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, timeout=60).stdout
        self.assertIn("Zentoria su Presenze-Generale", text)
        self.assertIn(lines[6].split("\u2502")[2].strip(), text)  # January's figure

        # The chain page: its total row is the sum of every hotel's grid; sorting is the server's.
        b.get(f"{base}/chain?statistica=Presenze&dettaglio=Generale&anno={year}")
        total = [c.text for c in b.find_elements(By.CSS_SELECTOR, "#catena tfoot td")]
        grids = [webtest.grid(d, h, "Presenze", "Generale", year) for h in (1, 2)]
        for m in range(12):
            self.assertAlmostEqual(webtest.italian(total[m]), sum(webtest.italian(g[m]) for g in grids), places=2)
        self.assertEqual(len(b.find_elements(By.CSS_SELECTOR, "#catena tbody tr")), 2)
        click_and_load(b, "Totale", By.LINK_TEXT)
        self.assertIn("ordina=13", b.current_url)
        if os.environ.get("ZT_SCREENSHOTS"):
            b.save_screenshot(os.path.join(os.environ["ZT_SCREENSHOTS"], "web-chain.png"))

        # Logging out ends the session: the pages ask for the password again.
        click_and_load(b, "esci")
        b.get(f"{base}/chain?statistica=Presenze&dettaglio=Generale&anno={year}")
        self.assertTrue(b.find_elements(By.ID, "password"))
        self.assertEqual(b.find_elements(By.ID, "catena"), [])


if __name__ == "__main__":
    unittest.main()
