#!/usr/bin/python3
"""The README's two pictures of the web edition: an explained page on a
desktop and on a phone, taken in headless Chromium.

    docs/screenshots.py SITE

Serves SITE (the folder that ./demo web writes, build-web/site) on
127.0.0.1, opens the same run on a 1280x800 screen and on a phone's 390x844
touch screen, each at a step in the middle of the run with the explanation
shown, and writes docs/web-desktop.png and docs/web-phone.png.
"""
import os
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'web'))
import headless  # noqa: E402

# (file, width, height, a phone's, the page and its run)
SHOTS = [
    ('web-desktop.png', 1280, 800, False, 'cycle_three_methods.html?args=101+3&view=explain&lang=en&step=34'),
    ('web-phone.png', 390, 844, True, 'cycle_three_methods.html?args=101+3&view=explain&lang=fr&step=34'),
]


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: docs/screenshots.py SITE')
    with headless.browse(os.path.abspath(sys.argv[1])) as (driver, base):
        for name, width, height, phone, page in SHOTS:
            driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
                'width': width, 'height': height, 'deviceScaleFactor': 2 if phone else 1, 'mobile': phone})
            driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': phone, 'maxTouchPoints': 5})
            driver.get(base + page)
            step = page.split('step=')[1]
            deadline = time.time() + 30
            while time.time() < deadline and driver.execute_script(
                    'return document.body.dataset.state === "running" || document.body.dataset.step !== arguments[0]',
                    step):
                time.sleep(0.05)
            # On the phone, the pane and the buttons under it fill the screen.
            if phone:
                driver.execute_script('document.querySelector(".switches").scrollIntoView()')
            time.sleep(0.3)
            path = os.path.join(HERE, name)
            driver.save_screenshot(path)
            print('wrote', path)

if __name__ == '__main__':
    main()
