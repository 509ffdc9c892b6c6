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
from fractions import Fraction
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'web'))
import headless  # noqa: E402
import pictures  # noqa: E402

NATIVE, SITE = (os.path.abspath(a) for a in sys.argv[1:3])
EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC, the clock of every run
FAKETIME = ['faketime', '-f', '2023-11-14 22:13:20']


def read_tsv(name):
    with open(os.path.join(NATIVE, name), encoding='utf-8') as f:
        return [line.rstrip('\n').split('\t') for line in f if line.strip()]


CATALOGUE = [dict(zip(('name', 'kind', 'theme', 'description', 'example'), row + [''] * (5 - len(row))))
             for row in read_tsv('catalogue.tsv')]
THEMES = read_tsv('themes.tsv')
PICTURES = {p['name'] for p in CATALOGUE if p['kind'] == 'picture'}


def png_rgb(data):
    """The pixels of a PNG as RGB bytes, compared by its pixels, not by its
    encoding."""
    return pictures.read_png(data)[2]


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


# The screens the page is tried on: (width, height, a phone's).
DESKTOP, PHONE = (1280, 800, False), (390, 844, True)


# References for the read-outs of the pictures, written here from the
# pictures' geometry: the lattice point nearest a pixel, the numbers there.

def nearest(offset, unit):
    return (2 * offset + unit) // (2 * unit)


def is_prime(n):
    return n > 1 and all(n % d for d in range(2, int(n ** 0.5) + 1))


def spiral_numbers(rounds):
    """{(X, Y): n} for the square spiral from 1 at (0, 0): L steps right, L
    up (Y - 1), L + 1 left, L + 1 down, for L = 1, 3, 5, ..."""
    at, point, n = {(0, 0): 1}, (0, 0), 1
    for side in range(1, 2 * rounds, 2):
        for (dx, dy), length in (((1, 0), side), ((0, -1), side), ((-1, 0), side + 1), ((0, 1), side + 1)):
            for _ in range(length):
                point, n = (point[0] + dx, point[1] + dy), n + 1
                at[point] = n
    return at


def gaussian(a, b):
    """a + bi as the pictures write it, its norm, and whether it is a
    Gaussian prime."""
    text = {(0, 0): '0'}.get((a, b)) or (str(a) if b == 0 else ('' if a == 0 else '%d %s ' % (a, '+-'[b < 0])) +
                                        ('' if abs(b) == 1 else str(abs(b) if a else b)) + 'i')
    if a == 0 and b < 0:
        text = ('-' if b == -1 else '') + text
    prime = is_prime(a * a + b * b) if a and b else is_prime(abs(a + b)) and abs(a + b) % 4 == 3
    return '%s, norm %d%s' % (text, a * a + b * b, ', a Gaussian prime' if prime else '')


def ulam(x, y):
    n = spiral_numbers(72).get((nearest(x - 400, 4), nearest(y - 300, 4)))
    return 'n = %d, %s' % (n, 'prime' if is_prime(n) else 'not prime') if n else ''


def labels(x, y):
    n = spiral_numbers(4).get((nearest(x - 400, 40), nearest(y - 300, 40)))
    return 'step %d: n = %d, %s' % (n - 1, n, 'prime' if is_prime(n) else 'not prime') if n else ''


def counts(x, y):
    """The last even n whose dot lies in column x (20 + 0.015 n, truncated,
    with the double nearest 0.015), and pi(n)."""
    ns = [n for n in range(2, 50001, 2) if int(Fraction(0.015) * n + 20) == x]
    return 'n = %d, pi(n) = %d' % (ns[-1], sum(is_prime(k) for k in range(ns[-1] + 1))) if ns else ''


def walk(scale, bound):
    """The Gaussian pictures: the square |a|, |b| <= bound, b upward."""
    def point(x, y):
        a, b = nearest(x - 400, scale), nearest(300 - y, scale)
        return gaussian(a, b) if abs(a) <= bound and abs(b) <= bound else ''
    return point


def fermat(x, y):
    X, Y = nearest(x - 30, 30), nearest(550 - y, 30)
    return '(x, y) = (%d, %d), x*x - y*y = %d' % (X, Y, X * X - Y * Y)


def native_explanation(name, args, language):
    """The native --explain --all of a program, with its input at end of file,
    in English or French; a picture program's through its capture variant."""
    picture = name in PICTURES
    env = dict(os.environ, TZ='UTC', SUITE_COMMAND=name, LANGUAGE=language, SDL_VIDEODRIVER='dummy')
    with tempfile.TemporaryDirectory() as scratch:
        done = subprocess.run(FAKETIME + [os.path.join(NATIVE, 'bin', 'capture' if picture else '', name)] + args +
                              ['--explain', '--all'], cwd=scratch, stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=120, env=env)
    return done.stdout.decode('utf-8')


class WebEdition(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix='test_web.')
        cls.downloads = os.path.join(cls.scratch, 'downloads')
        os.makedirs(cls.downloads)
        cls.server, cls.base = headless.serve(SITE)
        try:
            cls.driver = headless.chromium(os.path.join(cls.scratch, 'profile'), '--window-size=1280,1000')
        except Exception:
            cls.server.terminate()
            cls.server.wait()
            raise
        cls.clock = cls.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                               {'source': 'Date.now = () => %d;' % (EPOCH * 1000)})
        cls.driver.execute_cdp_cmd('Page.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': cls.downloads})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.terminate()
        cls.server.wait()
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def setUp(self):
        self.screen(DESKTOP)

    # The page, through its contract.

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def screen(self, size):
        """The page's viewport: a desktop's, or a phone's with a touch screen."""
        width, height, phone = size
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 3 if phone else 1, 'mobile': phone})
        self.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': phone, 'maxTouchPoints': 5})
        self.driver.execute_cdp_cmd('Emulation.setEmulatedMedia', {'features': [
            {'name': 'hover', 'value': 'none' if phone else 'hover'},
            {'name': 'pointer', 'value': 'coarse' if phone else 'fine'}]})

    def open(self, name, args=(), query=''):
        self.driver.get(self.base + name + '.html' + ('?args=' + '+'.join(args) if args else '') +
                        (('&' if args else '?') + query if query else ''))

    def body(self, key):
        return self.js('return document.body.dataset[arguments[0]]', key)

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

    def explained(self, timeout=60):
        """Waits until the explanation of the run is written in full."""
        deadline = time.time() + timeout
        while self.body('explanation') != 'done' and time.time() < deadline:
            time.sleep(0.02)
        self.assertEqual('done', self.body('explanation'))

    def text(self, id):
        return self.js('return document.getElementById(arguments[0]).textContent', id)

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
        """Answers the wait: a key pressed on the page, a click on the
        picture, Next step at the last step, or Next stage."""
        if way == 'key':
            self.driver.find_element(By.TAG_NAME, 'body').send_keys('x')
        elif way == 'enter':
            self.driver.find_element(By.TAG_NAME, 'body').send_keys(Keys.ENTER)
        elif way == 'canvas':
            self.driver.find_element(By.TAG_NAME, 'canvas').click()
        else:
            self.driver.find_element(By.CSS_SELECTOR, '#next' if way == 'stage' else '#step-next').click()

    def run_through(self, picture=False):
        """Answers every wait, in turn each way a reader can; returns the
        trace as bytes, the error text, the captions and pictures of the
        stages."""
        ways = ['key', 'canvas', 'stage'] if picture else ['key', 'next', 'enter']
        captions, pictures, waits = [], [], 0
        while self.settle(waits) == 'waiting':
            if picture:
                captions.append(self.driver.find_element(By.ID, 'caption').text)
                pictures.append(self.canvas_rgb())
            self.answer(ways[waits % 3])
            waits += 1
        return self.text('trace').encode('latin-1'), self.text('error'), captions, pictures

    def runs(self, kind):
        """Every program of the kind, built in and with its worked example."""
        for p in CATALOGUE:
            if p['kind'] == kind:
                yield p['name'], []
                if p['example']:
                    yield p['name'], p['example'].split()

    def query(self):
        return dict(urllib.parse.parse_qsl(urllib.parse.urlsplit(self.driver.current_url).query))

    # The tests.

    def test_index_lists_the_programs_theme_by_theme(self):
        self.driver.get(self.base + 'index.html')
        headings = [h.text for h in self.driver.find_elements(By.TAG_NAME, 'h2')]
        # The headings of the menu, without the window that a page does not open.
        self.assertEqual([title.replace(' (windows)', '') for _, title in THEMES], headings)
        for (theme, _), listing in zip(THEMES, self.driver.find_elements(By.CSS_SELECTOR, 'ul.programs')):
            expected = [(p['name'], p['description'], p['kind'] == 'picture')
                        for p in CATALOGUE if p['theme'] == theme]
            got = [(li.find_element(By.TAG_NAME, 'a').text, li.text.split('\n')[-1],
                    bool(li.find_elements(By.TAG_NAME, 'img'))) for li in listing.find_elements(By.TAG_NAME, 'li')]
            self.assertEqual(expected, got, theme)

    def test_console_traces_are_the_native_bytes(self):
        for name, args in self.runs('console'):
            with self.subTest(program=name, args=args):
                status, out, err = native_run(name, args)
                self.open(name, args)
                trace, error, _, _ = self.run_through()
                if self.js('return document.getElementById("trace").dataset.drawn') != 'whole':
                    # A big trace is drawn where in view: Save trace gives it all.
                    trace = self.saved('save-trace', '-'.join([name] + args) + '.txt')
                self.assertEqual(out, trace)
                self.assertEqual(err.decode('latin-1').strip(), error)
                self.assertEqual('ended', self.body('state'))

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
                # A picture page saves pictures, not its captions.
                self.assertFalse(self.driver.find_elements(By.ID, 'save-trace'))

    def test_explanation_is_the_native_explanation(self):
        # (program, arguments): in English, then in French by the switch.
        for name, args in [('cycle_floyd', ['101', '3']), ('cycle_three_methods', ['41', '6']),
                           ('cycle_doubling_search', []), ('rho_floyd', ['8051', '2']),
                           ('strong_test_trace_1729', ['561']), ('prime_proportion', ['1000']),
                           ('gaussian_walk_8', ['7', '10'])]:
            self.open(name, args, 'view=explain&lang=en')
            self.run_through(picture=name in PICTURES)
            self.explained()
            for language in ('en', 'fr'):
                with self.subTest(program=name, args=args, language=language):
                    if language == 'fr':
                        self.driver.find_element(By.CSS_SELECTOR, '[data-lang="fr"]').click()
                    expected = native_explanation(name, args, language)
                    self.assertTrue(expected)
                    self.assertEqual(expected, self.text('explain'))
                    self.assertEqual(language, self.js('return document.getElementById("explain").lang'))
                    deadline = time.time() + 2
                    while self.query()['lang'] != language and time.time() < deadline:
                        time.sleep(0.05)
                    self.assertEqual(language, self.query()['lang'])
            # Save explanation gives the explanation shown, named after the run.
            if name not in PICTURES:
                self.assertEqual(expected.encode(), self.saved('save-explanation', '-'.join([name] + args) + '-fr.txt'))

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
                # The program's one line, as one sentence of the page: without
                # the command that shows the usage, and no exit status.
                message = err.decode('latin-1').strip()
                self.assertTrue(message.startswith(name + ': ') and message.endswith(' --help shows the usage)'))
                core = message[len(name) + 2:message.rindex(' (')]
                self.assertEqual(core + '.', self.driver.find_element(By.ID, 'error').text)
                self.assertNotIn('status', self.text('status'))
                self.assertEqual('', self.text('trace'))

    def test_a_refusal_quotes_the_text_as_typed(self):
        # (what the address gives, what the field and the refusal show)
        for given, shown in [('%E2%80%8B10', '\u200b10'), ('10%00xyz', '10\u2400xyz'), ('d%C3%A9j%C3%A0', 'déjà')]:
            with self.subTest(given=given):
                self.open('cycle_floyd', [given])
                self.assertEqual('ended', self.settle(0))
                self.assertEqual(shown, self.js('return document.querySelector("#parameters input").value'))
                self.assertIn('not "%s".' % shown, self.text('error'))

    def test_too_many_arguments_in_the_address_are_refused(self):
        status, out, err = native_run('cycle_floyd', ['41', '16', '3'])
        self.assertEqual(2, status)
        self.open('cycle_floyd', ['41', '16', '3'])
        self.assertEqual('ended', self.settle(0))
        message = err.decode('latin-1').strip()
        self.assertEqual(message[len('cycle_floyd: '):message.rindex(' (')] + '.', self.text('error'))

    def test_each_pause_waits_for_its_answer(self):
        # prime_listing_compacted pauses twice: after the listing, and after
        # the listing from the compacted table.
        _, out, _ = native_run('prime_listing_compacted', ['100'])
        self.open('prime_listing_compacted', ['100'])
        self.assertEqual('waiting', self.settle(0))
        first = self.text('trace').encode('latin-1')
        self.assertTrue(out.startswith(first) and 0 < len(first) < len(out))
        time.sleep(0.3)
        self.assertEqual(['waiting', '1'], self.js('return [document.body.dataset.state, document.body.dataset.waits]'))
        self.answer('key')
        self.assertEqual('waiting', self.settle(1))
        self.answer('next')
        self.assertEqual('ended', self.settle(2))

    def test_steps_move_with_the_buttons_and_the_keys(self):
        # 452 lines: a step of the middle lies outside the pane's view unless
        # the pane follows it.
        _, out, _ = native_run('cycle_floyd', ['46337', '1'])
        lines = out.decode('latin-1').split('\n')
        self.open('cycle_floyd', ['46337', '1'], 'view=classic')
        self.assertEqual('waiting', self.settle(0))
        steps = int(self.body('steps'))
        # The run, the 450 steps of the tortoise and the hare (the lines of
        # the trace after its first newline), the result, the pause.
        self.assertEqual(len(lines), steps)
        click = lambda id: lambda: self.driver.find_element(By.ID, id).click()
        # A key goes where the focus is: on the button just clicked, or the page.
        key = lambda k: lambda: self.driver.switch_to.active_element.send_keys(k)
        # (what the reader does, the step then shown)
        moves = [(click('step-back'), steps - 1), (key(Keys.ARROW_LEFT), steps - 2),
                 (key(Keys.ARROW_LEFT * 249), steps - 251), (key(Keys.ARROW_RIGHT), steps - 250),
                 (click('step-next'), steps - 249), (key(Keys.END), steps), (click('step-back'), steps - 1),
                 (click('step-end'), steps)]
        for move, step in moves:
            move()
            self.assertEqual(str(step), self.body('step'))
            if step in (steps - 251, steps - 249, steps - 1, steps):
                # The trace shows the run up to the step, the step marked, in
                # view in both panes.
                if 2 <= step <= steps - 2:
                    # Step k + 1 is the k-th of the tortoise and the hare.
                    self.assertEqual('\n'.join(lines[:step]), self.text('trace'))
                    self.assertEqual('\n' + lines[step - 1],
                                     self.js('return document.querySelector("#trace mark").textContent'))
                for pane in ('trace', 'explain'):
                    self.assertTrue(self.js('''
                        const pane = document.getElementById(arguments[0]), mark = pane.querySelector('mark');
                        const a = mark.getBoundingClientRect(), b = pane.getBoundingClientRect();
                        return a.top >= b.top && a.top < b.bottom && a.left >= b.left && a.left < b.right;''', pane),
                        '%s: step %d out of view' % (pane, step))
        # The address follows the step shown, soon after the last move.
        deadline = time.time() + 2
        while self.query().get('step') != str(steps) and time.time() < deadline:
            time.sleep(0.05)
        self.assertEqual(str(steps), self.query().get('step'))

    def test_screens(self):
        # (screen, page): nothing wider than the screen outside the panes,
        # which scroll sideways; trace lines not wrapped; a picture, its
        # caption and its controls in view at once.
        for size, name, args in [(PHONE, 'prime_listing', ['100']), (PHONE, 'ulam_spiral_plot', []),
                                 (DESKTOP, 'ulam_spiral_plot', []), (DESKTOP, 'gaussian_walk_24', ['68', '-5'])]:
            with self.subTest(screen=size, program=name):
                self.screen(size)
                self.open(name, args)
                self.settle(0)
                wide = self.js('''
                    const width = document.documentElement.clientWidth;
                    return Array.from(document.querySelectorAll('body *'))
                        .filter((e) => !e.closest('.pane, .canvas-box') &&
                                       e.getBoundingClientRect().right > width + 0.5)
                        .map((e) => e.tagName + '#' + e.id + '.' + e.className);''')
                self.assertEqual([], wide)
                self.assertLessEqual(self.js('return document.documentElement.scrollWidth'), size[0])
                # Each line of the trace is one line of the pane: its text's
                # boxes stand at no more heights than it has lines.
                self.assertTrue(self.js('''
                    const pane = document.getElementById('trace'), range = document.createRange();
                    range.selectNodeContents(pane);
                    const tops = new Set(Array.from(range.getClientRects(), (r) => Math.round(r.top)));
                    return tops.size <= pane.textContent.split('\\n').length;'''))
                if name != 'prime_listing':
                    for id in ('caption', 'next', 'step-next'):
                        self.assertTrue(self.js('''
                            const r = document.getElementById(arguments[0]).getBoundingClientRect();
                            return r.bottom <= innerHeight && r.right <= innerWidth && r.height > 0;''', id), id)
                    canvas = self.js('const r = document.querySelector("canvas").getBoundingClientRect(); '
                                     'return [r.bottom, r.width];')
                    if size is DESKTOP:
                        self.assertLessEqual(canvas[0], size[1])
                    self.assertLessEqual(canvas[1], size[0])
                status = self.text('status')
                self.assertIn('tap' if size is PHONE else 'press', status.lower())

    def test_an_address_gives_the_same_run_and_step(self):
        # Programs that draw a start or take a seed from the clock.
        for name in ('rho_floyd', 'pminus1_random_base'):
            with self.subTest(program=name):
                self.open(name)
                self.run_through()
                trace, query = self.text('trace'), self.query()
                drawn = query['args'].split()
                self.assertEqual(2, len(drawn))
                self.assertIn(drawn[1], self.text('drawn'))
                self.assertEqual(native_run(name, drawn)[1].decode('latin-1'), trace)
                steps = int(self.body('steps'))
                # Another clock draws another start: the address keeps the one drawn.
                later = self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                                    {'source': 'Date.now = () => %d;' % (EPOCH * 1000 + 86400000)})
                try:
                    step = max(1, steps // 2)
                    self.driver.get(self.base + name + '.html?args=' + '+'.join(drawn) + '&step=%d' % step)
                    self.settle(0)
                    self.assertEqual(str(step), self.body('step'))
                    self.assertTrue(trace.startswith(self.text('trace')))
                    self.driver.find_element(By.ID, 'step-end').click()
                    self.run_through()
                    self.assertEqual(trace, self.text('trace'))
                finally:
                    self.driver.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument', later)

    def test_back_returns_to_the_previous_run(self):
        _, first, _ = native_run('cycle_floyd', ['101', '3'])
        self.open('cycle_floyd', ['101', '3'])
        self.run_through()
        field = self.driver.find_element(By.CSS_SELECTOR, '#parameters input')
        field.clear()
        field.send_keys('103')
        self.driver.find_element(By.CSS_SELECTOR, '#parameters button').click()
        self.run_through()
        self.assertEqual('103', self.query()['args'].split()[0])
        self.driver.back()
        self.assertEqual('101 3', self.query()['args'])
        self.assertEqual(first, self.run_through()[0])

    def test_the_pointer_reads_the_picture(self):
        # (program, arguments, reference, pixels under the pointer)
        cases = [
            ('ulam_spiral_plot', [], ulam, [(388, 304), (320, 220), (404, 300), (400, 296), (112, 588), (10, 10)]),
            ('ulam_spiral_labels', [], labels, [(440, 300), (360, 260), (560, 140)]),
            ('prime_count_plot', [], counts, [(319, 300), (95, 500), (769, 100)]),
            ('gaussian_walk_8', ['7', '10'], walk(12, 54), [(484, 180), (412, 288), (400, 300)]),
            ('gaussian_walk_24', [], walk(3, 119), [(403, 297), (520, 130), (790, 300)]),
            ('gaussian_graph_12', [], walk(5, 57), [(405, 295), (690, 20)]),
            ('fermat_walk_plot', [], fermat, [(480, 430), (660, 70)]),
        ]
        for name, args, reference, pixels in cases:
            self.open(name, args)
            self.assertEqual('waiting', self.settle(0))
            canvas = self.driver.find_element(By.TAG_NAME, 'canvas')
            for x, y in pixels:
                with self.subTest(program=name, pixel=(x, y)):
                    ActionChains(self.driver).move_to_element_with_offset(canvas, x - 400, y - 300).perform()
                    # The page says which pixel the answer is for (the pointer
                    # lands within a pixel of where it is sent).
                    deadline, at = time.time() + 5, None
                    while time.time() < deadline and not (at and abs(at[0] - x) + abs(at[1] - y) <= 2):
                        at = [int(v) for v in (self.body('readout') or '-9,-9').split(',')]
                        time.sleep(0.02)
                    self.assertLessEqual(abs(at[0] - x) + abs(at[1] - y), 2)
                    self.assertEqual(reference(*at), self.text('readout'))
        # Once the run has ended, the last picture still answers.
        self.open('ulam_spiral_plot')
        self.run_through(picture=True)
        ActionChains(self.driver).move_to_element_with_offset(
            self.driver.find_element(By.TAG_NAME, 'canvas'), -12, 4).perform()
        deadline = time.time() + 5
        while time.time() < deadline and self.text('readout') != 'n = 41, prime':
            time.sleep(0.02)
        self.assertEqual('n = 41, prime', self.text('readout'))

    def test_marks_over_the_pictures(self):
        # The numbers of the counting plot's axes at the program's pixels
        # (20 + 0.015 n truncated along the row 550, the ticks at rows 450 to
        # 50 of the column 20), the start and the origin of a Gaussian walk
        # (400 + 12a, 300 - 12b).
        n_columns = [int(Fraction(0.015) * n + 20) for n in range(0, 50001, 10000)]
        cases = [
            ('prime_count_plot', [], [(str(n), x, 550) for n, x in zip(range(0, 50001, 10000), n_columns)] +
             [(str(v), 20, 550 - v // 10) for v in range(1000, 5001, 1000)]),
            ('gaussian_walk_8', ['7', '10'], [('0', 400, 300), ('start', 484, 180), ('', 484, 180)]),
        ]
        for name, args, marks in cases:
            with self.subTest(program=name):
                self.open(name, args)
                self.settle(0)
                deadline = time.time() + 10
                while time.time() < deadline and not self.js('return document.querySelector("#marks span")'):
                    time.sleep(0.05)
                got = self.js('''
                    return Array.from(document.querySelectorAll('#marks span'), (s) =>
                        [s.textContent, parseFloat(s.style.left) * 8, parseFloat(s.style.top) * 6]);''')
                self.assertEqual(sorted(marks), sorted((t, round(x), round(y)) for t, x, y in got))

    def test_a_big_text_is_drawn_where_in_view(self):
        # 50000 lines, and a line of a million characters: the pane holds the
        # lines and columns in view, and the step marked among them.
        self.open('cycle_floyd')
        self.settle(0)
        for text, step in [(''.join('line %d\n' % k for k in range(50000)), 'line 30000\n'),
                           ('x' * 1000000 + 'step\n', 'step\n')]:
            with self.subTest(lines=text.count('\n')):
                drawn = self.js('''
                    const [text, step] = arguments, element = document.createElement('div');
                    element.className = 'pane';
                    document.body.appendChild(element);
                    const store = new TextStore(1 << 24, 1500000), pane = new Pane(element);
                    store.append(text, text.length);
                    pane.reset(store);
                    const at = text.indexOf(step);
                    pane.show(at, at + step.length, 'step');
                    const mark = element.querySelector('mark'), a = mark.getBoundingClientRect(),
                        b = element.getBoundingClientRect();
                    const result = [element.dataset.drawn, element.textContent.length, mark.textContent,
                                    a.top >= b.top && a.bottom <= b.bottom && a.left >= b.left && a.left < b.right];
                    element.remove();
                    return result;''', text, step)
                self.assertEqual('in view', drawn[0])
                self.assertLess(drawn[1], 20000)
                self.assertEqual(step, drawn[2])
                self.assertTrue(drawn[3], 'the step is out of view')

    def test_save_picture_downloads_the_stage_shown(self):
        _, _, _, stages = native_stages('gaussian_walk_8', ['7', '10'])
        self.open('gaussian_walk_8', ['7', '10'])
        for k in (1, 2):
            self.assertEqual('waiting', self.settle(k - 1))
            picture = self.saved('save-picture', 'gaussian_walk_8-7-10-%d.png' % k)
            self.assertTrue(png_rgb(picture) == stages[k - 1], 'stage %d' % k)
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
        self.assertEqual(out, self.saved('save-trace', 'rho_factor_16019.txt'))

    def saved(self, button, name):
        """The file that the button saves, as it is named."""
        path = os.path.join(self.downloads, name)
        if os.path.exists(path):
            os.remove(path)
        self.driver.find_element(By.ID, button).click()
        self.wait_for_file(path)
        with open(path, 'rb') as f:
            return f.read()

    def wait_for_file(self, path, timeout=20):
        deadline = time.time() + timeout
        while not os.path.exists(path) and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.2)  # the download is renamed into place once complete
        self.assertTrue(os.path.exists(path), path + ' was not downloaded')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
