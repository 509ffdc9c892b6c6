#!/usr/bin/python3
"""How fast the web edition's pages show something, and how big the site is.

    bench/web_load.py SITE [LOADS]

Serves SITE on 127.0.0.1 and loads every page LOADS times (5) in headless
Chromium, each time in a fresh tab with an empty cache. For each program it
prints the median time from the start of the page load to the first stage
on the canvas (picture programs) or to the first text of the trace (console
programs), as the page marks them (performance marks "first-stage" and
"first-output"). Then the site's size, file by file gzipped (level 9) and
in total.
"""
import gzip
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web'))
import headless  # noqa: E402


def site_size(site):
    raw = packed = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), 'rb') as f:
            data = f.read()
        raw += len(data)
        packed += len(gzip.compress(data, 9))
    return raw, packed


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit('usage: bench/web_load.py SITE [LOADS]')
    site = os.path.abspath(sys.argv[1])
    loads = int(sys.argv[2]) if len(sys.argv) == 3 else 5
    names = []
    with open(os.path.join(site, 'index.html'), encoding='utf-8') as f:
        for line in f:
            if line.startswith('<li><a href="'):
                names.append((line.split('"')[1][:-5], 'picture' in line.split('</a>')[1][:40]))
    scratch = tempfile.mkdtemp(prefix='web_load.')
    server, base = headless.serve(site)
    driver = None
    try:
        driver = headless.chromium(scratch)
        driver.execute_cdp_cmd('Network.enable', {})
        driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
        print('%-28s %8s  %s' % ('program', 'median', 'loads (ms from the start of the page load)'))
        for name, picture in names:
            mark = 'first-stage' if picture else 'first-output'
            times = []
            for _ in range(loads):
                driver.get('about:blank')
                driver.get(base + name + '.html')
                deadline = time.time() + 30
                t = None
                while t is None and time.time() < deadline:
                    t = driver.execute_script(
                        'const m = performance.getEntriesByName(arguments[0]); return m.length ? m[0].startTime : null;',
                        mark)
                    time.sleep(0.01)
                times.append(t if t is not None else float('nan'))
            print('%-28s %6.0f ms  %s (%s)' % (name, statistics.median(times), ' '.join('%.0f' % t for t in times),
                                                mark))
        raw, packed = site_size(site)
        print('site: %d files, %.0f kB, %.0f kB gzipped' % (len(os.listdir(site)), raw / 1000, packed / 1000))
    finally:
        if driver is not None:
            driver.quit()
        server.terminate()
        server.wait()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == '__main__':
    main()
