#!/usr/bin/python3
# Plays the web edition in headless Chromium as a child would, with the desktop's rules as the
# expectations: places in CSS pixels of the 408 x 502 client area, the score, the mark colour,
# the sounds asked for, the top-ten list in the browser's storage, the help, the menus and a
# reload with the server gone. The test site's module adds hooks that set up a board and fire
# the page's timers now, so no check waits for the game's time to pass.
# Usage: browser_test.py SITE TEST_SITE
import json
import sys

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from browser import Server, choose, chrome, menus_ready

site, test_site = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def at(col, row):  # where cell (col, row) sits in the client area
    return (col * 51, 40 + row * 33)


def clean_console(d, session):
    bad = [f"{e['level']} {e['message']}" for e in d.get_log("browser")
           if e["level"] in ("SEVERE", "WARNING")]
    check(not bad, f"{session}: no console error or warning {bad}")


# Opens the site in a fresh tab, the old one closed; with the test site, the page's clock
# (DevTools' virtual time) stands still, so its timers fire only when the test fires them.
def open_page(d, url, hold_time):
    old = d.window_handles
    d.switch_to.new_window("tab")
    for handle in old:
        d.switch_to.window(handle)
        d.close()
    d.switch_to.window(d.window_handles[0])
    d.get(url)
    WebDriverWait(d, 20).until(menus_ready)
    if hold_time:
        d.execute_cdp_cmd("Emulation.setVirtualTimePolicy", {"policy": "pause"})


def session(root, play, scale=None):
    server, d = Server(root), chrome(scale)
    try:
        open_page(d, server.url, root == test_site)
        play(d, server)
        clean_console(d, play.__name__)
    except Exception as e:  # a step that could not be taken fails the test, the others still run
        check(False, f"{play.__name__}: {type(e).__name__} {e}")
    finally:
        d.quit()
        server.stop()


def js(d, script, *args):
    return d.execute_script(script, *args)


def pos(d, el_id):  # (x, y) in the client area, or None when not shown
    return js(d, "const e = document.getElementById(arguments[0]);"
              "const seen = {visibilityProperty: true, opacityProperty: true};"
              "if (!e.checkVisibility(seen)) return null;"
              "const r = e.getBoundingClientRect();"
              "const g = document.getElementById('game').getBoundingClientRect();"
              "return [r.left - g.left, r.top - g.top];", el_id)


def pair(d):
    p0, p1 = pos(d, "LabB_0"), pos(d, "LabB_1")
    return (tuple(p0), tuple(p1)) if p0 and p1 else None


def text(d, el_id):
    return js(d, "return document.getElementById(arguments[0]).textContent", el_id)


def fire(d, timer):
    return js(d, "return Module.numoraFire(arguments[0])", timer)


def timers(d):
    return json.loads(js(d, "return Module.numoraTimers()"))


def sounds(d):
    return js(d, "return Module.numoraSounds()").split()


def set_up(d, board, falling, score=-1):
    js(d, "Module.numoraSetUp(arguments[0], arguments[1], arguments[2])", board, falling, score)


def press(d, key):
    ActionChains(d).send_keys(key).perform()


def tap(d, x, y, finger=False):  # a click, or a finger's tap, at (x, y) of the client area
    g = d.find_element("id", "game").rect
    x, y = g["x"] + x, g["y"] + y
    if finger:
        d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart",
                                                       "touchPoints": [{"x": x, "y": y}]})
        d.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})
    for kind in () if finger else ("mousePressed", "mouseReleased"):
        d.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y,
                                                       "button": "left", "clickCount": 1})


def checked(d, items):
    return "".join("x" if js(d, "return document.getElementById(arguments[0])"
                             ".getAttribute('aria-checked')", i) == "true" else "." for i in items)


# Ends the game in play at `score`: a settled cell in a start cell, a gravity tick, then the
# closing fill's waits of 8 ms, a cell blanked at each. Gives the waits fired until the list.
def end_game(d, score):
    set_up(d, "/".join([". . . 5"] * 14), "", score)
    fire(d, "gravity")
    check(timers(d)["wait"] == 8, "the closing fill waits 8 ms a cell")
    fills = 0
    while fills < 200 and not js(d, "return document.getElementById('leaderboard').open"):
        fills += 1 if fire(d, "wait") else 200
    return fills


def movesTapsScoresSounds(d, server):
    game = d.find_element("id", "game")
    check(game.size == {"width": 408, "height": 502}, f"client area 408 x 502: {game.size}")
    choose(d, "b1_2")
    check(pair(d) == (at(3, 0), at(4, 0)), f"a pair spawns in columns 3 and 4: {pair(d)}")
    check(text(d, "Label1") == "0", "score 0 at a game's start")
    check(timers(d)["gravity"] == 2000, "gravity every 2000 ms at the first level")
    empty = js(d, "return [...document.querySelectorAll('#game img')]"
               ".filter(e => e.checkVisibility() && !e.getAttribute('src')).map(e => e.id)")
    check(not empty, f"no picture shown before it has one (an empty box): {empty}")
    js(d, "document.body.style.minHeight = '3000px'")  # a window shorter than the page
    press(d, Keys.ARROW_LEFT)
    check(pair(d) == (at(2, 0), at(3, 0)), "Left: one column, 51 px")
    press(d, Keys.ARROW_RIGHT)
    press(d, Keys.ARROW_DOWN)
    check(pair(d) == (at(3, 1), at(4, 1)), "Right and Down: 51 px right, 33 px down")
    check(fire(d, "gravity") and pair(d) == (at(3, 2), at(4, 2)), "a gravity tick: a row")
    press(d, Keys.ARROW_UP)
    check(pair(d) == (at(3, 3), at(3, 2)), f"Up turns it: cell 1 stands above cell 0 {pair(d)}")
    check(js(d, "return scrollY") == 0, "the arrows never scroll the page")
    js(d, "document.body.style.minHeight = ''")
    tap(d, 0, 300)
    check(pair(d) == (at(2, 3), at(2, 2)), "a tap left of the pair: one column left")
    tap(d, 400, 300)
    check(pair(d) == (at(3, 3), at(3, 2)), "a tap right of the pair: one column right")
    tap(d, 160, 450)
    check(pair(d) == (at(3, 4), at(3, 3)), "a tap below it: one row down")
    tap(d, 160, 20)
    tap(d, 160, 90)
    check(pair(d) == (at(3, 4), at(3, 3)), "a tap on the banner or above the pair: nothing")
    tap(d, 160, at(3, 4)[1] + 10)
    check(pair(d) == (at(3, 4), at(2, 4)), "a tap on the pair turns it: cell 1 to its left")

    # A 7 lands beside a settled 7: a group of two, 10 x 1^2 + 20 x 1 = 30.
    group_of_two = (". . . . . 7", "4 13 7 4 12 5")
    before = len(sounds(d))
    set_up(d, *group_of_two)
    fire(d, "gravity")
    check(text(d, "Label1") == "30", f"a group of two scores 30: {text(d, 'Label1')}")
    marked = [js(d, "return getComputedStyle(document.getElementById(arguments[0]))"
                 ".backgroundColor", f"LabRes_{13 * 8 + c}") for c in (4, 5)]
    check(marked == ["rgb(255, 192, 192)"] * 2, f"the group in the mark colour: {marked}")
    check(sounds(d)[before:] == ["104"], f"the landing sound asked for: {sounds(d)}")
    check(timers(d)["wait"] == 100, "the mark colour stays 100 ms")
    fire(d, "wait")
    check(text(d, "LabRes_108") == "5" and not pos(d, "LabRes_109"),
          "the group gone, the 5 dropped into its place")
    check(pair(d) == (at(3, 0), at(4, 0)), "the next pair spawns")

    # 1990 + 30 passes 2000: the milestone's sound first, the game standing still meanwhile.
    before = len(sounds(d))
    set_up(d, *group_of_two, 1990)
    fire(d, "gravity")
    check(sounds(d)[before:] == ["106"], f"the milestone's sound asked for: {sounds(d)}")
    press(d, Keys.ARROW_LEFT)
    check(text(d, "Label1") == "1990" and not pair(d) and timers(d)["gravity"] is None,
          "the game stands still while it sounds")
    fire(d, "wait")
    check(text(d, "Label1") == "2020" and sounds(d)[before:] == ["106", "104"],
          f"then the landing: {text(d, 'Label1')} {sounds(d)}")


def menusHelpAndTheList(d, server):
    choose(d, "b1_2")
    for item, ms, marks in (("j2", 1400, ".x."), ("j3", 800, "..x"), ("j1", 2000, "x..")):
        choose(d, item)
        check(checked(d, ["j1", "j2", "j3"]) == marks and timers(d)["gravity"] == ms,
              f"{item}: its mark, gravity every {ms} ms")
    choose(d, "dhw")
    check(checked(d, ["dhy", "dhw"]) == ".x" and timers(d)["animation"] is None
          and not pos(d, "PicMove"), "无: the figure hidden, the animation stopped")
    choose(d, "dhy")
    check(checked(d, ["dhy", "dhw"]) == "x." and timers(d)["animation"] == 200, "有: it walks")

    choose(d, "Mhow")
    help_open = "return document.getElementById('help').open"
    check(js(d, help_open) and js(d, "return [...document.querySelectorAll('#help *')]"
                                  ".some(e => e.textContent.startsWith('游戏目的：帮助儿童提高口算能力。'))"),
          "玩法 opens the help and its text")
    was = pair(d)
    press(d, Keys.ARROW_LEFT)
    js(d, "document.getElementById('j3').click()")
    check(pair(d) == was and checked(d, ["j1", "j2", "j3"]) == "x..", "keys and menus shut")
    check(fire(d, "gravity") and pair(d)[0][1] == was[0][1] + 33, "the pair keeps falling")
    d.find_element("css selector", "#help button").click()  # 关闭
    press(d, Keys.ARROW_LEFT)
    check(not js(d, help_open) and pair(d)[0][0] == was[0][0] - 51, "closed, the keys act again")

    name = "<i>ab</i>"
    fills = end_game(d, 70)
    blank = js(d, "return [...Array(112).keys()].map(k => document.getElementById('LabRes_' + k))"
               ".filter(e => e.checkVisibility() && e.textContent === '').length")
    check(fills == 112 and blank == 112, f"112 fill waits blank the cells, then the list: {fills}")
    check(pos(d, "LabRes_111") == list(at(7, 13)), "the last cell at 357,469")
    check(text(d, "Labt") == "恭喜恭喜!您上榜了。您的大名:", "a fresh list offers a place")
    check(js(d, "return document.activeElement.id") == "Text1", "the name box has the keyboard")
    ActionChains(d).send_keys(name).perform()
    d.find_element("id", "Command1").click()
    stored = js(d, "return Object.values(localStorage).join('|')")
    check(f"{name},70\r\n" in stored, f"the name stored as the desktop's line: {stored!r}")

    clean_console(d, "the first visit")
    open_page(d, d.current_url, True)
    choose(d, "b1_2")
    end_game(d, 40)
    shown = text(d, "leaderboard")
    check(js(d, "return [...document.querySelectorAll('#leaderboard *')]"
                "            .some(e => e.textContent === arguments[0])", name) and "70" in shown
          and not js(d, "return document.querySelector('#leaderboard i')"),
          f"after a reload the list shows the name as the nine characters typed: {shown!r}")


def offline(d, server):  # and on a screen of twice the density
    check(js(d, "return typeof Module.numoraSetUp") == "undefined", "the shipped page: no hooks")
    pictures = js(d, "return [...document.querySelectorAll('#game img')]"
                  ".filter(e => e.checkVisibility()).map(e => e.currentSrc.split('/').pop())")
    check(pictures and all(p.endswith("@2x.png") for p in pictures),
          f"twice the density: the sharp pictures {pictures}")
    csp = js(d, "const m = document.querySelector(\"meta[http-equiv='Content-Security-Policy']\");"
             "return m ? m.content : ''")
    check("default-src 'self'" in csp, f"a Content Security Policy: {csp}")
    WebDriverWait(d, 20).until(lambda d: js(d, "return !!navigator.serviceWorker.controller"))
    server.stop()
    d.get(server.url)
    WebDriverWait(d, 20).until(menus_ready)
    choose(d, "b1_2")
    press(d, Keys.ARROW_RIGHT)
    check(pair(d) == (at(4, 0), at(5, 0)), "with the server gone, a reload plays")
    # A finger is one step, not a step and the click a browser makes of it. The page's clock
    # runs here (DevTools' held clock stalls touches), so only the columns are compared.
    tap(d, 0, 300, finger=True)
    check([p[0] for p in pair(d)] == [at(3, 0)[0], at(4, 0)[0]], "a finger's tap: one column")


session(test_site, movesTapsScoresSounds)
session(test_site, menusHelpAndTheList)
session(site, offline, scale=2)
print("FAILED: " + "; ".join(failures) if failures else "PASSED")
sys.exit(1 if failures else 0)
