#!/usr/bin/env python3
"""The judge's page in a real headless browser, against judgeserve on 127.0.0.1.

Opens a judge's link at phone size (360 x 740), types a score, sees the
confirmation on the page, the score in the scoring file and in the details
display's reading (scoresim); then a score above the full score and a closed
programme, each with its message on the page. Exits 77 (skipped) with the reason
when chromium, chromedriver or selenium is missing.

usage: judge_page_browser_test.py JUDGESERVE SCORESIM PAGE [SCREENSHOT.png]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

try:
    import selenium  # noqa: F401
except ImportError:
    sys.path.append("/usr/lib/python3/dist-packages")  # Debian's python3-selenium beside another python
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIP: python3-selenium is not installed")
    sys.exit(SKIP)


def find(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    return None


def gbk_lines(lines):
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def main():
    judgeserve, scoresim, page = sys.argv[1:4]
    shot = sys.argv[4] if len(sys.argv) > 4 else os.environ.get("JUDGE_PAGE_SHOT")
    browser = find("chromium", "chromium-browser")
    driver_path = find("chromedriver")
    if not browser or not driver_path:
        print("SKIP: chromium or chromium-driver is not installed")
        return SKIP

    event = tempfile.mkdtemp(prefix="kv_judge_page_")
    server = None
    driver = None
    try:
        os.makedirs(os.path.join(event, "data"))
        with open(os.path.join(event, "Config.ini"), "wb") as f:
            f.write(gbk_lines(["[节目设置]", "1=1|开场舞《春》|市场部", "2=2|大合唱|全体员工", "3=3|小品|研发部",
                               "满分=10", "[评委设置]", "1=王评委", "2=李评委"]))
        scoring_file = os.path.join(event, "data", "评分文件.txt")
        out = subprocess.run([scoresim, event, "--generate", scoring_file], capture_output=True, timeout=30)
        assert out.returncode == 0, out
        # The operator made the second programme the current one in the editor.
        text = open(scoring_file, "rb").read().replace("编号=1".encode("gbk"), "编号=2".encode("gbk"))
        open(scoring_file, "wb").write(text)

        server = subprocess.Popen([judgeserve, event, "--page", page], stdout=subprocess.PIPE, text=True)
        links = {}
        deadline = time.time() + 20
        while len(links) < 2 and time.time() < deadline:
            line = server.stdout.readline().strip()
            if line.startswith("JUDGE "):
                _, name, url = line.split(" ")
                links[name] = url
        assert len(links) == 2, links
        assert links["王评委"].startswith("http://127.0.0.1:"), links

        options = webdriver.ChromeOptions()
        options.binary_location = browser
        profile = tempfile.mkdtemp(prefix="kv_chromium_")
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--user-data-dir=" + profile, "--window-size=360,740", "--lang=zh-CN"]:
            options.add_argument(flag)
        # A phone's screen: the desktop window has a minimum width above 360.
        options.add_experimental_option("mobileEmulation",
                                        {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 1.0}})
        driver = webdriver.Chrome(service=Service(driver_path), options=options)
        driver.set_page_load_timeout(20)
        wait = WebDriverWait(driver, 10)

        driver.get(links["王评委"])
        wait.until(lambda d: len(d.find_elements(By.CSS_SELECTOR, ".card")) == 3)
        assert driver.find_element(By.ID, "judge").text == "评委:王评委"
        cards = driver.find_elements(By.CSS_SELECTOR, ".card")
        assert "大合唱" in cards[0].text and "当前节目" in cards[0].text, cards[0].text
        assert driver.execute_script("return window.innerWidth") == 360
        width = driver.execute_script("return document.documentElement.scrollWidth")
        assert width <= 360, "the page is wider than the phone: %d" % width

        # A good score: confirmation on the page, the file, the details display's reading.
        cards[0].find_element(By.TAG_NAME, "input").send_keys("8.5")
        cards[0].find_element(By.TAG_NAME, "button").click()
        wait.until(lambda d: "已提交" in cards[0].find_element(By.CLASS_NAME, "status").text)
        wait.until(lambda d: "8.5" in cards[0].find_element(By.CLASS_NAME, "mine").text)
        stored = open(scoring_file, "rb").read().decode("gbk")
        assert "[2.大合唱]\r\n王评委=8.5\r\n李评委=\r\n" in stored, stored
        details = subprocess.run([scoresim, event], capture_output=True, timeout=30, text=True).stdout
        assert "JUDGE 王评委|8.5|" in details, details
        assert "CURRENT 2|大合唱|" in details, details

        # Above the full score: refused on the page, nothing written.
        cards[1].find_element(By.TAG_NAME, "input").send_keys("11")
        cards[1].find_element(By.TAG_NAME, "button").click()
        wait.until(lambda d: "0到10之间" in cards[1].find_element(By.CLASS_NAME, "status").text)

        # The operator closes the third programme: the server's 409 message reaches the phone.
        with open(os.path.join(event, "Config.ini"), "ab") as f:
            f.write(gbk_lines(["[截止评分]", "3=1"]))
        cards[2].find_element(By.TAG_NAME, "input").send_keys("7")
        cards[2].find_element(By.TAG_NAME, "button").click()
        wait.until(lambda d: "停止评分" in cards[2].find_element(By.CLASS_NAME, "status").text)
        assert "[3.小品]\r\n王评委=\r\n" in open(scoring_file, "rb").read().decode("gbk")

        if shot:
            driver.execute_script("window.scrollTo(0, 0)")
            driver.save_screenshot(shot)
        print("OK")
        return 0
    finally:
        if driver:
            driver.quit()
        if server:
            server.terminate()
            server.wait(timeout=10)
        shutil.rmtree(event, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
