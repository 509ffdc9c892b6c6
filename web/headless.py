"""Headless Chromium on a locally served site, for the web edition's tests
and its benchmark (Debian's chromium and chromium-driver, through Selenium).
"""
import contextlib
import os
import shutil
import subprocess
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))


def serve(site):
    """Serves `site` on a free port of 127.0.0.1: (the server's process, the
    address of the site, ending in /)."""
    server = subprocess.Popen(['/usr/bin/python3', os.path.join(HERE, 'serve.py'), site, '0', '--quiet'],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = server.stdout.readline()
    if ' at ' not in line:
        server.terminate()
        server.wait()
        raise RuntimeError('the server did not start: ' + line)
    return server, line.split(' at ')[1].split()[0]


def chromium(profile, *flags):
    """A headless Chromium (run as root, so without its sandbox) with a
    profile of its own in the folder `profile`, quiet on the network."""
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                 '--disable-background-networking', '--disable-component-update', '--disable-sync',
                 '--user-data-dir=' + profile) + flags:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


@contextlib.contextmanager
def browse(site, *flags):
    """A headless Chromium (with a profile of its own, removed after) and the
    address of `site` served on 127.0.0.1, for the length of a `with`."""
    scratch = tempfile.mkdtemp(prefix='headless.')
    server, base = serve(site)
    driver = None
    try:
        driver = chromium(scratch, *flags)
        yield driver, base
    finally:
        if driver is not None:
            driver.quit()
        server.terminate()
        server.wait()
        shutil.rmtree(scratch, ignore_errors=True)
