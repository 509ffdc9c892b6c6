// The page of one program of the suite. The program runs in a worker
// (worker.js), a fresh one for every run, from its WebAssembly module
// (NAME.wasm, built from the same C++ as the native program, compiled once
// by the page). Its run comes back as steps, each with its part of the
// classic trace, of the explanation in English and in French, and of the
// JSON events; the page shows the run up to the current step, which the
// reader moves, and answers the program's waits.
//
// What a check can rely on: NAME.html?args=A+B starts the program with the
// arguments A and B (&view=classic|explain, &lang=en|fr and &step=K choose
// the view shown first, the language and the step shown); #trace holds the
// classic trace up to the step shown, #explain the explanation (a big text
// only the part in view, and then its dataset.drawn is "in view", not
// "whole"), the program's one canvas (800x600) the picture;
// document.body.dataset.state
// is "running", "waiting" (at a pause or a stage) or "ended",
// dataset.waits counts the waits of the run so far, dataset.step is the
// step shown and dataset.steps the steps so far, dataset.explanation is
// "writing" until the explanation is written to the run's end, then "done"; the keys → ← and End move
// the step, and any other key pressed anywhere but in a field or on a
// button answers a wait. On a picture, #readout says what the program finds
// at the pixel under the pointer, dataset.readout being that pixel "X,Y".
'use strict';
(() => {
    const program = JSON.parse(document.getElementById('program').textContent);
    const byId = (id) => document.getElementById(id);
    const body = document.body;
    const status = byId('status');
    const error = byId('error');
    const form = byId('parameters');
    const fields = Array.from(form.querySelectorAll('input'));
    const canvas = document.querySelector('canvas');
    const caption = byId('caption');
    const stepCount = byId('step-count');
    const leftOut = byId('left-out');
    const explaining = byId('explaining');
    const readout = byId('readout');
    const panes = {classic: new Pane(byId('trace')), explain: new Pane(byId('explain'))};
    const buttons = {
        back: byId('step-back'), next: byId('step-next'), end: byId('step-end'), stage: byId('next'),
        saveTrace: byId('save-trace'), saveExplanation: byId('save-explanation'), savePicture: byId('save-picture'),
        zoom: byId('zoom'),
    };

    // The page keeps this much of each view (the JSON events it reads are
    // the first ones); Save trace still gives every byte.
    const keptCharacters = 16 << 20, keptLines = 1500000;
    const kept = {classic: keptCharacters, english: keptCharacters, french: keptCharacters, json: 1 << 20};
    // On a touch screen the words say "tap".
    const touch = matchMedia('(hover: none) and (pointer: coarse)').matches;
    const prompts = touch ? [
        'Paused: tap Next to go on.',
        'Waiting for a key: tap Next to go on.',
        'Tap Next stage to go on; tap the picture to read a point.',
    ] : [
        'Paused: press Enter or Next step to go on.',
        'Waiting for a key: press any key or Next step to go on.',
        'Press a key, click the picture or Next stage to go on; point at the picture to read it.',
    ];

    let compiled = null; // the module, compiled once for every run
    let spares = []; // workers with the program's glue loaded, for the next run
    let run = null; // the run on the page
    let firstOutputMarked = false, firstStageMarked = false;
    const settings = {view: 'classic', lang: 'en'};

    // The catalogues of the explanations' words, fetched once for the runs
    // that explain: {en, fr}, each the bytes of a compiled catalogue.
    let catalogues = null;
    function fetchCatalogues() {
        if (!catalogues)
            catalogues = Promise.all(['en', 'fr'].map((language) => fetch(language + '.mo')
                .then((r) => (r.ok ? r.arrayBuffer() : null)).catch(() => null)))
                .then(([en, fr]) => ({en, fr}));
        return catalogues;
    }

    function compile() {
        if (!compiled) {
            const url = program.name + '.wasm';
            const bytes = () => fetch(url).then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b));
            // The page's head started a streaming compilation, which needs
            // the application/wasm type; any server will do for the plain one.
            const early = window.suiteModule || Promise.resolve(null);
            window.suiteModule = null;
            compiled = early.then((module) => module || bytes()).catch((e) => {
                compiled = null; // "Run again" tries once more
                throw e;
            });
        }
        return compiled;
    }

    // A worker with the program's glue loaded: the one the page's head
    // started, then a new one for each run.
    function newWorker() {
        const early = window.suiteWorker;
        window.suiteWorker = null;
        if (early)
            return early;
        const worker = new Worker('worker.js');
        worker.postMessage({load: program.name});
        return worker;
    }

    // The steps of a run, which its two runs cut alike: where each ends in
    // each view. The classic trace has the steps of the run the reader
    // follows (count); the other views, those that the unattended run has
    // rendered so far (explained), which may be more.
    class Steps {
        constructor() {
            this.ends = {};
            this.counts = {};
            for (const view of ['classic', 'english', 'french', 'json']) {
                this.ends[view] = new Int32Array(256);
                this.counts[view] = 0;
            }
        }

        get count() { return this.counts.classic; }
        get explained() { return this.counts.english; }

        add(view, length) {
            let ends = this.ends[view];
            const k = this.counts[view]++;
            if (k === ends.length) {
                this.ends[view] = new Int32Array(ends.length * 2);
                this.ends[view].set(ends);
                ends = this.ends[view];
            }
            ends[k] = (k ? ends[k - 1] : 0) + length;
        }

        // Where step k (from 1) starts and ends in a view; a step that the
        // view has not yet is empty, at its end so far.
        range(view, k) {
            const ends = this.ends[view], have = this.counts[view];
            const end = (j) => (j < 1 ? 0 : ends[Math.min(j, have) - 1]);
            return k > have ? [end(have), end(have)] : [end(k - 1), end(k)];
        }
    }

    function setState(state, text) {
        body.dataset.state = state;
        status.textContent = text;
        updateControls();
    }

    // The view of the explanation in the language chosen.
    const explanationView = () => (settings.lang === 'fr' ? 'french' : 'english');

    // Shows the run up to its current step in both panes and on the canvas.
    function showStep(reveal) {
        const k = run.current;
        body.dataset.step = k;
        body.dataset.steps = run.steps.count;
        const classic = run.steps.range('classic', k), explained = run.steps.range(explanationView(), k);
        panes.classic.show(classic[0], classic[1], reveal);
        panes.explain.show(explained[0], explained[1], reveal);
        stepCount.textContent = run.steps.count ? 'Step ' + k + ' of ' + run.steps.count : '';
        showLeftOut();
        showExplaining();
        if (canvas)
            showStage(k);
        updateControls();
    }

    function showLeftOut() {
        const notes = [];
        const note = (store, what, save) => {
            const missing = store.received - store.length;
            if (missing > 0)
                notes.push('The page shows the first ' + store.length.toLocaleString('en') + ' characters of the ' +
                           what + '; ' + missing.toLocaleString('en') + ' more are left out' + save + '.');
        };
        note(run.stores.classic, 'trace', ' (Save trace gives every byte)');
        note(run.stores[explanationView()], 'explanation', '');
        leftOut.textContent = notes.join(' ');
        leftOut.hidden = !notes.length;
    }

    // While the explanation is behind the step shown, a line says how far
    // it has come.
    function showExplaining() {
        const r = run, behind = !r.explainedAll && r.steps.explained < r.current;
        explaining.hidden = !behind;
        if (behind)
            explaining.textContent = 'The explanation is being written: ' +
                r.steps.explained.toLocaleString('en') + ' steps so far.';
    }

    // The picture of the last stage shown up to step k.
    function showStage(k) {
        let stage = null;
        for (const s of run.stages)
            if (s.step <= k)
                stage = s;
        showMarks(stage);
        if (stage === run.painted)
            return;
        run.painted = stage;
        const context = canvas.getContext('2d');
        if (!stage) {
            context.clearRect(0, 0, canvas.width, canvas.height);
            caption.textContent = '';
            canvas.setAttribute('aria-label', 'The picture, not drawn yet');
            return;
        }
        context.putImageData(stage.image, 0, 0);
        caption.textContent = 'stage ' + stage.shown + ' of ' + stage.count + ': ' + stage.caption;
        canvas.setAttribute('aria-label', caption.textContent);
        document.title = program.name + ': ' + caption.textContent;
    }

    // The stage's event (its JSON line, from the run of the explanations),
    // once it has come.
    function stageEvent(stage) {
        if (!stage || stage.step > run.steps.counts.json)
            return null;
        const [from, to] = run.steps.range('json', stage.step);
        for (const line of run.stores.json.slice(from, to).split('\n'))
            if (line.startsWith('{"event": "stage"'))
                return JSON.parse(line);
        return null;
    }

    // Over the picture, at the program's pixels: the numbers of the axes
    // (prime_count_plot), the origin and the start (the Gaussian walks).
    function showMarks(stage) {
        const marks = byId('marks'), event = stageEvent(stage);
        const shown = stage && event ? stage.step : 0;
        if (marks.dataset.step === String(shown))
            return;
        marks.textContent = '';
        marks.dataset.step = shown;
        if (!event)
            return;
        const mark = (x, y, className, text) => {
            const span = marks.appendChild(document.createElement('span'));
            span.className = className;
            span.style.left = x / canvas.width * 100 + '%';
            span.style.top = y / canvas.height * 100 + '%';
            span.textContent = text;
        };
        (event.n_marks || []).forEach((n, i, all) =>
            mark(event.n_columns[i], event.axis_row, i === all.length - 1 ? 'tick-n last' : 'tick-n', n));
        (event.count_marks || []).forEach((v, i) => mark(event.axis_column, event.count_rows[i], 'tick-count', v));
        if ('origin_x' in event)
            mark(event.origin_x, event.origin_y, 'origin', '0');
        if ('start_x' in event) {
            mark(event.start_x, event.start_y, 'ring', '');
            mark(event.start_x, event.start_y, 'label', 'start');
        }
    }

    function updateControls() {
        if (!run)
            return;
        const waiting = body.dataset.state === 'waiting', atEnd = run.current === run.steps.count;
        buttons.back.disabled = run.current <= 1;
        buttons.next.disabled = atEnd && !waiting;
        buttons.end.disabled = atEnd;
        if (buttons.stage)
            buttons.stage.disabled = !waiting;
    }

    // The views of a batch of steps, each view's texts and its length in
    // each step (as much as was written, also what was not sent).
    function take(r, batch, views) {
        for (const view of views) {
            const i = {classic: 1, english: 2, french: 3, json: 4}[view];
            let total = 0;
            for (let k = 0; k < batch.steps.length; k += 5) {
                r.steps.add(view, batch.steps[k + i]);
                total += batch.steps[k + i];
            }
            r.stores[view].append(batch[view], total);
        }
    }

    // A batch of steps from the run of the trace.
    function receive(batch) {
        const r = run;
        if (!r.ready) {
            // The numbers were taken: the run is on.
            r.ready = true;
            showRun();
            writeAddress();
        }
        r.classicBytes.push(batch.classicBytes);
        const first = r.steps.count;
        take(r, batch, ['classic']);
        for (const p of batch.pictures) {
            const image = new ImageData(new Uint8ClampedArray(p.pixels.buffer), 800, 600);
            r.stages.push({step: first + p.step + 1, shown: p.shown, count: p.count, caption: p.caption, image});
            if (!firstStageMarked) {
                firstStageMarked = true;
                performance.mark('first-stage');
            }
        }
        if (r.target && r.steps.count >= r.target) {
            // The step asked for by the address is there: it stays shown.
            r.current = r.target;
            r.target = 0;
            r.following = false;
            showStep('step');
        } else if (r.following && !r.target) {
            r.current = r.steps.count;
            showStep('output');
        } else {
            body.dataset.steps = r.steps.count;
            stepCount.textContent = 'Step ' + r.current + ' of ' + r.steps.count;
            updateControls();
        }
        if (!firstOutputMarked && r.stores.classic.length) {
            firstOutputMarked = true;
            performance.mark('first-output');
        }
    }

    // A batch of steps from the unattended run, which renders the other views.
    function receiveExplained(batch) {
        const r = run, before = r.steps.explained;
        take(r, batch, ['english', 'french', 'json']);
        body.dataset.explained = r.steps.explained;
        // Only what reaches the step shown changes the explanation's pane,
        // and the marks over the picture.
        if (before < r.current)
            showStep(r.following ? 'output' : undefined);
    }

    // The unattended run ended: its steps past the trace's last (what the
    // explanation writes when the run ends) are the run's last ones, once
    // the trace's run has ended too.
    function explainedAll() {
        const r = run;
        r.explainedAll = true;
        body.dataset.explanation = 'done';
        lastSteps();
    }

    function lastSteps() {
        const r = run;
        if (r.ended && r.explainedAll && r.steps.explained > r.steps.count) {
            const following = r.current === r.steps.count;
            while (r.steps.count < r.steps.explained)
                r.steps.add('classic', 0);
            if (following) {
                r.current = r.steps.count;
                writeAddress();
            }
        }
        if (r.ended && r.explainedAll)
            showStep(r.following ? 'output' : undefined);
        noteMissingExplanation();
    }

    function wait(kind) {
        const r = run;
        r.waitKind = kind;
        body.dataset.waits = ++r.waits;
        // Waits before the step that the address asks for are answered at once.
        if (r.target && r.steps.count < r.target) {
            r.workers.trace.postMessage({answer: kind === 0 ? 10 : 0});
            return;
        }
        if (r.target)
            r.target = 0;
        setState('waiting', prompts[kind] || prompts[1]);
        writeAddress();
        prepareNextRun();
        if (r.queue.length)
            answer(r.queue.shift());
    }

    // Answers the program's wait; typed ahead, it answers the next wait, as
    // on a terminal. Answering moves the page to the end of the run.
    function answer(code) {
        const r = run;
        if (!r || r.ended)
            return;
        if (body.dataset.state !== 'waiting') {
            r.queue.push(code);
            return;
        }
        setState('running', 'Running.');
        r.following = true;
        if (r.current !== r.steps.count) {
            r.current = r.steps.count;
            showStep('step');
        }
        r.workers.trace.postMessage({answer: code});
    }

    // A refusal of the program's (the command line's one line) as a
    // sentence of the page: without the program's name and the hint at
    // --help, the typed text as it was typed.
    function sentence(message) {
        let text = message.trim();
        if (text.startsWith(program.name + ': '))
            text = text.slice(program.name.length + 2);
        text = text.replace(/ \(\S+ --help shows the usage\)$/, '');
        // The program writes the bytes of a typed text that are not
        // printable ASCII as C escapes: back to bytes, then to UTF-8.
        const bytes = [];
        for (let i = 0; i < text.length; i++) {
            const escape = text[i] === '\\' ? /^\\(x[0-9a-f]{2}|[nrt"\\])/.exec(text.slice(i)) : null;
            if (escape) {
                const c = escape[1];
                bytes.push(c[0] === 'x' ? parseInt(c.slice(1), 16) : {n: 10, r: 13, t: 9}[c] || c.charCodeAt(0));
                i += escape[0].length - 1;
            } else {
                bytes.push(...new TextEncoder().encode(text[i]));
            }
        }
        text = new TextDecoder().decode(new Uint8Array(bytes));
        return /[.!?]$/.test(text) ? text : text + '.';
    }

    function finish(r, exitStatus, errors, reason) {
        r.ended = true;
        if (r.target) {
            // The address asked for a step beyond the run's last.
            r.current = r.steps.count;
            r.target = 0;
            r.following = true;
        }
        if (reason !== undefined)
            setState('ended', 'The program stopped: ' + reason);
        else if (exitStatus === 0)
            setState('ended', 'Ended.');
        else if (exitStatus === 2)
            setState('ended', 'Not run: the numbers were refused.');
        else
            setState('ended', 'The program stopped with an error.');
        if (errors && errors.trim()) {
            error.textContent = exitStatus === 2 ? sentence(errors) :
                errors.trim().split('\n').map(sentence).join('\n');
            error.hidden = false;
        }
        if (exitStatus === 0 || reason !== undefined)
            showRun();
        prepareNextRun();
        writeAddress();
        showStep(r.following ? 'output' : undefined);
        lastSteps();
    }

    // A run that explains nothing says so in place of the explanation.
    function noteMissingExplanation() {
        const pane = byId('explain');
        if (run.ended && run.explainedAll && !run.stores[explanationView()].received)
            pane.dataset.note = canvas ? 'No legend for this picture.' : 'No explanation for this run.';
        else
            delete pane.dataset.note;
    }

    // The parameters left out of the run whose value it drew, at random or
    // from the clock.
    const drawnIn = (r) => program.parameters.filter(
        (p, i) => p.drawn && i >= r.args.length && r.values[p.name] !== undefined);

    // The numbers of the run as the program took them: a value drawn is
    // written in, and the earlier ones with it, so that the address gives
    // the same run.
    function runArguments(r) {
        const drawn = drawnIn(r);
        if (!drawn.length)
            return r.args;
        const last = program.parameters.indexOf(drawn[drawn.length - 1]);
        return program.parameters.slice(0, last + 1).map((p, i) => (i < r.args.length ? r.args[i] : r.values[p.name]));
    }

    // The heading of the run: the command it stands for, and what was drawn.
    function showRun() {
        const r = run;
        byId('command').textContent = [program.name].concat(runArguments(r)).join(' ');
        const drawn = drawnIn(r).map((p) => p.name + ' ' + r.values[p.name] + ' ' +
                                          (p.builtin === 'the clock' ? 'taken from the clock' : 'drawn at random'));
        byId('drawn').textContent = drawn.length ? '(' + drawn.join(', ') + ')' : '';
        byId('run').hidden = false;
    }

    function address(r, withStep) {
        const query = new URLSearchParams();
        const args = runArguments(r);
        let text = args.length ? 'args=' + args.map(encodeURIComponent).join('+') : '';
        for (const [key, value] of [['view', settings.view], ['lang', settings.lang]])
            query.set(key, value);
        if (withStep && r.current)
            query.set('step', r.current);
        text += (text ? '&' : '') + query.toString();
        return location.pathname + '?' + text;
    }

    // The run's address, kept up to date: its numbers (with what was drawn),
    // the view, the language and the step shown. While the reader moves
    // through the steps it is written at most every so often.
    let addressTimer = 0;
    function writeAddress(soon) {
        const write = () => {
            clearTimeout(addressTimer);
            addressTimer = 0;
            if (run && (run.ready || run.ended))
                history.replaceState({run: true}, '', address(run, true));
        };
        if (!soon)
            write();
        else if (!addressTimer)
            addressTimer = setTimeout(write, 200);
    }

    function start(args, target) {
        if (run) {
            run.workers.trace.terminate();
            run.workers.explain.terminate();
        }
        const workers = spares.length ? spares.shift() : {trace: newWorker(), explain: newWorker()};
        asking = false;
        nextAsked = null;
        const stores = {
            classic: new TextStore(keptCharacters, keptLines), english: new TextStore(keptCharacters, keptLines),
            french: new TextStore(keptCharacters, keptLines), json: new TextStore(keptCharacters, keptLines),
        };
        const r = run = {
            args, workers, stores, steps: new Steps(), classicBytes: [], stages: [], painted: undefined, current: 0,
            following: !target, target: target || 0, queue: [], waits: 0, waitKind: 0, ended: false, values: {},
            ready: false, explainedAll: false,
        };
        body.dataset.waits = 0;
        body.dataset.explained = 0;
        body.dataset.explanation = 'writing';
        panes.classic.reset(stores.classic);
        panes.explain.reset(stores[explanationView()]);
        noteMissingExplanation();
        error.hidden = true;
        error.textContent = '';
        byId('run').hidden = true;
        leftOut.hidden = true;
        setState('running', 'Loading.');
        showStep();
        workers.explain.onmessage = (e) => {
            if (run !== r)
                return;
            const m = e.data;
            if (m.batch)
                receiveExplained(m.batch);
            else if ('exit' in m || m.abort)
                explainedAll();
        };
        workers.trace.onmessage = (e) => {
            if (run !== r)
                return;
            const m = e.data;
            if (m.batch) {
                receive(m.batch);
            } else if (m.parameter) {
                r.values[m.parameter[0]] = m.parameter[1];
            } else if ('wait' in m) {
                wait(m.wait);
            } else if ('exit' in m) {
                finish(r, m.exit, m.errors);
            } else if (m.abort) {
                finish(r, null, '', m.abort);
            } else if ('readout' in m) {
                showReadout(m.readout);
            }
            if (r.stores.classic.length || r.stages.length || 'wait' in m || 'exit' in m || m.abort)
                startExplaining();
        };
        // The trace's run and the explanations' one, with the same numbers
        // and clock. The explanations' run starts once the trace has shown
        // something (or after a quarter of a second), so that on two cores
        // it does not slow the first lines of the trace.
        const now = Date.now(), given = args.map(forProgram), words = fetchCatalogues();
        let explaining = false;
        const startExplaining = () => {
            if (explaining || run !== r)
                return;
            explaining = true;
            Promise.all([compile(), words])
                .then(([module, catalogues]) => run === r &&
                    workers.explain.postMessage({start: {module, args: given, now, views: 6, unattended: true, kept,
                                                         catalogues}}))
                .catch(() => {});
        };
        setTimeout(startExplaining, 250);
        compile()
            .then((module) => {
                if (run !== r)
                    return;
                setState('running', 'Running.');
                workers.trace.postMessage({start: {module, args: given, now, views: 1, unattended: false, kept}});
            })
            .catch((e) => run === r && finish(r, null, '', 'cannot load ' + program.name + '.wasm: ' + e));
    }

    // While the reader reads, the workers of the next run load.
    function prepareNextRun() {
        if (!spares.length)
            (window.requestIdleCallback || setTimeout)(() => {
                if (!spares.length)
                    spares.push({trace: newWorker(), explain: newWorker()});
            });
    }

    // A command line cannot hold the character U+0000: it reaches the
    // program as the sign that stands for it, which the program refuses as
    // it refuses every other character in a number.
    const forProgram = (text) => text.replace(/\0/g, '\u2400');

    function download(blob, name) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = name;
        body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }

    // Files are named after the program and the run's numbers.
    const fileName = (suffix) => [program.name].concat(runArguments(run)).join('-') + suffix;

    // The arguments of the fields, in order, up to the last one filled in: a
    // field left empty before a filled one is passed empty, and refused.
    function fieldArguments() {
        const values = fields.map((f) => f.value.trim());
        while (values.length && values[values.length - 1] === '')
            values.pop();
        return values;
    }

    // The steps, moved by the reader.
    function step(move) {
        const r = run;
        if (!r)
            return;
        const count = r.steps.count;
        // Past the last step is past the pause the program waits at.
        if (move === 'next' && r.current === count) {
            if (body.dataset.state === 'waiting')
                answer(r.waitKind === 0 ? 10 : 0);
            return;
        }
        r.target = 0;
        r.current = move === 'back' ? Math.max(1, r.current - 1) : move === 'next' ? r.current + 1 : count;
        r.following = r.current === count;
        showStep('step');
        writeAddress(true);
    }

    function choose(key, value) {
        settings[key] = value;
        for (const b of document.querySelectorAll('[data-' + key + ']'))
            b.setAttribute('aria-pressed', String(b.dataset[key] === value));
        if (key === 'view' && byId('panes'))
            byId('panes').dataset.view = value;
        if (key === 'lang')
            byId('explain').lang = value;
        if (key === 'lang' && run) {
            panes.explain.reset(run.stores[explanationView()]);
            showStep('step');
            noteMissingExplanation();
        }
        if (run)
            writeAddress(true);
    }

    form.addEventListener('submit', (e) => {
        e.preventDefault();
        const args = fieldArguments();
        history.pushState({run: true}, '', address({args, values: {}}, false));
        start(args);
    });

    // The key's character, as a terminal would send it.
    function keyCode(e) {
        if (e.key.length === 1)
            return e.key.charCodeAt(0) & 0xff;
        return {Enter: 10, Escape: 27, Backspace: 127}[e.key] || 0;
    }

    const stepKeys = {ArrowRight: 'next', ArrowLeft: 'back', End: 'end'};
    document.addEventListener('keydown', (e) => {
        if (e.repeat && !stepKeys[e.key] || e.ctrlKey || e.metaKey || e.altKey)
            return;
        if (['Shift', 'Control', 'Alt', 'Meta', 'AltGraph', 'CapsLock', 'NumLock', 'Tab'].includes(e.key))
            return;
        // Typing in a field; a key that works a button or a link answers no
        // wait, but the step keys work there too.
        const inside = (selector) => e.target.closest && e.target.closest(selector);
        if (inside('input, textarea, select') || (!stepKeys[e.key] && inside('button, a[href], summary')))
            return;
        e.preventDefault();
        if (stepKeys[e.key])
            step(stepKeys[e.key]);
        else
            answer(keyCode(e));
    });
    buttons.back.addEventListener('click', () => step('back'));
    buttons.next.addEventListener('click', () => step('next'));
    buttons.end.addEventListener('click', () => step('end'));
    for (const b of document.querySelectorAll('[data-view], [data-lang]'))
        b.addEventListener('click', () => (b.dataset.view ? choose('view', b.dataset.view)
                                                          : choose('lang', b.dataset.lang)));
    if (buttons.saveTrace)
        buttons.saveTrace.addEventListener('click', () =>
            download(new Blob(run.classicBytes, {type: 'text/plain; charset=iso-8859-1'}), fileName('.txt')));
    if (buttons.saveExplanation)
        buttons.saveExplanation.addEventListener('click', () => {
            const store = run.stores[explanationView()];
            download(new Blob([store.slice(0, store.length)], {type: 'text/plain; charset=utf-8'}),
                     fileName('-' + settings.lang + '.txt'));
        });

    // A picture: a click, or the button, answers the stage's wait; the
    // pointer over it (a tap on a touch screen) asks the program what lies
    // there.
    if (canvas) {
        let touched = false;
        buttons.stage.addEventListener('click', () => answer(0));
        canvas.addEventListener('click', () => touched || answer(0));
        canvas.addEventListener('pointerdown', (e) => {
            touched = e.pointerType === 'touch';
            if (touched)
                askReadout(e);
        });
        canvas.addEventListener('pointermove', (e) => e.pointerType === 'mouse' && askReadout(e));
        canvas.addEventListener('pointerleave', (e) => e.pointerType === 'mouse' && clearReadout());
        buttons.savePicture.addEventListener('click', () => {
            const stage = run.painted;
            if (stage)
                canvas.toBlob((blob) => download(blob, fileName('-' + stage.shown + '.png')), 'image/png');
        });
        // On a narrow screen the picture fits the width; the zoom shows it
        // at its own size, to be scrolled.
        buttons.zoom.addEventListener('click', () => {
            const zoomed = !canvas.parentNode.classList.toggle('fit');
            buttons.zoom.setAttribute('aria-pressed', String(zoomed));
        });
    }

    // The pixel of the picture under the pointer, asked of the run's program:
    // one question at a time, the latest position asked next.
    let asking = false, nextAsked = null, cleared = true;
    function askReadout(e) {
        const box = canvas.getBoundingClientRect();
        const width = box.width - canvas.clientLeft * 2, height = box.height - canvas.clientTop * 2;
        const x = Math.floor((e.clientX - box.left - canvas.clientLeft) * canvas.width / width);
        const y = Math.floor((e.clientY - box.top - canvas.clientTop) * canvas.height / height);
        // The program answers for the stage it holds, the last one shown.
        const held = run && run.stages.length && run.painted === run.stages[run.stages.length - 1];
        if (!held || x < 0 || y < 0 || x >= canvas.width || y >= canvas.height)
            return clearReadout();
        cleared = false;
        if (asking) {
            nextAsked = [x, y];
            return;
        }
        asking = true;
        run.workers.trace.postMessage({readout: [x, y]});
    }

    function clearReadout() {
        nextAsked = null;
        cleared = true;
        readout.textContent = '';
        body.dataset.readout = '';
    }

    // The program's answer: its words, and the pixel they are for.
    function showReadout(answer) {
        asking = false;
        if (!cleared) {
            readout.textContent = answer[2];
            body.dataset.readout = answer[0] + ',' + answer[1];
        }
        if (nextAsked && run) {
            asking = true;
            run.workers.trace.postMessage({readout: nextAsked});
            nextAsked = null;
        }
    }

    // The address: the run's numbers, the view, the language, the step.
    function fromAddress() {
        const query = new URLSearchParams(location.search);
        const given = query.get('args');
        const args = given === null ? [] : given.split(/\s+/).filter((a) => a !== '');
        fields.forEach((f, i) => { f.value = args[i] !== undefined ? forProgram(args[i]) : ''; });
        const browser = (navigator.languages || [navigator.language || 'en'])[0] || 'en';
        choose('view', query.get('view') === 'explain' ? 'explain' : 'classic');
        choose('lang', query.get('lang') === 'fr' || query.get('lang') === 'en' ? query.get('lang') :
            browser.toLowerCase().startsWith('fr') ? 'fr' : 'en');
        const target = parseInt(query.get('step'), 10);
        start(args, target > 0 ? target : 0);
    }

    // Back and Forward return to the runs before and after.
    window.addEventListener('popstate', fromAddress);

    compile();
    fetchCatalogues();
    fromAddress();
})();
