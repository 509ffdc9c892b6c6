// One run of a program of the suite, in a worker of its page, so that the
// page answers its reader however long the run takes; the page stops a run
// by ending its worker. A page runs the program twice with the same
// numbers: once for its classic trace, which waits for the reader, and once
// unattended for the explanations and JSON (views/view_web.cpp). The page
// sends, in order:
//   {load: NAME}        the program's glue, NAME.js, loaded at once
//   {start: {module, args, now, views, unattended, kept, catalogues}}
//                       the run: the compiled NAME.wasm, the arguments, the
//                       page's clock (ms), the views to render (a sum of 1
//                       classic, 2 explanations, 4 JSON), whether the run
//                       goes on by itself at its waits and draws no
//                       pictures, how many bytes of each view's text
//                       (classic, english, french, json) the page keeps, and
//                       the compiled catalogues of the explanations' words
//                       ({en, fr}: views/catalogues_web.cpp)
//   {answer: CODE}      the answer to a wait (a key's code, or 0)
//   {readout: [X, Y]}   what the picture shows at the pixel (X, Y)
// and gets back, in the order they happen:
//   {parameter: [NAME, VALUE]}   a parameter's value in this run
//   {batch: ...}                 steps of the run (see post() below)
//   {wait: KIND}                 the program waits (0 Enter, 1 a key, 2 a stage)
//   {readout: [X, Y, TEXT]}      the read-out at (X, Y)
//   {exit: STATUS, errors: TEXT} the end, with what went to standard error
//   {abort: REASON}              the runtime stopped the run
'use strict';

// Bytes gathered into one growing array.
class Bytes {
    constructor() {
        this.data = new Uint8Array(1 << 16);
        this.size = 0;
    }

    push(bytes, from = 0, length = bytes.length) {
        if (this.size + length > this.data.length) {
            let grown = this.data.length * 2;
            while (grown < this.size + length)
                grown *= 2;
            const data = new Uint8Array(grown);
            data.set(this.data.subarray(0, this.size));
            this.data = data;
        }
        // A few bytes are copied one by one, which makes no view of them.
        if (length < 64) {
            for (let i = 0; i < length; i++)
                this.data[this.size + i] = bytes[from + i];
        } else {
            this.data.set(bytes.subarray(from, from + length), this.size);
        }
        this.size += length;
    }

    // The bytes gathered, in an array of their own; the gathering starts again.
    take() {
        const bytes = this.data.slice(0, this.size);
        this.size = 0;
        return bytes;
    }
}

// The length in UTF-16 units (a page's string) of UTF-8 text: one unit a
// character, two for a character beyond U+FFFF (a lead byte from 0xF0).
function utf16Length(bytes, from, length) {
    let units = 0;
    for (let i = from; i < from + length; i++) {
        const b = bytes[i];
        if ((b & 0xC0) !== 0x80)
            units += b >= 0xF0 ? 2 : 1;
    }
    return units;
}

// Latin-1 bytes as a string: each byte is the character of the same number.
function latin1(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return text;
}

const utf8 = new TextDecoder('utf-8');
// While the program runs, the first few steps go out at once, the others
// in a batch every so many ms.
const batchInterval = 40;
// What the program printed itself, outside its views, is a step of its own
// past this many bytes (both runs of a page cut it alike).
const looseStep = 1 << 16;

let program = null, settings = null;
// The steps not yet sent: the bytes of each view, and for each step its
// kind and the length it adds to each view (all of it, also beyond what the
// page keeps, which is not sent).
const views = {classic: new Bytes(), english: new Bytes(), french: new Bytes(), json: new Bytes()};
const sent = {classic: 0, english: 0, french: 0, json: 0};
const unsent = []; // [kind code, classic, English, French, JSON lengths] per step
const pictures = []; // the stages among them: {step, shown, count, caption, pixels}
let kinds = new Map(), kindNames = [], newKinds = [], lastKind = '', lastSent = 0, batches = 0, unchecked = 0;
// What the program wrote itself, outside its views, since the last step.
const loose = new Bytes();
const errors = new Bytes();
let picture = null; // the picture shown last, until its stage comes
let stage = null; // that stage, until a step reports it
let resume = null;

function kindCode(kind) {
    let code = kinds.get(kind);
    if (code === undefined) {
        code = kinds.size;
        kinds.set(kind, code);
        kindNames.push(kind);
        newKinds.push(kind);
    }
    return code;
}

// The code of a step's kind from the addresses of its two names (string
// literals of the program), found without making a string each time.
const kindsAt = new Map();
function kindCodeAt(kind, what) {
    let byKind = kindsAt.get(what);
    if (!byKind)
        kindsAt.set(what, byKind = new Map());
    let code = byKind.get(kind);
    if (code === undefined) {
        const name = program.UTF8ToString(what);
        code = kindCode(name ? program.UTF8ToString(kind) + ' ' + name : program.UTF8ToString(kind));
        byKind.set(kind, code);
    }
    return code;
}

// Part of a view's text for the step: kept up to what the page keeps, cut
// between two characters.
function keep(view, heap, from, length) {
    let room = Math.max(0, Math.min(length, settings.kept[view] - sent[view]));
    while (room < length && room > 0 && (heap[from + room] & 0xC0) === 0x80)
        room--;
    if (room)
        views[view].push(heap, from, room);
    sent[view] += room;
}

// A step, from the program's memory (where its texts lie) or from nothing;
// its kind by name or by code.
function addStep(kind, heap, classic, classicSize, english, englishSize, french, frenchSize, json, jsonSize,
                 withLoose = true) {
    const code = typeof kind === 'number' ? kind : kindCode(kind);
    kind = typeof kind === 'number' ? kindNames[kind] : kind;
    // The stage shown last is the picture of the step that reports it.
    if (stage && kind.startsWith('stage')) {
        stage.step = unsent.length / 5;
        pictures.push(stage);
        stage = null;
    }
    // What the program wrote itself since the last step opens this one.
    const looseSize = withLoose ? loose.size : 0;
    if (looseSize) {
        const bytes = loose.take();
        keep('classic', bytes, 0, looseSize);
    }
    keep('classic', heap, classic, classicSize);
    keep('english', heap, english, englishSize);
    keep('french', heap, french, frenchSize);
    keep('json', heap, json, jsonSize);
    unsent.push(code, looseSize + classicSize, englishSize && utf16Length(heap, english, englishSize),
                frenchSize && utf16Length(heap, french, frenchSize), jsonSize && utf16Length(heap, json, jsonSize));
    lastKind = kind;
}

const none = new Uint8Array(0);
const emptyStep = (kind, withLoose) => addStep(kind, none, 0, 0, 0, 0, 0, 0, 0, 0, withLoose);

// Output that no step claimed (a program that prints itself) is a step of
// its own where the run waits or ends, and so is a stage that no step
// reported.
function claimLoose() {
    if (stage)
        emptyStep('stage');
    if (loose.size)
        emptyStep('text');
}

// Sends the steps gathered: their kinds (with the names of kinds new to the
// page), the Latin-1 trace as bytes (for saving) and as text, the texts of
// the other views, and the stages' pictures.
function post() {
    lastSent = performance.now();
    if (!unsent.length)
        return;
    batches++;
    const bytes = views.classic.take();
    const batch = {
        kinds: newKinds, steps: Int32Array.from(unsent), classicBytes: bytes, classic: latin1(bytes),
        english: utf8.decode(views.english.take()), french: utf8.decode(views.french.take()),
        json: utf8.decode(views.json.take()), pictures: pictures.splice(0),
    };
    newKinds = [];
    unsent.length = 0;
    postMessage({batch}, [bytes.buffer].concat(batch.pictures.map((p) => p.pixels.buffer)));
}

// A batch holds at most this many steps, so that the page takes each one
// in a short task.
const batchSteps = 16384;

function postSoon() {
    if (batches < 3 || unsent.length >= 5 * batchSteps)
        return post();
    // The clock is read every 64 calls only: reading it costs as much as a
    // step.
    if (++unchecked < 64)
        return;
    unchecked = 0;
    if (performance.now() - lastSent >= batchInterval)
        post();
}

const handlers = {
    load(name) {
        self.programName = name;
        importScripts(name + '.js');
    },

    start(given) {
        settings = given;
        // The program's clock is the page's.
        const offset = given.now - Date.now();
        const clock = Date.now;
        Date.now = () => clock() + offset;
        program = {
            arguments: given.args,
            thisProgram: self.programName,
            suiteViews: given.views,
            suiteCatalogues: given.catalogues && {
                en: given.catalogues.en && new Uint8Array(given.catalogues.en),
                fr: given.catalogues.fr && new Uint8Array(given.catalogues.fr),
            },
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(given.module, imports).then((instance) => receive(instance, given.module))
                    .catch((e) => postMessage({abort: 'cannot start the program: ' + e}));
                return {};
            },
            suiteWrite(fd, bytes) {
                if (fd === 1) {
                    loose.push(bytes);
                    if (loose.size >= looseStep)
                        emptyStep('text');
                    postSoon();
                } else {
                    errors.push(bytes);
                }
            },
            suiteStep(kind, what, classic, classicSize, english, englishSize, french, frenchSize, json, jsonSize) {
                addStep(kindCodeAt(kind, what), program.HEAPU8, classic, classicSize, english, englishSize, french,
                        frenchSize, json, jsonSize);
                postSoon();
            },
            suiteParameter(name, value) {
                if (!given.unattended)
                    postMessage({parameter: [name, value]});
            },
            suiteWait(kind) {
                claimLoose();
                // A pause is a step; a stage that waits is its own step.
                if (!lastKind.startsWith('pause') && !lastKind.startsWith('stage'))
                    emptyStep(['pause enter', 'pause key', 'pause stage'][kind] || 'pause');
                post();
                // An unattended run goes on at once, as after Enter.
                if (given.unattended)
                    return Promise.resolve(kind === 0 ? 10 : 0);
                postMessage({wait: kind});
                return new Promise((answer) => { resume = answer; });
            },
            suiteShowPicture(pixels) {
                picture = given.unattended ? new Uint8Array(0) : pixels.slice();
            },
            suiteShowStage(shown, count, caption) {
                // A stage shown after one that no step reported: that one
                // is a step of its own (what was printed since is this one's).
                if (stage)
                    emptyStep('stage', false);
                stage = {shown, count, caption, pixels: picture};
                picture = null;
            },
            // The program's main returned (the program then stays, for its
            // read-outs), or it called exit().
            suiteEnd(status) {
                claimLoose();
                post();
                postMessage({exit: status, errors: utf8.decode(errors.take())});
                return new Promise(() => {});
            },
            onExit(status) {
                this.suiteEnd(status);
            },
            onAbort(what) {
                post();
                postMessage({abort: String(what)});
            },
        };
        createProgram(program);
    },

    answer(code) {
        if (resume) {
            const answer = resume;
            resume = null;
            answer(code);
        }
    },

    readout([x, y]) {
        const text = program && program._page_readout ? program.UTF8ToString(program._page_readout(x, y)) : '';
        postMessage({readout: [x, y, text]});
    },
};

onmessage = (e) => {
    for (const [what, value] of Object.entries(e.data))
        handlers[what](value);
};

// The runtime ends a run that paused by throwing its exit status out of the
// resumed program; that is no error.
self.addEventListener('unhandledrejection', (e) => {
    if (e.reason && e.reason.name === 'ExitStatus')
        e.preventDefault();
});
