// One run of a program of the suite, in a worker of its page, so that the
// page answers its reader however long the run takes; the page stops a run
// by ending its worker. The page sends, in order:
//   {load: NAME}                 the program's glue, NAME.js, loaded at once
//   {start: {module, args, now}} the run: the compiled NAME.wasm, the
//                                arguments, and the page's clock (ms)
//   {answer: CODE}               the answer to a wait (a key's code, or 0)
//   {readout: [X, Y]}            what the picture shows at the pixel (X, Y)
// and gets back, in the order they happen:
//   {parameter: [NAME, VALUE]}   a parameter's value in this run
//   {batch: ...}                 steps of the run (see post() below)
//   {wait: KIND}                 the program waits (0 Enter, 1 a key, 2 a stage)
//   {readout: TEXT}              the answer to a readout
//   {exit: STATUS, errors: TEXT} the end, with what went to standard error
//   {abort: REASON}              the runtime stopped the run
'use strict';

// Bytes gathered into one growing array.
class Bytes {
    constructor() {
        this.data = new Uint8Array(1 << 16);
        this.size = 0;
    }

    push(bytes) {
        if (this.size + bytes.length > this.data.length) {
            let length = this.data.length * 2;
            while (length < this.size + bytes.length)
                length *= 2;
            const data = new Uint8Array(length);
            data.set(this.data.subarray(0, this.size));
            this.data = data;
        }
        this.data.set(bytes, this.size);
        this.size += bytes.length;
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
function utf16Length(bytes) {
    let length = 0;
    for (let i = 0; i < bytes.length; i++) {
        const b = bytes[i];
        if ((b & 0xC0) !== 0x80)
            length += b >= 0xF0 ? 2 : 1;
    }
    return length;
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

let program = null;
// The steps not yet sent: the bytes of each view, and for each step its
// kind and the length it adds to each view.
const classic = new Bytes(), english = new Bytes(), french = new Bytes(), json = new Bytes();
const unsent = []; // [kind code, classic, English, French, JSON lengths] per step
const pictures = []; // the stages among them: {step, shown, count, caption, pixels}
let kinds = new Map(), newKinds = [];
let lastKind = '', lastSent = 0, batches = 0;
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
        newKinds.push(kind);
    }
    return code;
}

function addStep(kind, classicBytes, englishBytes, frenchBytes, jsonBytes, withLoose = true) {
    // The stage shown last is the picture of the step that reports it.
    if (stage && kind.startsWith('stage')) {
        stage.step = unsent.length / 5;
        pictures.push(stage);
        stage = null;
    }
    // What the program wrote itself since the last step opens this one.
    const looseSize = withLoose ? loose.size : 0;
    if (looseSize)
        classic.push(loose.take());
    classic.push(classicBytes);
    english.push(englishBytes);
    french.push(frenchBytes);
    json.push(jsonBytes);
    unsent.push(kindCode(kind), looseSize + classicBytes.length, utf16Length(englishBytes),
                utf16Length(frenchBytes), utf16Length(jsonBytes));
    lastKind = kind;
}

const none = new Uint8Array(0);

// Output that no step claimed (a program that prints itself) is a step of
// its own where the run waits or ends, and so is a stage that no step
// reported.
function claimLoose() {
    if (stage)
        addStep('stage', none, none, none, none);
    if (loose.size)
        addStep('text', none, none, none, none);
}

// Sends the steps gathered: their kinds (with the names of kinds new to the
// page), the Latin-1 trace as bytes (for saving) and as text, the texts of
// the other views, and the stages' pictures.
function post() {
    lastSent = performance.now();
    batches++;
    if (!unsent.length)
        return;
    const bytes = classic.take();
    const batch = {
        kinds: newKinds, steps: Int32Array.from(unsent), classicBytes: bytes, classic: latin1(bytes),
        english: utf8.decode(english.take()), french: utf8.decode(french.take()), json: utf8.decode(json.take()),
        pictures: pictures.splice(0),
    };
    newKinds = [];
    unsent.length = 0;
    postMessage({batch}, [bytes.buffer].concat(batch.pictures.map((p) => p.pixels.buffer)));
}

// While the program runs, a batch goes out now and then; what the program
// printed itself meanwhile goes with it, as a step, once there is a fair
// amount (a line or two, such as a stage's caption, belongs to the step
// that comes next).
function postSoon() {
    if (performance.now() - lastSent >= batchInterval || batches < 3) {
        if (loose.size >= 4096)
            addStep('text', none, none, none, none);
        post();
    }
}

const handlers = {
    load(name) {
        importScripts(name + '.js');
    },

    start({module, args, now}) {
        // The program's clock is the page's.
        const offset = now - Date.now();
        const clock = Date.now;
        Date.now = () => clock() + offset;
        createProgram({
            arguments: args,
            thisProgram: self.programName,
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module))
                    .catch((e) => postMessage({abort: 'cannot start the program: ' + e}));
                return {};
            },
            onRuntimeInitialized() {
                program = this;
            },
            suiteWrite(fd, bytes) {
                if (fd === 1) {
                    loose.push(bytes);
                    postSoon();
                } else {
                    errors.push(bytes);
                }
            },
            suiteStep(kind, what, classicBytes, englishBytes, frenchBytes, jsonBytes) {
                addStep(what ? kind + ' ' + what : kind, classicBytes, englishBytes, frenchBytes, jsonBytes);
                postSoon();
            },
            suiteParameter(name, value) {
                postMessage({parameter: [name, value]});
            },
            suiteWait(kind) {
                claimLoose();
                // A pause is a step; a stage that waits is its own step.
                if (!lastKind.startsWith('pause') && !lastKind.startsWith('stage'))
                    addStep(['pause enter', 'pause key', 'pause stage'][kind] || 'pause', none, none, none, none);
                post();
                postMessage({wait: kind});
                return new Promise((answer) => { resume = answer; });
            },
            suiteShowPicture(pixels) {
                picture = pixels.slice();
            },
            suiteShowStage(shown, count, caption) {
                // A stage shown after one that no step reported: that one
                // is a step of its own (what was printed since is this one's).
                if (stage)
                    addStep('stage', none, none, none, none, false);
                stage = {shown, count, caption, pixels: picture};
                picture = null;
            },
            onExit(status) {
                claimLoose();
                post();
                postMessage({exit: status, errors: utf8.decode(errors.take())});
            },
            onAbort(what) {
                post();
                postMessage({abort: String(what)});
            },
        });
    },

    answer(code) {
        if (resume) {
            const answer = resume;
            resume = null;
            answer(code);
        }
    },

    readout([x, y]) {
        let text = '';
        if (program && program._page_readout)
            text = program.UTF8ToString(program._page_readout(x, y));
        postMessage({readout: text});
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
