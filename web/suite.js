// The page of one program of the suite. It runs the program's WebAssembly
// module (NAME.js and NAME.wasm, built from the same C++ as the native
// program), a fresh instance for every run, shows its trace or its picture,
// and answers its waits.
//
// What a check can rely on: NAME.html?args=A+B starts the program with the
// arguments A and B; the trace is the text of #trace; the picture is the
// page's one canvas (800x600); document.body.dataset.state is "running",
// "waiting" (at a pause or a stage) or "ended", and dataset.waits counts the
// waits of the run so far; a key pressed anywhere but in a field or on a
// button answers a wait.
'use strict';
(() => {
    const program = JSON.parse(document.getElementById('program').textContent);
    const byId = (id) => document.getElementById(id);
    const trace = byId('trace');
    const status = byId('status');
    const error = byId('error');
    const form = byId('parameters');
    const fields = Array.from(form.querySelectorAll('input'));
    const canvas = document.querySelector('canvas');
    const caption = byId('caption');
    const answerButton = byId(canvas ? 'next' : 'enter');
    const saveTrace = byId('save-trace');
    const savePicture = byId('save-picture');

    // What each kind of wait asks for (the numbers of arith/page_web.hpp).
    const prompts = [
        'Paused: press Enter (or the button) to go on.',
        'Waiting for a key: press any key (or the button).',
        'Press a key, click the picture or "Next stage" to go on.',
    ];

    let compiled = null; // the module, compiled once for every run
    let current = null;  // the run on the page; the output of earlier runs is dropped
    let firstOutputMarked = false, firstStageMarked = false;

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

    function setState(state, text) {
        document.body.dataset.state = state;
        status.textContent = text;
        answerButton.disabled = state !== 'waiting';
    }

    // Bytes are Latin-1: each one is the character of the same number.
    function latin1(chunks) {
        let text = '';
        for (const chunk of chunks)
            for (let i = 0; i < chunk.length; i += 8192)
                text += String.fromCharCode.apply(null, chunk.subarray(i, i + 8192));
        return text;
    }

    // Output reaches the page in batches: when the program waits or ends,
    // and whenever it lets the page run.
    function flush(run) {
        run.flushPending = false;
        if (run.shown === run.output.length)
            return;
        run.text.appendData(latin1(run.output.slice(run.shown)));
        run.shown = run.output.length;
        saveTrace.disabled = false;
        if (!firstOutputMarked) {
            firstOutputMarked = true;
            performance.mark('first-output');
        }
    }

    function output(run, bytes) {
        run.output.push(bytes);
        if (!run.flushPending) {
            run.flushPending = true;
            setTimeout(() => run === current && flush(run), 0);
        }
    }

    function answer(code) {
        const run = current;
        if (!run || run.ended)
            return;
        if (run.resume) {
            const resume = run.resume;
            run.resume = null;
            setState('running', 'Running.');
            resume(code);
        } else {
            // Typed ahead: it answers the next wait, as on a terminal.
            run.queue.push(code);
        }
    }

    function finish(run, exitStatus, reason) {
        flush(run);
        run.ended = true;
        const messages = latin1(run.errors).trim();
        if (reason !== undefined) {
            setState('ended', 'The program stopped: ' + reason);
        } else {
            setState('ended', exitStatus === 0 ? 'Ended.' : 'Ended with status ' + exitStatus + '.');
        }
        if (messages) {
            error.textContent = messages;
            error.hidden = false;
        }
    }

    function paint(pixels, width, height) {
        const image = new ImageData(new Uint8ClampedArray(pixels), width, height);
        canvas.getContext('2d').putImageData(image, 0, 0);
    }

    function start(args) {
        const run = {
            args, output: [], shown: 0, errors: [], queue: [], resume: null, waits: 0, stage: 0, ended: false,
            flushPending: false,
        };
        document.body.dataset.waits = 0;
        current = run;
        trace.textContent = '';
        run.text = trace.appendChild(document.createTextNode(''));
        error.hidden = true;
        error.textContent = '';
        saveTrace.disabled = true;
        if (canvas) {
            canvas.getContext('2d').clearRect(0, 0, canvas.width, canvas.height);
            caption.textContent = '';
            savePicture.disabled = true;
        }
        setState('running', 'Loading.');
        const live = () => current === run;
        createProgram({
            arguments: args,
            thisProgram: program.name,
            instantiateWasm(imports, receive) {
                compile()
                    .then((module) => WebAssembly.instantiate(module, imports).then((i) => receive(i, module)))
                    .catch((e) => live() && finish(run, null, 'cannot load ' + program.name + '.wasm: ' + e));
                return {};
            },
            onRuntimeInitialized() {
                performance.mark('runtime-ready');
                if (live())
                    setState('running', 'Running.');
            },
            suiteWrite(fd, bytes) {
                if (live() && fd === 1)
                    output(run, bytes);
                else if (live())
                    run.errors.push(bytes);
            },
            suiteWait(kind) {
                return new Promise((resume) => {
                    if (!live())
                        return; // a run replaced by another one never resumes
                    flush(run);
                    run.resume = resume;
                    document.body.dataset.waits = ++run.waits;
                    setState('waiting', prompts[kind] || prompts[1]);
                    if (run.queue.length)
                        answer(run.queue.shift());
                });
            },
            suiteShowPicture(pixels, width, height) {
                if (live())
                    paint(pixels, width, height);
            },
            suiteShowStage(shown, count, text) {
                if (!live())
                    return;
                run.stage = shown;
                caption.textContent = 'stage ' + shown + ' of ' + count + ': ' + text;
                document.title = program.name + ': ' + caption.textContent;
                savePicture.disabled = false;
                if (!firstStageMarked) {
                    firstStageMarked = true;
                    performance.mark('first-stage');
                }
            },
            onExit: (exitStatus) => live() && finish(run, exitStatus),
            onAbort: (what) => live() && finish(run, null, String(what)),
        });
    }

    function download(blob, name) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = name;
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }

    // The arguments of the fields, in order, up to the last one filled in: a
    // field left empty before a filled one is passed empty, and refused.
    function fieldArguments() {
        const values = fields.map((f) => f.value.trim());
        while (values.length && values[values.length - 1] === '')
            values.pop();
        return values;
    }

    form.addEventListener('submit', (e) => {
        e.preventDefault();
        const args = fieldArguments();
        const query = args.length ? '?args=' + args.map(encodeURIComponent).join('+') : '';
        history.replaceState(null, '', location.pathname + query);
        start(args);
    });

    // The key's character, as a terminal would send it.
    function keyCode(e) {
        if (e.key.length === 1)
            return e.key.charCodeAt(0) & 0xff;
        return {Enter: 10, Escape: 27, Backspace: 127}[e.key] || 0;
    }

    document.addEventListener('keydown', (e) => {
        if (e.repeat || e.ctrlKey || e.metaKey || e.altKey)
            return;
        if (['Shift', 'Control', 'Alt', 'Meta', 'AltGraph', 'CapsLock', 'NumLock', 'Tab'].includes(e.key))
            return;
        // Typing in a field, or a key that works a button or a link.
        if (e.target.closest && e.target.closest('input, textarea, select, button, a[href]'))
            return;
        e.preventDefault();
        answer(keyCode(e));
    });
    answerButton.addEventListener('click', () => answer(canvas ? 0 : 10));
    if (canvas)
        canvas.addEventListener('click', () => answer(0));
    saveTrace.addEventListener('click', () =>
        download(new Blob(current.output, {type: 'text/plain; charset=iso-8859-1'}),
                 program.name + '.txt'));
    if (savePicture)
        savePicture.addEventListener('click', () => {
            const stage = current.stage;
            canvas.toBlob((blob) => download(blob, program.name + '-' + stage + '.png'), 'image/png');
        });

    // The runtime ends a run that paused by throwing its exit status out of
    // the resumed program; that is not an error of the page.
    window.addEventListener('unhandledrejection', (e) => {
        if (e.reason && e.reason.name === 'ExitStatus')
            e.preventDefault();
    });

    const given = new URLSearchParams(location.search).get('args');
    const args = given === null ? [] : given.split(/\s+/).filter((a) => a !== '');
    fields.forEach((f, i) => { f.value = args[i] !== undefined ? args[i] : ''; });
    compile();
    start(args);
})();
