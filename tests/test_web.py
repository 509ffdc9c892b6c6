#!/usr/bin/python3
"""The web edition in headless Chromium, against the native programs.

    test_web.py NATIVE_BUILD SITE [unittest options]

Each page runs its program with the same arguments as a native run: the
trace must be the same bytes, every stage the same pixels and caption, a
refusal the same message. The native side is checked by the native tests;
here it is only the reference. Both sides run on one frozen clock, so that
the programs that seed from it draw the same numbers.
"""
import base64
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

from selenium.webdriver.common.by import By

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web'))
import headless  # noqa: E402

NATIVE, SITE = (os.path.abspath(a) for a in sys.argv[1:3])
EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC, the clock of every run
FAKETIME = ['faketime', '-f', '2023-11-14 22:13:20']


def read_tsv(name):
    with open(os.path.join(NATIVE, name), encoding='utf-8') as f:
        return [line.rstrip('\n').split('\t') for line in f if line.strip()]


CATALOGUE = [dict(zip(('name', 'kind', 'theme', 'description', 'example'), row + [''] * (5 - len(row))))
             for row in read_tsv('catalogue.tsv')]
THEMES = read_tsv('themes.tsv')


def png_rgb(data):
    """The pixels of an 8-bit, non-interlaced PNG (grey, RGB, palette or
    RGBA) as RGB bytes, row after row: a decoder of its own, so that a
    picture is compared by its pixels, not by its encoding."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
    pos, chunks, palette = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
        elif kind == b'PLTE':
            palette = body
        elif kind == b'IDAT':
            chunks.append(body)
        pos += 12 + length
    assert depth == 8 and interlace == 0, 'only 8-bit non-interlaced pictures'
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw, stride = zlib.decompress(b''.join(chunks)), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    pixels = b''.join(rows)
    if colour == 3:
        return b''.join(palette[3 * i:3 * i + 3] for i in pixels)
    if colour == 0:
        return bytes(v for g in pixels for v in (g, g, g))
    if colour == 4:
        return bytes(v for i in range(0, len(pixels), 2) for v in (pixels[i],) * 3)
    if colour == 6:
        return b''.join(pixels[i:i + 3] for i in range(0, len(pixels), 4))
    return pixels


def native_run(name, args):
    """A console program's run on the frozen clock, its input at end of file:
    (status, standard output, standard error). Its refusals name the command
    by the program's name alone, as a page does."""
    done = subprocess.run(FAKETIME + [os.path.join(NATIVE, 'bin', name)] + args, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120, env=dict(os.environ, TZ='UTC', SUITE_COMMAND=name))
    return done.returncode, done.stdout, done.stderr


def native_stages(name, args):
    """A picture program's capture variant: (status, standard output,
    standard error, the RGB bytes of each stage in order)."""
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copyfile(os.path.join(NATIVE, 'bin', 'times.ttf'), os.path.join(scratch, 'times.ttf'))
        done = subprocess.run(FAKETIME + [os.path.join(NATIVE, 'bin', 'capture', name)] + args, cwd=scratch,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=120,
                              env=dict(os.environ, TZ='UTC', SDL_VIDEODRIVER='dummy', SUITE_COMMAND=name))
        stages, k = [], 1
        while os.path.exists(os.path.join(scratch, '%s-%d.png' % (name, k))):
            with open(os.path.join(scratch, '%s-%d.png' % (name, k)), 'rb') as f:
                stages.append(png_rgb(f.read()))
            k += 1
    return done.returncode, done.stdout, done.stderr, stages


def first_difference(expected, actual, width=800):
    for i, (a, b) in enumerate(zip(expected, actual)):
        if a != b:
            return 'first at (%d, %d)' % (i // 3 % width, i // 3 // width)
    return 'sizes %d and %d' % (len(expected), len(actual))


class WebEdition(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix='test_web.')
        cls.downloads = os.path.join(cls.scratch, 'downloads')
        os.makedirs(cls.downloads)
        cls.server, cls.base = headless.serve(SITE)
        try:
            cls.driver = headless.chromium(os.path.join(cls.scratch, 'profile'), '--window-size=1000,1000')
        except Exception:
            cls.server.terminate()
            cls.server.wait()
            raise
        cls.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                   {'source': 'Date.now = () => %d;' % (EPOCH * 1000)})
        cls.driver.execute_cdp_cmd('Page.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': cls.downloads})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.terminate()
        cls.server.wait()
        shutil.rmtree(cls.scratch, ignore_errors=True)

    # The page, through its contract.

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self, name, args=()):
        self.driver.get(self.base + name + '.html' + ('?args=' + '+'.join(args) if args else ''))

    def settle(self, waits_before, timeout=60):
        """Waits until the run is at a wait after the first `waits_before`, or
        has ended; returns the state."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            state, waits = self.js('return [document.body.dataset.state, +document.body.dataset.waits]')
            if state == 'ended' or (state == 'waiting' and waits > waits_before):
                return state
            time.sleep(0.02)
        self.fail('the page neither waited nor ended within %d s' % timeout)

    def canvas_rgb(self):
        return base64.b64decode(self.js('''
            const data = document.querySelector('canvas').getContext('2d').getImageData(0, 0, 800, 600).data;
            const rgb = new Uint8Array(800 * 600 * 3);
            for (let i = 0, j = 0; i < data.length; i += 4, j += 3)
                rgb.set(data.subarray(i, i + 3), j);
            let text = '';
            for (let i = 0; i < rgb.length; i += 8192)
                text += String.fromCharCode.apply(null, rgb.subarray(i, i + 8192));
            return btoa(text);'''))

    def answer(self, way):
        """Answers the wait: a key pressed on the page, or a click on the
        picture, or the page's button (Enter or Next stage)."""
        if way == 'key':
            self.driver.find_element(By.TAG_NAME, 'body').send_keys('x')
        elif way == 'canvas':
            self.driver.find_element(By.TAG_NAME, 'canvas').click()
        else:
            self.driver.find_element(By.CSS_SELECTOR, '#enter, #next').click()

    def run_through(self, picture=False):
        """Answers every wait, in turn by a key, a click on the picture (or
        the Enter button) and the button; returns the trace as bytes, the
        error text, the captions and pictures of the stages."""
        ways = ['key', 'canvas' if picture else 'button', 'button']
        captions, pictures, waits = [], [], 0
        while self.settle(waits) == 'waiting':
            if picture:
                captions.append(self.driver.find_element(By.ID, 'caption').text)
                pictures.append(self.canvas_rgb())
            self.answer(ways[waits % 3])
            waits += 1
        trace = self.js('return document.getElementById("trace").textContent').encode('latin-1')
        error = self.js('return document.getElementById("error").textContent')
        return trace, error, captions, pictures

    def runs(self, kind):
        """Every program of the kind, built in and with its worked example."""
        for p in CATALOGUE:
            if p['kind'] == kind:
                yield p['name'], []
                if p['example']:
                    yield p['name'], p['example'].split()

    # The tests.

    def test_index_lists_the_programs_theme_by_theme(self):
        self.driver.get(self.base + 'index.html')
        headings = [h.text for h in self.driver.find_elements(By.TAG_NAME, 'h2')]
        self.assertEqual([title for _, title in THEMES], headings)
        for (theme, _), listing in zip(THEMES, self.driver.find_elements(By.CSS_SELECTOR, 'ul.programs')):
            expected = [(p['name'], p['description']) for p in CATALOGUE if p['theme'] == theme]
            got = [(li.find_element(By.TAG_NAME, 'a').text, li.text.split('\n')[-1])
                   for li in listing.find_elements(By.TAG_NAME, 'li')]
            self.assertEqual(expected, got, theme)

    def test_console_traces_are_the_native_bytes(self):
        for name, args in self.runs('console'):
            with self.subTest(program=name, args=args):
                status, out, err = native_run(name, args)
                self.open(name, args)
                trace, error, _, _ = self.run_through()
                self.assertEqual(out, trace)
                self.assertEqual(err.decode('latin-1').strip(), error)
                self.assertEqual('ended', self.js('return document.body.dataset.state'))

    def test_picture_stages_are_the_native_pixels_and_captions(self):
        for name, args in self.runs('picture'):
            with self.subTest(program=name, args=args):
                status, out, err, stages = native_stages(name, args)
                self.assertTrue(stages, 'the native capture saved no stage')
                self.open(name, args)
                trace, error, captions, pictures = self.run_through(picture=True)
                self.assertEqual(out, trace)
                self.assertEqual(len(stages), len(pictures))
                for k, (expected, got) in enumerate(zip(stages, pictures), 1):
                    self.assertTrue(expected == got, 'stage %d differs: %s' % (k, first_difference(expected, got)))
                # At each wait the caption is the line the native run printed
                # for that stage (a stage shown without a wait has none).
                lines = [line for line in out.decode().splitlines() if line.startswith('stage ')]
                self.assertEqual(captions, [line for line in lines if line in captions])
                self.assertEqual(lines[-1], captions[-1])

    def test_fields_refuse_what_the_command_line_refuses(self):
        # (program, what goes into its fields in order)
        cases = [
            ('cycle_floyd', ['abc']),
            ('cycle_floyd', ['41', '41']),
            ('strong_test_trace_1729', ['1728']),
            ('rho_floyd', ['', '5']),
            ('gaussian_walk_8', ['4', '4']),
        ]
        for name, values in cases:
            with self.subTest(program=name, values=values):
                status, out, err = native_run(name, values) if name != 'gaussian_walk_8' else \
                    native_stages(name, values)[:3]
                self.assertEqual((2, b''), (status, out), 'the command line accepts it')
                self.open(name)
                self.settle(0)
                fields = self.driver.find_elements(By.CSS_SELECTOR, '#parameters input')
                for field, value in zip(fields, values):
                    field.clear()
                    field.send_keys(value)
                self.driver.find_element(By.CSS_SELECTOR, '#parameters button').click()
                self.assertEqual('ended', self.settle(0))
                self.assertEqual(err.decode('latin-1').strip(), self.driver.find_element(By.ID, 'error').text)
                self.assertEqual('', self.js('return document.getElementById("trace").textContent'))

    def test_too_many_arguments_in_the_address_are_refused(self):
        status, out, err = native_run('cycle_floyd', ['41', '16', '3'])
        self.assertEqual(2, status)
        self.open('cycle_floyd', ['41', '16', '3'])
        self.assertEqual('ended', self.settle(0))
        self.assertEqual(err.decode('latin-1').strip(), self.driver.find_element(By.ID, 'error').text)

    def test_each_pause_waits_for_its_answer(self):
        # prime_listing_compacted pauses twice: after the listing, and after
        # the listing from the compacted table.
        _, out, _ = native_run('prime_listing_compacted', [])
        self.open('prime_listing_compacted')
        self.assertEqual('waiting', self.settle(0))
        first = self.js('return document.getElementById("trace").textContent').encode('latin-1')
        self.assertTrue(out.startswith(first) and 0 < len(first) < len(out))
        time.sleep(0.3)
        self.assertEqual(['waiting', '1'], self.js('return [document.body.dataset.state, document.body.dataset.waits]'))
        self.answer('key')
        self.assertEqual('waiting', self.settle(1))
        self.answer('button')
        self.assertEqual('ended', self.settle(2))

    def test_save_picture_downloads_the_stage_shown(self):
        _, _, _, stages = native_stages('gaussian_walk_8', [])
        self.open('gaussian_walk_8')
        for k in (1, 2):
            self.assertEqual('waiting', self.settle(k - 1))
            self.driver.find_element(By.ID, 'save-picture').click()
            path = os.path.join(self.downloads, 'gaussian_walk_8-%d.png' % k)
            self.wait_for_file(path)
            with open(path, 'rb') as f:
                self.assertTrue(png_rgb(f.read()) == stages[k - 1], 'stage %d' % k)
            self.answer('key')

    def test_save_trace_downloads_the_latin1_bytes_and_run_again_starts_afresh(self):
        _, out, _ = native_run('rho_factor_16019', [])
        self.assertIn(b'entr\xe9e', out)
        self.open('rho_factor_16019')
        for attempt in (1, 2):
            trace, _, _, _ = self.run_through()
            self.assertEqual(out, trace, 'run %d' % attempt)
            self.driver.find_element(By.CSS_SELECTOR, '#parameters button').click()
        self.run_through()
        self.driver.find_element(By.ID, 'save-trace').click()
        path = os.path.join(self.downloads, 'rho_factor_16019.txt')
        self.wait_for_file(path)
        with open(path, 'rb') as f:
            self.assertEqual(out, f.read())

    def wait_for_file(self, path, timeout=20):
        deadline = time.time() + timeout
        while not os.path.exists(path) and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.2)  # the download is renamed into place once complete
        self.assertTrue(os.path.exists(path), path + ' was not downloaded')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
