"""Opens the minimal program in headless Chromium, checks that its window is drawn, clicks
its button and checks that the sound plays, then opens its modal question and answers it.
Usage: check.py BUILD_DIR [--modal]; with --modal an unanswered question is a failure (for
the build linked with asyncify), without it is only reported."""

import os
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import chromium  # noqa: E402

BLUE = (0x33, 0x66, 0xcc)


def blue_box(path):
    """The bounding box of the window's blue background in a screenshot, and its pixels."""
    image = Image.open(path).convert("RGB")
    xs, ys, count = [], [], 0
    pixels = image.load()
    for y in range(0, image.height, 2):
        for x in range(0, image.width, 2):
            if pixels[x, y] == BLUE:
                xs.append(x)
                ys.append(y)
                count += 1
    if not count:
        return None, 0
    return (min(xs), min(ys), max(xs), max(ys)), count * 4


def main():
    build = sys.argv[1]
    modal = "--modal" in sys.argv[2:]
    shot = os.path.join(build, "minimo.png")
    failures = []
    with chromium.Browser(build) as browser:
        browser.open("minimo.html")
        shown = browser.wait_console("minimo: shown", timeout=120)
        if not shown:
            failures.append("the program did not start")
        elif "gif valid 1, picture 1" not in shown:
            failures.append("pictures from the resources: " + shown)
        browser.idle(2)
        browser.screenshot(shot)
        box, area = blue_box(shot)
        print("window background:", box, area, "pixels")
        if not box or area < 50000:
            failures.append("the window was not drawn")
        else:
            numbers = [int(w) for w in shown.replace(",", " ").split() if w.lstrip("-").isdigit()]
            suona, domanda = numbers[-4:-2], numbers[-2:]
            browser.click(*suona)
            if not browser.wait_console("minimo: clicked", timeout=20):
                failures.append("the click did not reach the button")
            if not browser.wait_console("minimo: playing 1", timeout=20):
                failures.append("the sound did not play")
            browser.idle(1)
            browser.screenshot(os.path.join(build, "minimo-premuto.png"))
            # The modal question: answered with Enter (its default button, Yes).
            browser.click(*domanda)
            if not browser.wait_console("minimo: question open", timeout=20):
                failures.append("the click did not reach the question button")
            browser.idle(2)
            browser.screenshot(os.path.join(build, "minimo-domanda.png"))
            browser.key("Enter", 13)
            answered = browser.wait_console("minimo: answer", timeout=10)
            print("modal question:", answered or "no answer (exec() did not return)")
            if modal and not answered:
                failures.append("the modal question was not answered")
        print("\n".join("console: " + line for line in browser.console))
        print("\n".join("error: " + line for line in browser.errors))
    if failures:
        print("FAIL: " + "; ".join(failures))
        return 1
    print("PASS: drawn, clicked, sound played; screenshots in", build)
    return 0


if __name__ == "__main__":
    sys.exit(main())
