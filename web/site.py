#!/usr/bin/python3
"""Writes the web edition's static site into a folder.

    site.py NATIVE_BUILD WEB_BUILD DIR

DIR receives index.html (the programs theme by theme, as the launcher's menu
shows them, each with its line of description, and for a picture program a
small copy of its first stage, NAME-small.png), one page NAME.html per
program with its module NAME.js + NAME.wasm, and the pages' scripts
(suite.js, pane.js, and worker.js, which runs the program) and suite.css,
and the catalogues of the explanations' words (en.mo and fr.mo, compiled by
the web build).
The registry comes from the web build (catalogue.tsv and themes.tsv); each
page's parameter fields come from the native program's own usage (NAME
--help), so they carry the same names, meanings, ranges and built-in values
as the command line; the first stages from its capture variant.
"""
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pictures  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
TITLE = 'Number theory demos'


def read_tsv(path):
    with open(path, encoding='utf-8') as f:
        return [line.rstrip('\n').split('\t') for line in f if line.strip()]


# A parameter line of the usage: "  NAME  meaning; range; built-in VALUE" or
# "...; built-in: text".
PARAMETER = re.compile(r'^  (\S+)  +(.*); built-in(?::? )(.*)$')


def parameters_of(usage, name):
    """The parameters that the usage text of program `name` declares, in order;
    none when the program does not answer --help with a usage."""
    lines = usage.splitlines()
    if not lines or not lines[0].startswith('usage: ' + name):
        return []
    found = []
    for line in lines[2:]:
        m = PARAMETER.match(line)
        if not m:
            continue
        meaning, _, accepted = m.group(2).rpartition('; ')
        found.append({'name': m.group(1), 'meaning': meaning, 'range': accepted, 'builtin': m.group(3)})
    return found


def native_run(native, name, kind, args, picture=None):
    """The standard output of the native program run with `args` ('' when it
    fails); a picture program through its capture variant, which needs no
    display, and then the PNG of its stage `picture` too (None when none)."""
    path = os.path.join(native, 'bin', 'capture' if kind == 'picture' else '', name)
    env = dict(os.environ, SDL_VIDEODRIVER='dummy')
    with tempfile.TemporaryDirectory() as scratch:
        if kind == 'picture':
            shutil.copyfile(os.path.join(native, 'bin', 'times.ttf'), os.path.join(scratch, 'times.ttf'))
        try:
            done = subprocess.run([path] + args, cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=60)
        except subprocess.TimeoutExpired:
            return '', None
        png = os.path.join(scratch, '%s-%s.png' % (name, picture))
        stage = None
        if picture is not None and os.path.exists(png):
            with open(png, 'rb') as f:
                stage = f.read()
    return (done.stdout.decode('latin-1') if done.returncode == 0 else ''), stage


def small_picture(png):
    """A picture of the gallery, five times smaller, as a PNG."""
    return pictures.write_png(*pictures.shrink(*pictures.read_png(png), 5))


def head(title, extra=''):
    """The start of a page, to its <body>; `extra` comes before the style
    sheet, which would hold up a script until it has loaded."""
    return '''<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{}</title>
{}<link rel="stylesheet" href="suite.css">
<link rel="icon" href="data:,">
</head>
'''.format(html.escape(title), extra + '\n' if extra else '')


# A built-in value that is no fixed number but drawn anew for each run; the
# page writes the value drawn into the run's address.
DRAWN = ('random', 'the clock')

# The step buttons and the language switch, on every page.
STEPS = '''<button id="step-back" type="button" title="Previous step (←)">&#x25C0; Previous<span class="long">
step</span></button>
<button id="step-next" type="button" title="Next step (→)">Next<span class="long"> step</span> &#x25B6;</button>
<button id="step-end" type="button" title="To the end (End)">To the end &#x25B6;&#x25B6;</button>'''
LANGUAGES = '''<span class="switch" role="group" aria-label="Language of the explanation">
<button type="button" data-lang="en" aria-pressed="false" lang="en">English</button><button type="button"
 data-lang="fr" aria-pressed="false" lang="fr">Français</button></span>'''

# A picture, with its caption, the controls and the legend beside it, and
# below what the program printed.
PICTURE = '''<div class="stage-view">
<div class="canvas-box fit"><div class="frame"><canvas width="800" height="600" role="img" tabindex="0"
 aria-label="The picture, not drawn yet" aria-describedby="explain"
 title="a key or a click moves on to the next stage"></canvas><div id="marks" aria-hidden="true"></div></div></div>
<div class="side">
<p id="caption" aria-live="polite"></p>
<p class="readout">Under the pointer: <output id="readout"></output></p>
<p class="controls bar">{steps}
<button id="next" type="button">Next stage</button></p>
<p class="controls"><button id="zoom" type="button" aria-pressed="false">Zoom</button>
<button id="save-picture" type="button">Save picture</button>
<span id="step-count"></span></p>
<p id="status" aria-live="polite"></p>
<section class="legend" aria-label="Legend"><h2>Legend {languages}</h2>
<div id="explain" class="pane" lang="en" tabindex="0"></div>
<p id="explaining" class="help" hidden></p></section>
</div>
</div>
<p id="left-out" hidden></p>
<details class="log"><summary>What the program printed</summary>
<div id="trace" class="pane" lang="fr" tabindex="0"></div></details>'''

# The trace and its explanation side by side (one at a time on a narrow
# screen), the step buttons under them.
CONSOLE = '''<p class="switches"><span class="switch" role="group" aria-label="View shown first">
<button type="button" data-view="classic" aria-pressed="true">Trace</button><button type="button"
 data-view="explain" aria-pressed="false">Explanation</button></span>
{languages}</p>
<div id="panes" data-view="classic">
<section class="classic" aria-label="Trace"><h2>Trace <span class="help">as the program prints it, in French</span></h2>
<div id="trace" class="pane terminal" lang="fr" tabindex="0"></div></section>
<section class="explain" aria-label="Explanation"><h2>Explanation</h2>
<div id="explain" class="pane" lang="en" tabindex="0"></div>
<p id="explaining" class="help" hidden></p></section>
</div>
<p id="left-out" hidden></p>
<div class="controls bar"><p>{steps}
<span id="step-count"></span></p>
<p id="status" aria-live="polite"></p></div>
<p class="controls"><button id="save-trace" type="button">Save trace</button>
<button id="save-explanation" type="button">Save explanation</button></p>'''


def script_json(value):
    """JSON to stand inside a <script> element."""
    return json.dumps(value).replace('</', '<\\/')


def page(entry, parameters):
    name, kind, description, example = entry['name'], entry['kind'], entry['description'], entry['example']
    e = html.escape
    rows = []
    for p in parameters:
        rows.append(
            '    <label><span class="name">{n}</span> <input name="{n}" autocomplete="off" spellcheck="false"'
            ' placeholder="{b}"> <span class="help">{m}; {r}; built-in {b}</span></label>'.format(
                n=e(p['name']), b=e(p['builtin']), m=e(p['meaning']), r=e(p['range'])))
    if not rows:
        rows.append('    <p class="help">This program takes no parameters.</p>')
    run = '    <p class="run"><button type="submit">Run again</button>'
    if example:
        run += ' <span class="help">Example: <a href="?args={q}">{name} {a}</a></span>'.format(
            q=e('+'.join(example.split())), name=e(name), a=e(example))
    rows.append(run + '</p>')
    body = (PICTURE if kind == 'picture' else CONSOLE).format(steps=STEPS, languages=LANGUAGES)
    info = script_json({'name': name, 'kind': kind, 'parameters': [
        {'name': p['name'], 'builtin': p['builtin'], 'drawn': p['builtin'] in DRAWN} for p in parameters]})
    # The module is fetched and compiled from the start, and the worker of
    # the first run loads the program's glue, while the page's scripts load
    # (suite.js does both itself when this did not run).
    early = ('<script>window.suiteModule = WebAssembly.compileStreaming(fetch({})).catch(() => null);\n'
             'window.suiteWorker = new Worker("worker.js"); suiteWorker.postMessage({{load: {}}});</script>'
             .format(script_json(name + '.wasm'), script_json(name)))
    return head(name, early) + '''<body class="{kind}" data-state="running">
<header><a href="index.html">{title}</a>
<h1>{name}</h1>
<p>{description}</p></header>
<form id="parameters">
{rows}
</form>
<p id="error" role="alert" hidden></p>
<p id="run" hidden>Run: <code id="command"></code> <span id="drawn"></span></p>
{body}
<script type="application/json" id="program">{info}</script>
<script src="pane.js"></script>
<script src="suite.js"></script>
</body>
</html>
'''.format(name=e(name), kind=e(kind), title=e(TITLE), description=e(description), rows='\n'.join(rows),
           body=body, info=info)


def index(themes, programs):
    e = html.escape
    parts = []
    for theme, heading in themes:
        # The menu of the console says which programs open a window; on a
        # page the picture is in the page.
        heading = re.sub(r'\s*\(windows\)$', '', heading)
        # A picture program shows a small copy of its first stage.
        items = ['<li>{i}<a href="{n}.html">{n}</a> <span class="kind">{k}</span><br>{d}</li>'.format(
            n=e(p['name']), k='picture' if p['kind'] == 'picture' else 'trace', d=e(p['description']),
            i='<img src="{}-small.png" width="160" height="120" alt="">'.format(e(p['name']))
            if p['kind'] == 'picture' else '')
            for p in programs if p['theme'] == theme]
        parts.append('<h2>{}</h2>\n<ul class="programs">\n{}\n</ul>'.format(e(heading), '\n'.join(items)))
    return head(TITLE) + '''<body class="index">
<h1>{title}</h1>
<p>Twenty-five small programs of elementary computational number theory, each showing every step of
one classical algorithm: a trace (in French), explained step by step in English or in French beside
it, or a picture drawn in stages with its legend. Open one; give it your own numbers in its fields,
or keep the built-in example, and walk through the run step by step.</p>
{parts}
</body>
</html>
'''.format(title=e(TITLE), parts='\n'.join(parts))


def main():
    if len(sys.argv) != 4:
        sys.exit('usage: site.py NATIVE_BUILD WEB_BUILD DIR')
    native, web, out = (os.path.abspath(a) for a in sys.argv[1:])
    themes = read_tsv(os.path.join(web, 'themes.tsv'))
    programs = [dict(zip(('name', 'kind', 'theme', 'description', 'example'), row + [''] * (5 - len(row))))
                for row in read_tsv(os.path.join(web, 'catalogue.tsv'))]
    os.makedirs(out, exist_ok=True)
    for p in programs:
        usage, _ = native_run(native, p['name'], p['kind'], ['--help'])
        parameters = parameters_of(usage, p['name'])
        if p['kind'] == 'picture':
            _, first = native_run(native, p['name'], p['kind'], [], picture=1)
            if first:
                with open(os.path.join(out, p['name'] + '-small.png'), 'wb') as f:
                    f.write(small_picture(first))
        with open(os.path.join(out, p['name'] + '.html'), 'w', encoding='utf-8') as f:
            f.write(page(p, parameters))
        for suffix in ('.js', '.wasm'):
            shutil.copyfile(os.path.join(web, 'bin', p['name'] + suffix), os.path.join(out, p['name'] + suffix))
    with open(os.path.join(out, 'index.html'), 'w', encoding='utf-8') as f:
        f.write(index(themes, programs))
    for asset in ('suite.js', 'pane.js', 'worker.js', 'suite.css'):
        shutil.copyfile(os.path.join(HERE, asset), os.path.join(out, asset))
    # The catalogues of the explanations' words, once for every program.
    for language in ('en', 'fr'):
        shutil.copyfile(os.path.join(web, 'po', language + '.mo'), os.path.join(out, language + '.mo'))


if __name__ == '__main__':
    main()
