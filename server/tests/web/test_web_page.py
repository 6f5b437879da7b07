"""The page under /app/ in headless Chromium (WebDriver), against the real service: log in by
keyboard, the lists, a case's drawn chart against `qinglan-cli chart --json`, texts saved in the
page and read through the desktop protocol and back, search, cast, stored markup shown as text,
and the page at 360 px (a screenshot is left for a look)."""
import os
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service as DriverService
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support import expected_conditions as shown
from selenium.webdriver.support.ui import Select, WebDriverWait

from web_service import Service

SCRIPT_TEXT = "<script>document.title='x'</script>"
IMAGE_TEXT = '"><img src=x onerror="document.title=\'y\'">'


def browser(width, height):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--window-size=%d,%d" % (width, height), "--lang=zh-CN"]:
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=DriverService("/usr/bin/chromedriver"), options=options)
    set_width(driver, width, height)
    return driver


def set_width(driver, width, height):
    """The viewport exactly so wide: a headless window is never narrower than about 500 px, so a
    phone's width is emulated."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": width < 600})


def texts_of(value, path=""):
    """Every text and line code of the chart JSON, by its path (mainLines.0.beast)."""
    if isinstance(value, dict):
        for key, item in value.items():
            yield from texts_of(item, path + "." + key if path else key)
    elif isinstance(value, list):
        if path == "highlight":
            return
        for index, item in enumerate(value):
            yield from texts_of(item, "%s.%d" % (path, index))
    elif isinstance(value, str) or path.endswith(".code"):
        yield path, value


class WebPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = Service(os.environ["QINGLAN_CASESERVICE"], os.environ["QINGLAN_CLI"])
        cls.service.register("carol", "secret-3")
        cookie, csrf = cls.service.web_login("carol", "secret-3")
        made = cls.service.request("POST", "/api/cases", {"throws": [1, 2, 3, 4, 1, 2], "subject": SCRIPT_TEXT},
                                   cookie, csrf).json()
        cls.case_id, cls.case_number = made["id"], made["caseNumber"]
        cls.service.request("PUT", "/api/cases/%d/texts" % cls.case_id, {"judgment": IMAGE_TEXT, "feedback": ""},
                            cookie, csrf)
        # A category the desktop named, and a case in it.
        token = cls.service.desktop_login("carol", "secret-3")
        cls.service.post("changeleiming.php", [("nm", "carol"), ("lei_bendi_id", "7"), ("lei_mingcheng", "求财<b>"),
                                               ("pw", token)])
        cls.category_case = cls.service.request("POST", "/api/cases", {"throws": [2, 2, 2, 1, 1, 1], "categoryId": 7},
                                                cookie, csrf).json()["id"]
        cls.driver = browser(360, 740)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.service.stop()

    def wait(self, condition, timeout=20):
        return WebDriverWait(self.driver, timeout).until(condition)

    def setUp(self):
        self.driver.delete_all_cookies()
        self.driver.get(self.service.base + "/app/")
        name = self.wait(shown.visibility_of_element_located((By.NAME, "name")))
        name.send_keys("carol", Keys.TAB, "secret-3", Keys.ENTER)  # by keyboard
        self.wait(shown.visibility_of_element_located((By.CSS_SELECTOR, "#case-list a")))

    def open_case(self, case_id):
        self.driver.get(self.service.base + "/app/#case/%d" % case_id)
        self.wait(shown.visibility_of_element_located((By.CSS_SELECTOR, "#chart [data-key='title']")))

    def test_the_drawn_chart_and_report_show_every_text_of_the_command_lines(self):
        self.open_case(self.case_id)
        expected = dict(texts_of(self.service.cli_chart(self.case_number)))
        drawn = {}
        for element in self.driver.find_elements(By.CSS_SELECTOR, "#chart [data-key]"):
            key = element.get_attribute("data-key")
            drawn[key] = int(element.get_attribute("data-code")) if key.endswith(".code") \
                else element.get_property("textContent")
        self.maxDiff = None
        # Whatever the page draws is the command line's; every text that is not empty is drawn,
        # but for the changed lines' beasts, which are the main lines' and drawn once.
        self.assertEqual(drawn, {key: expected.get(key) for key in drawn})
        for line in range(6):
            self.assertEqual(expected.pop("changedLines.%d.beast" % line), expected["mainLines.%d.beast" % line])
        self.assertEqual({key for key, value in expected.items() if value != ""} - set(drawn), set())
        self.driver.find_element(By.CSS_SELECTOR, ".report summary").click()
        report = [line.get_property("textContent") for line in self.driver.find_elements(By.CSS_SELECTOR, "#report p")]
        self.assertEqual(report, self.service.cli_report(self.case_number))

    def test_stored_markup_is_shown_as_text(self):
        row = self.driver.find_element(By.CSS_SELECTOR, "#case-list a[href='#case/%d']" % self.case_id)
        self.assertIn(SCRIPT_TEXT, row.text)
        self.open_case(self.case_id)
        self.assertEqual(self.driver.find_element(By.NAME, "judgment").get_property("value"), IMAGE_TEXT)
        self.assertIn(SCRIPT_TEXT, self.driver.find_element(By.ID, "case-details").text)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, "main img, main script"), [])
        self.assertEqual(self.driver.title, "青岚卦例")

    def test_a_judgment_saved_in_the_page_is_the_desktops_and_back(self):
        self.open_case(self.case_id)
        judgment = self.driver.find_element(By.NAME, "judgment")
        judgment.clear()
        judgment.send_keys("页面断语 " + IMAGE_TEXT)
        self.driver.find_element(By.CSS_SELECTOR, "#texts-form button").click()
        self.wait(shown.text_to_be_present_in_element((By.ID, "status"), "已保存"))
        token = self.service.desktop_login("carol", "secret-3")
        texts, _ = self.service.post("getduanyufankui.php",
                                     [("nm", "carol"), ("id", str(self.case_id)), ("pw", token)])
        self.assertEqual(texts, "页面断语 " + IMAGE_TEXT + "<tr>")
        stored, _ = self.service.post("loadgua.php", [("nm", "carol"), ("guaid", str(self.case_id)), ("pw", token)])
        names = ["save_gua_ming", "save_gua_bianhao", "save_lei_id", "save_nian", "save_yue", "save_ri",
                 "save_xingbie", "save_chusheng", "save_shiyou"]
        self.service.post("saveduanyufankui.php", [("nm", "carol")] + list(zip(names, stored.split("<t>")[1:10])) +
                          [("save_duanyu", IMAGE_TEXT), ("save_fankui", "桌面反馈"), ("save_b", "3"), ("pw", token)])
        self.driver.refresh()
        self.wait(shown.visibility_of_element_located((By.CSS_SELECTOR, "#chart [data-key='title']")))
        self.assertEqual(self.driver.find_element(By.NAME, "feedback").get_property("value"), "桌面反馈")

    def test_search_from_the_page(self):
        box = self.driver.find_element(By.NAME, "q")
        box.send_keys("script", Keys.ENTER)
        self.wait(shown.text_to_be_present_in_element((By.ID, "list-title"), "script"))
        links = self.driver.find_elements(By.CSS_SELECTOR, "#case-list a")
        self.assertEqual([link.get_attribute("href").split("#")[1] for link in links], ["case/%d" % self.case_id])

    def test_browse_by_year_and_month_and_open_by_keyboard(self):
        self.driver.find_element(By.CSS_SELECTOR, "#nav a[href='#browse']").send_keys(Keys.ENTER)
        year, month = self.case_number[:4], str(int(self.case_number[4:6]))
        self.wait(shown.text_to_be_present_in_element((By.ID, "list-title"), "%s年%s月" % (year, month)))
        self.assertEqual(Select(self.driver.find_element(By.ID, "year")).first_selected_option.text, year + "年")
        link = self.driver.find_element(By.CSS_SELECTOR, "#case-list a[href='#case/%d']" % self.case_id)
        link.send_keys(Keys.ENTER)
        self.wait(shown.visibility_of_element_located((By.CSS_SELECTOR, "#chart [data-key='title']")))
        self.assertEqual(self.driver.switch_to.active_element.get_attribute("id"), "case-title")

    def test_browse_one_category(self):
        self.driver.find_element(By.CSS_SELECTOR, "#nav a[href='#browse']").click()
        self.wait(shown.text_to_be_present_in_element((By.ID, "list-title"), "月"))
        Select(self.driver.find_element(By.ID, "category")).select_by_visible_text("求财<b>")
        self.wait(lambda driver: len(driver.find_elements(By.CSS_SELECTOR, "#case-list a")) == 1)
        link = self.driver.find_element(By.CSS_SELECTOR, "#case-list a")
        self.assertEqual(link.get_attribute("href").split("#")[1], "case/%d" % self.category_case)
        link.click()
        self.wait(shown.text_to_be_present_in_element((By.ID, "case-details"), "求财<b>"))

    def test_cast_by_six_throws_in_the_page(self):
        self.driver.find_element(By.CSS_SELECTOR, "#nav a[href='#cast']").click()
        self.wait(shown.visibility_of_element_located((By.ID, "cast-form")))
        self.driver.find_element(By.NAME, "subject").send_keys("页面起卦")
        self.driver.find_element(By.CSS_SELECTOR, "input[value='throws']").click()
        for line, value in enumerate([3, 3, 3, 3, 3, 3]):  # six old yang: 乾为天 changing to 坤为地
            Select(self.driver.find_element(By.NAME, "throw%d" % line)).select_by_value(str(value))
        self.driver.find_element(By.CSS_SELECTOR, "#cast-form button[type='submit']").click()
        self.wait(shown.text_to_be_present_in_element((By.ID, "case-title"), "主卦：乾为天 变卦：坤为地"))
        self.assertIn("页面起卦", self.driver.find_element(By.ID, "case-details").text)

    def test_the_session_cookie_is_out_of_the_pages_reach_and_logout_ends_it(self):
        cookie = self.driver.get_cookie("qinglan_session")
        self.assertTrue(cookie["httpOnly"])
        self.assertEqual(cookie["sameSite"], "Strict")
        self.assertNotIn("qinglan_session", self.driver.execute_script("return document.cookie"))
        self.driver.find_element(By.ID, "logout").click()
        self.wait(shown.visibility_of_element_located((By.ID, "login-form")))
        self.assertIsNone(self.driver.get_cookie("qinglan_session"))
        old = "qinglan_session=" + cookie["value"]
        self.assertEqual(self.service.request("GET", "/api/session", cookie=old).status, 401)

    def test_the_page_fits_a_phone_and_a_desktop(self):
        self.open_case(self.case_id)
        for width, height in [(360, 740), (1280, 900)]:
            set_width(self.driver, width, height)
            inner = self.driver.execute_script("return window.innerWidth")
            scroll = self.driver.execute_script("return document.documentElement.scrollWidth")
            with self.subTest(width=width):
                self.assertEqual(inner, width)
                self.assertLessEqual(scroll, inner)
        set_width(self.driver, 360, 740)
        shot = os.path.join(os.environ.get("QINGLAN_WEB_SCREENSHOTS", tempfile.gettempdir()), "web-case-360.png")
        self.driver.save_screenshot(shot)
        print("\nscreenshot at 360 px:", shot)
        # No script error and no refusal by the Content-Security-Policy (a 401 of the first
        # session check before the login is the network's, not the page's).
        problems = [entry for entry in self.driver.get_log("browser")
                    if entry["level"] == "SEVERE" and entry["source"] != "network"]
        self.assertEqual(problems, [])


if __name__ == "__main__":
    unittest.main()
