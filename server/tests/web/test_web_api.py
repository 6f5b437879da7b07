"""The JSON endpoints under /api/ against the real service: sessions, CSRF, the security
headers, the chart against `qinglan-cli chart --json`, and texts crossing to the desktop protocol."""
import os
import re
import unittest

from web_service import Service, digest

SECURITY_HEADERS = {
    "X-Content-Type-Options": "nosniff",
    "Referrer-Policy": "no-referrer",
    "X-Frame-Options": "DENY",
}


class WebApi(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = Service(os.environ["QINGLAN_CASESERVICE"], os.environ["QINGLAN_CLI"])
        cls.service.register("alice", "secret-1")
        cls.service.register("bob", "secret-2")

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()

    def setUp(self):
        self.cookie, self.csrf = self.service.web_login("alice", "secret-1")

    def cast(self, body):
        reply = self.service.request("POST", "/api/cases", body, self.cookie, self.csrf)
        self.assertEqual(reply.status, 201, reply.body)
        return reply.json()

    def test_login_sets_a_strict_http_only_cookie_and_refuses_a_wrong_password(self):
        reply = self.service.request("POST", "/api/login", {"name": "alice", "password": "secret-1"})
        self.assertEqual(reply.status, 200)
        cookie = [part.strip() for part in reply.headers["Set-Cookie"].split(";")]
        self.assertTrue(cookie[0].startswith("qinglan_session="))
        self.assertIn("HttpOnly", cookie)
        self.assertIn("SameSite=Strict", cookie)
        self.assertNotIn("Secure", cookie)  # plain http on the loopback
        self.assertRegex(reply.json()["csrf"], "^[0-9a-f]{64}$")
        # A new login is a new session: a cookie planted before it is never the one in use.
        self.assertNotEqual(cookie[0], self.cookie)
        for body, status in [({"name": "alice", "password": "secret-2"}, 401), ({"name": "alice"}, 400),
                             ({"name": "a" * 300000, "password": "x"}, 400), (b"not json", 400)]:
            refused = self.service.request("POST", "/api/login", body)
            with self.subTest(status=status):
                self.assertEqual(refused.status, status)
                self.assertNotIn("Set-Cookie", refused.headers)
                self.assertTrue(refused.json()["error"])

    def test_failed_logins_in_the_page_throttle_the_desktop_login_too(self):
        self.service.register("dave", "secret-4")
        for _ in range(5):
            self.assertEqual(self.service.request("POST", "/api/login", {"name": "dave", "password": "x"}).status, 401)
        # The next attempt, even with the right password, waits out the pause; so does the desktop's.
        throttled = self.service.request("POST", "/api/login", {"name": "dave", "password": "secret-4"})
        self.assertEqual(throttled.status, 429)
        self.assertIn("秒后再试", throttled.json()["error"])
        reply, token = self.service.post("login.php", [("nm", "dave"), ("pw", digest("secret-4"))])
        self.assertIn("秒后再试", reply)
        self.assertEqual(token, "")

    def test_every_answer_carries_the_security_headers(self):
        for method, path, status in [("GET", "/app/", 200), ("GET", "/app", 308), ("GET", "/app/missing.js", 404),
                                     ("GET", "/api/cases", 200), ("GET", "/api/nothing", 404),
                                     ("DELETE", "/api/cases/1", 405), ("OVERSIZED", "/api/login", 413)]:
            reply = self.service.request(method, path, cookie=self.cookie)
            with self.subTest(method=method, path=path):
                self.assertEqual(reply.status, status)
                for name, value in SECURITY_HEADERS.items():
                    self.assertEqual(reply.headers[name], value)
                policy = reply.headers["Content-Security-Policy"]
                self.assertIn("frame-ancestors 'none'", policy)
                script = re.search(r"script-src ([^;]*)", policy).group(1)
                self.assertNotIn("unsafe-inline", script)

    def test_a_write_without_the_right_csrf_token_is_refused(self):
        case = self.cast({"throws": [1, 1, 1, 1, 1, 1]})
        writes = [("PUT", "/api/cases/%d/texts" % case["id"], {"judgment": "x"}),
                  ("POST", "/api/cases", {}),
                  ("POST", "/api/logout", {})]
        for method, path, body in writes:
            for token in [None, "0" * 64, self.csrf[:-1]]:
                with self.subTest(method=method, path=path, token=token):
                    reply = self.service.request(method, path, body, self.cookie, token)
                    self.assertEqual(reply.status, 403)
        # A form of another site can post text/plain without asking: refused before anything.
        plain = self.service.request("POST", "/api/cases", b"{}", self.cookie, self.csrf, content_type="text/plain")
        self.assertEqual(plain.status, 415)
        self.assertEqual(self.service.request("GET", "/api/cases/%d" % case["id"], cookie=self.cookie)
                         .json()["judgment"], "")

    def test_cast_by_six_throws_names_the_hexagrams(self):
        # Throws from the first line up: 少阳 少阴 老阳 老阴 少阳 少阴. Lower 离, upper 坎: 水火既济;
        # lines three and four move: lower 震, upper 兑, 泽雷随.
        case = self.cast({"throws": [1, 2, 3, 4, 1, 2], "subject": "问事", "gender": "女"})
        self.assertRegex(case["caseNumber"], r"^\d{8}214321京房式T:\d\d:\d\d:\d\d$")
        opened = self.service.request("GET", "/api/cases/%d" % case["id"], cookie=self.cookie).json()
        self.assertEqual(opened["name"], "主卦：水火既济 变卦：泽雷随")
        self.assertEqual((opened["subject"], opened["gender"]), ("问事", "女"))
        for bad in [{"throws": [1, 2, 3]}, {"throws": [1, 2, 3, 4, 5, 1]}, {"throws": "123412"}, {"gender": "x"}]:
            with self.subTest(body=bad):
                self.assertEqual(self.service.request("POST", "/api/cases", bad, self.cookie, self.csrf).status, 400)

    def test_cast_by_the_computer_gives_six_line_codes(self):
        case = self.cast({})
        self.assertRegex(case["caseNumber"], r"^\d{8}[1-4]{6}京房式T:")

    def test_the_chart_and_report_of_a_case_are_the_command_lines(self):
        # Three chosen casts, and four by the computer.
        for body in [{"throws": [1, 2, 3, 4, 1, 2]}, {"throws": [3, 3, 3, 3, 3, 3]}, {"throws": [2, 2, 2, 2, 2, 4]}] + \
                [{}] * 4:
            case = self.cast(body)
            opened = self.service.request("GET", "/api/cases/%d" % case["id"], cookie=self.cookie).json()
            with self.subTest(caseNumber=case["caseNumber"]):
                self.assertEqual(opened["chart"], self.service.cli_chart(case["caseNumber"]))
                self.assertEqual(opened["report"], self.service.cli_report(case["caseNumber"]))

    def test_texts_cross_between_the_page_and_the_desktop_protocol(self):
        case = self.cast({"throws": [2, 1, 2, 1, 2, 1]})
        path = "/api/cases/%d" % case["id"]
        judgment = '应期在秋 <script>alert(1)</script> "><img src=x onerror=alert(2)>'
        saved = self.service.request("PUT", path + "/texts", {"judgment": judgment, "feedback": "已应"},
                                     self.cookie, self.csrf)
        self.assertEqual(saved.status, 200, saved.body)
        token = self.service.desktop_login("alice", "secret-1")
        texts, _ = self.service.post("getduanyufankui.php", [("nm", "alice"), ("id", str(case["id"])), ("pw", token)])
        self.assertEqual(texts, judgment + "<tr>已应")
        # And back: a save by the desktop protocol is what the page opens next.
        stored, _ = self.service.post("loadgua.php", [("nm", "alice"), ("guaid", str(case["id"])), ("pw", token)])
        fields = stored.split("<t>")[1:10]
        names = ["save_gua_ming", "save_gua_bianhao", "save_lei_id", "save_nian", "save_yue", "save_ri",
                 "save_xingbie", "save_chusheng", "save_shiyou"]
        reply, _ = self.service.post("saveduanyufankui.php", [("nm", "alice")] + list(zip(names, fields)) +
                                     [("save_duanyu", "桌面断语"), ("save_fankui", "桌面反馈"), ("save_b", "3"),
                                      ("pw", token)])
        self.assertIn("ok", reply)
        opened = self.service.request("GET", path, cookie=self.cookie).json()
        self.assertEqual((opened["judgment"], opened["feedback"]), ("桌面断语", "桌面反馈"))

    def test_search_and_lists_find_only_the_users_own_cases(self):
        mine = self.cast({"throws": [1, 1, 2, 2, 1, 1], "subject": "寻找失物"})
        bob_cookie, bob_csrf = self.service.web_login("bob", "secret-2")
        self.assertEqual(self.service.request("GET", "/api/search?q=" + "%E5%A4%B1%E7%89%A9",
                                              cookie=bob_cookie).json(), [])
        found = self.service.request("GET", "/api/search?q=%E5%A4%B1%E7%89%A9", cookie=self.cookie).json()
        self.assertEqual([row["id"] for row in found], [mine["id"]])
        self.assertEqual(set(found[0]), {"id", "caseNumber", "name", "subject", "castDate"})
        self.assertEqual(self.service.request("GET", "/api/cases/%d" % mine["id"], cookie=bob_cookie).status, 404)
        recent = self.service.request("GET", "/api/cases?limit=2", cookie=self.cookie).json()
        self.assertEqual(len(recent), 2)
        self.assertEqual(recent[0]["id"], mine["id"])
        year = mine["caseNumber"][:4]
        self.assertIn(int(year), self.service.request("GET", "/api/years", cookie=self.cookie).json())

    def test_logout_ends_the_session_on_the_service(self):
        cookie, csrf = self.service.web_login("alice", "secret-1")
        self.assertEqual(self.service.request("GET", "/api/session", cookie=cookie).status, 200)
        reply = self.service.request("POST", "/api/logout", {}, cookie, csrf)
        self.assertEqual(reply.status, 200)
        self.assertIn("Max-Age=0", reply.headers["Set-Cookie"])
        self.assertEqual(self.service.request("GET", "/api/cases", cookie=cookie).status, 401)

    def test_a_cookie_made_up_or_moved_to_another_name_is_refused(self):
        token = self.cookie.split("=")[1].split(".")[0]
        for cookie in ["qinglan_session=" + token + "." + "bob".encode().hex(), "qinglan_session=abc.616c696365",
                       "qinglan_session=" + token, "other=1"]:
            with self.subTest(cookie=cookie):
                self.assertEqual(self.service.request("GET", "/api/cases", cookie=cookie).status, 401)


class WebApiOverTls(unittest.TestCase):
    def test_the_session_cookie_is_secure_over_https(self):
        service = Service(os.environ["QINGLAN_CASESERVICE"], os.environ["QINGLAN_CLI"], tls=True)
        try:
            self.assertTrue(service.base.startswith("https://"))
            service.register("erin", "secret-5")
            reply = service.request("POST", "/api/login", {"name": "erin", "password": "secret-5"})
            self.assertEqual(reply.status, 200)
            cookie = [part.strip() for part in reply.headers["Set-Cookie"].split(";")]
            self.assertIn("Secure", cookie)
            self.assertIn("HttpOnly", cookie)
        finally:
            service.stop()


if __name__ == "__main__":
    unittest.main()
