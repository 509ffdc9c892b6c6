#!/usr/bin/python3
"""Writes the web edition's static site into a folder.

    site.py NATIVE_BUILD WEB_BUILD DIR

DIR receives index.html (the programs theme by theme, as the launcher's menu
shows them, each with its line of description), one page NAME.html per
program with its module NAME.js + NAME.wasm, and the pages' suite.js and
suite.css. The registry comes from the web build (catalogue.tsv and
themes.tsv); each page's parameter fields come from the native program's
own usage (NAME --help), so they carry the same names, meanings, ranges and
built-in values as the command line.
"""
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

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


def native_usage(native, name, kind):
    """NAME --help from the native build; a picture program through its
    capture variant, which needs no display."""
    path = os.path.join(native, 'bin', 'capture' if kind == 'picture' else '', name)
    env = dict(os.environ, SDL_VIDEODRIVER='dummy')
    with tempfile.TemporaryDirectory() as scratch:
        try:
            done = subprocess.run([path, '--help'], cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=20)
        except subprocess.TimeoutExpired:
            return ''
    return done.stdout.decode('latin-1') if done.returncode == 0 else ''


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
    if example:
        rows.append('    <p class="help">Example: <a href="?args={q}">{name} {a}</a></p>'.format(
            q=e('+'.join(example.split())), name=e(name), a=e(example)))
    if kind == 'picture':
        body = '''<canvas width="800" height="600" title="a key or a click moves on to the next stage"></canvas>
<p id="caption"></p>
<p class="controls"><button id="next" type="button">Next stage</button>
<button id="save-picture" type="button">Save picture</button></p>
<p id="status" aria-live="polite"></p>
<pre id="trace" class="log"></pre>
<p class="controls"><button id="save-trace" type="button">Save trace</button></p>'''
    else:
        body = '''<pre id="trace" class="terminal"></pre>
<p class="controls"><button id="enter" type="button">Enter &#x23CE;</button>
<button id="save-trace" type="button">Save trace</button></p>
<p id="status" aria-live="polite"></p>'''
    info = json.dumps({'name': name, 'kind': kind}).replace('</', '<\\/')
    # The module is fetched and compiled from the start, while the page's
    # scripts load (suite.js compiles it itself when this did not run).
    early = ('<script>window.suiteModule = WebAssembly.compileStreaming(fetch({})).catch(() => null);</script>'
             .format(json.dumps(name + '.wasm').replace('</', '<\\/')))
    return head(name, early) + '''<body class="{kind}" data-state="running">
<header><a href="index.html">{title}</a>
<h1>{name}</h1>
<p>{description}</p></header>
<form id="parameters">
{rows}
    <p><button type="submit">Run again</button></p>
</form>
<p id="error" role="alert" hidden></p>
{body}
<script type="application/json" id="program">{info}</script>
<script src="{name}.js"></script>
<script src="suite.js"></script>
</body>
</html>
'''.format(name=e(name), kind=e(kind), title=e(TITLE), description=e(description), rows='\n'.join(rows),
           body=body, info=info)


def index(themes, programs):
    e = html.escape
    parts = []
    for theme, heading in themes:
        items = ['<li><a href="{n}.html">{n}</a> <span class="kind">{k}</span><br>{d}</li>'.format(
            n=e(p['name']), k='picture' if p['kind'] == 'picture' else 'trace', d=e(p['description']))
            for p in programs if p['theme'] == theme]
        parts.append('<h2>{}</h2>\n<ul class="programs">\n{}\n</ul>'.format(e(heading), '\n'.join(items)))
    return head(TITLE) + '''<body class="index">
<h1>{title}</h1>
<p>Twenty-five small programs of elementary computational number theory, each showing every step of
one classical algorithm: a trace (in French) or a picture drawn in stages. Open one; give it your own
numbers in its fields, or keep the built-in example.</p>
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
        parameters = parameters_of(native_usage(native, p['name'], p['kind']), p['name'])
        with open(os.path.join(out, p['name'] + '.html'), 'w', encoding='utf-8') as f:
            f.write(page(p, parameters))
        for suffix in ('.js', '.wasm'):
            shutil.copyfile(os.path.join(web, 'bin', p['name'] + suffix), os.path.join(out, p['name'] + suffix))
    with open(os.path.join(out, 'index.html'), 'w', encoding='utf-8') as f:
        f.write(index(themes, programs))
    for asset in ('suite.js', 'suite.css'):
        shutil.copyfile(os.path.join(HERE, asset), os.path.join(out, asset))


if __name__ == '__main__':
    main()
